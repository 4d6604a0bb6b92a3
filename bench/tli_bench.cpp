// bench-tli: reads every library of the oracle index into the full model, and mshtml.tlb (the
// largest) on its own, then has the type services (Wine's oleaut32, through the oracle's
// tlbdump.exe under wine) load and walk mshtml.tlb in the same run for comparison.

#include "text/error.h"
#include "tli/library_set.h"
#include "tli/type_lib_file.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <algorithm>
#include <cstdio>

using namespace vantor;
using namespace vantor::tli;

namespace {

const QString kWineDir = QStringLiteral("/usr/lib/x86_64-linux-gnu/wine/x86_64-windows");
const QString kShared = QStringLiteral(VANTOR_SHARED_DIR);

// Fastest of `reps` full reads, in milliseconds.
double minParseMs(const QString& path, LibraryResolver& resolver, int reps) {
    double best = 1e300;
    for (int r = 0; r < reps; ++r) {
        QElapsedTimer t;
        t.start();
        const auto lib = loadTypeLib(path, &resolver);
        best = std::min(best, double(t.nsecsElapsed()) / 1e6);
        if (lib->typeInfos().empty())
            std::printf("(empty library %s)\n", qPrintable(path));
    }
    return best;
}

// The type services' minimum for loading and walking the library, in ms; negative when the
// peer could not run.
double peerMs(const QString& path, int reps) {
    const QString wine = QStandardPaths::findExecutable(QStringLiteral("wine"));
    const QString exe = kShared + QStringLiteral("/tools/typelib-oracle/tlbdump.exe");
    if (wine.isEmpty() || !QFile::exists(exe))
        return -1;
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    // The machine cannot download Wine's Mono and Gecko.
    env.insert(QStringLiteral("WINEDLLOVERRIDES"), QStringLiteral("mscoree,mshtml="));
    env.insert(QStringLiteral("WINEDEBUG"), QStringLiteral("-all"));
    p.setProcessEnvironment(env);
    QString winPath = QStringLiteral("Z:") + path;
    winPath.replace(u'/', u'\\');
    p.start(wine, {exe, QStringLiteral("time"), winPath, QString::number(reps)});
    if (!p.waitForFinished(600000) || p.exitCode() != 0) {
        p.kill();
        p.waitForFinished();
        return -1;
    }
    const QString out = QString::fromLocal8Bit(p.readAllStandardOutput());
    std::printf("peer: %s", qPrintable(out));
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("min_us=([0-9.]+)")).match(out);
    return m.hasMatch() ? m.captured(1).toDouble() / 1000 : -1;
}

} // namespace

int main() {
    QStringList paths =
        LibrarySet::pathsFromIndex(kShared + QStringLiteral("/oracle/INDEX.tsv"), kWineDir);
    if (paths.isEmpty()) {
        std::fprintf(stderr, "bench-tli: no oracle index under %s\n", qPrintable(kShared));
        return 1;
    }
    // Imported libraries are read once and kept, as a running browser keeps them.
    LibrarySet resolver(paths, kWineDir);
    try {
        double total = 0;
        for (const QString& path : paths) {
            const double ms = minParseMs(path, resolver, 5);
            total += ms;
            std::printf("%-28s %8.3f ms\n", qPrintable(QDir(path).dirName()), ms);
        }
        const QString mshtml = kWineDir + QStringLiteral("/mshtml.tlb");
        const double ours = minParseMs(mshtml, resolver, 30);
        std::printf("FIGURE mshtml_parse_ms %.3f ms\n", ours);
        std::printf("FIGURE all_libs_parse_ms %.3f ms\n", total);
        const double peer = peerMs(mshtml, 20);
        if (peer > 0) {
            std::printf("FIGURE peer_mshtml_ms %.3f ms\n", peer);
            std::printf("FIGURE mshtml_speedup %.1f x\n", peer / ours);
        } else {
            std::printf("peer: wine or tlbdump.exe did not run; no comparison\n");
        }
    } catch (const Error& e) {
        std::fprintf(stderr, "bench-tli: %s\n", qPrintable(e.description()));
        return 1;
    }
    return 0;
}
