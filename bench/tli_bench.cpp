// bench-tli [--peer PROGRAM]: reads every library of the oracle index into the full model, and
// mshtml.tlb (the largest) on its own. Then the component as the browser uses it, over a Wine
// prefix's registry: open mshtml.tlb and fill its type list, and fill the member list of its
// largest interface. With --peer, the type services (Wine's oleaut32, through the oracle's
// dumper PROGRAM, a Windows program run under wine) load and walk mshtml.tlb in the same run for
// comparison.

#include "platform/registry/store.h"
#include "platform/winpath/win_path.h"
#include "text/error.h"
#include "tli/library_set.h"
#include "tli/tli_application.h"
#include "tli/type_lib_file.h"
#include "tli/type_lib_info.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstring>

using namespace vantor;
using namespace vantor::tli;

namespace {

const QString kWineDir = QStringLiteral("/usr/lib/x86_64-linux-gnu/wine/x86_64-windows");
const QString kTestData = QStringLiteral(VANTOR_TESTDATA_DIR);

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

// The type services' minimum for loading and walking the library through the dumper `exe`, in
// ms; negative when the peer could not run.
double peerMs(const QString& exe, const QString& path, int reps) {
    const QString wine = QStandardPaths::findExecutable(QStringLiteral("wine"));
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

// A Wine prefix over the test hives whose system32 is Wine's binaries folder.
bool makePrefix(const QString& dir) {
    const QString hives = kTestData + QStringLiteral("/wine-prefix/");
    bool ok = QDir(dir).mkpath(QStringLiteral("dosdevices")) &&
              QDir(dir).mkpath(QStringLiteral("drive_c/windows"));
    for (const char* name : {"system.reg", "user.reg", "userdef.reg"})
        ok = ok && QFile::copy(hives + QLatin1String(name), dir + u'/' + QLatin1String(name));
    return ok &&
           QFile::link(QStringLiteral("../drive_c"), dir + QStringLiteral("/dosdevices/c:")) &&
           QFile::link(kWineDir, dir + QStringLiteral("/drive_c/windows/system32"));
}

double msSince(const QElapsedTimer& t) {
    return double(t.nsecsElapsed()) / 1e6;
}

// The browser's figures: opening mshtml.tlb with its type list (stdole2, which it imports,
// already open in the session as in a running browser), and the member list of its largest
// interface.
void componentFigures() {
    QTemporaryDir dir;
    const QString prefix = dir.path() + QStringLiteral("/prefix");
    const QString program = dir.path() + QStringLiteral("/program");
    if (!dir.isValid() || !makePrefix(prefix) || !QDir().mkpath(program)) {
        std::printf("component: no test prefix; no figures\n");
        return;
    }
    registry::Store store(registry::Machine{registry::Machine::Kind::Prefix, prefix, {}}, program);
    const winpath::PrefixPaths paths(prefix, store.systemRoot());
    const QString mshtml = QStringLiteral("C:\\windows\\system32\\mshtml.tlb");
    double openList = 1e300;
    qsizetype rows = 0;
    for (int r = 0; r < 20; ++r) {
        const TLIApplication app(&store, &paths);
        app.typeLibInfoFromFile(QStringLiteral("C:\\windows\\system32\\stdole2.tlb"));
        QElapsedTimer t;
        t.start();
        TypeLibInfo lib(app);
        lib.setContainingFile(mshtml);
        rows = lib.typeInfoRows().size();
        openList = std::min(openList, msSince(t));
    }
    const TLIApplication app(&store, &paths);
    TypeLibInfo lib(app);
    lib.setContainingFile(mshtml);
    ListRow largest;
    qsizetype most = -1;
    for (const ListRow& row : lib.typeInfoRows()) {
        if (isGlobalsSearchData(row.itemData) ||
            (lib.typeInfoOfSearchData(row.itemData).kind() != tli::TypeKind::Interface &&
             lib.typeInfoOfSearchData(row.itemData).kind() != tli::TypeKind::Dispatch))
            continue;
        const qsizetype n = lib.memberRows(row.itemData).size();
        if (n > most) {
            most = n;
            largest = row;
        }
    }
    double members = 1e300;
    for (int r = 0; r < 50; ++r) {
        QElapsedTimer t;
        t.start();
        most = lib.memberRows(largest.itemData).size();
        members = std::min(members, msSince(t));
    }
    std::printf("component: %lld type rows; largest %s with %lld member rows\n", qlonglong(rows),
                qPrintable(largest.text), qlonglong(most));
    std::printf("FIGURE mshtml_open_list_ms %.3f ms\n", openList);
    std::printf("FIGURE largest_members_ms %.3f ms\n", members);
}

} // namespace

int main(int argc, char** argv) {
    QString peer;
    if (argc == 3 && std::strcmp(argv[1], "--peer") == 0) {
        peer = QString::fromLocal8Bit(argv[2]);
    } else if (argc != 1) {
        std::fprintf(stderr, "usage: bench-tli [--peer PROGRAM]\n");
        return 2;
    }
    QStringList paths =
        LibrarySet::pathsFromIndex(kTestData + QStringLiteral("/oracle/INDEX.tsv"), kWineDir);
    if (paths.isEmpty()) {
        std::fprintf(stderr, "bench-tli: no oracle index under %s\n", qPrintable(kTestData));
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
        componentFigures();
        if (peer.isEmpty())
            return 0;
        const double peerMin = peerMs(peer, mshtml, 20);
        if (peerMin <= 0) {
            std::fprintf(stderr, "bench-tli: the peer %s did not run under wine\n",
                         qPrintable(peer));
            return 1;
        }
        std::printf("FIGURE peer_mshtml_ms %.3f ms\n", peerMin);
        std::printf("FIGURE mshtml_speedup %.1f x\n", peerMin / ours);
    } catch (const Error& e) {
        std::fprintf(stderr, "bench-tli: %s\n", qPrintable(e.description()));
        return 1;
    }
    return 0;
}
