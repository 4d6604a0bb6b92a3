// Loads a generated hive of a full Windows machine's classes and prints the parse time, the
// throughput and the peak memory growth of loading it.
#include "hive_generator.h"
#include "platform/registry/wine_hive_reader.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <cstring>

using namespace vantor;

namespace {

// A "VmRSS:" / "VmHWM:" figure of this process in kB.
long statusKb(const char* field) {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : f.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(qsizetype(std::strlen(field))).trimmed().split(' ').first().toLong();
    }
    return -1;
}

// Run in a fresh process so that nothing the generator allocated is reused: loads the file and
// prints the peak resident growth in kB.
int measureLoad(const QString& path) {
    const long before = statusKb("VmRSS:");
    registry::Hive hive;
    registry::ParseIssues issues;
    registry::readWineHiveFile(path, hive, hive.root(), issues);
    std::printf("%ld\n", statusKb("VmHWM:") - before);
    return issues.empty() ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--measure-load") == 0)
        return measureLoad(QString::fromLocal8Bit(argv[2]));

    QFile templ(QStringLiteral(VANTOR_TESTDATA_DIR "/wine-prefix/system.reg"));
    if (!templ.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(templ.fileName()));
        return 1;
    }
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("classes.reg"));
    qsizetype size = 0;
    {
        const bench::GeneratedHive hive = bench::generateClassesHive(templ.readAll());
        std::printf("FIGURE hive_key_lines %d keys\n", hive.keyLines);
        std::printf("FIGURE hive_typelib_guids %d guids\n", hive.typeLibs);
        std::printf("FIGURE hive_typelib_versions %d versions\n", hive.versions);
        std::printf("FIGURE hive_progids %d progids\n", hive.progIds);
        std::printf("FIGURE hive_size %.1f MB\n", double(hive.text.size()) / 1e6);
        QFile out(path);
        if (!out.open(QIODevice::WriteOnly) || out.write(hive.text) != hive.text.size())
            return 1;
        size = hive.text.size();
    }

    QFile in(path);
    if (!in.open(QIODevice::ReadOnly))
        return 1;
    const QByteArray text = in.readAll();
    double best = 1e9;
    std::size_t issues = 0;
    for (int run = 0; run < 5; ++run) {
        registry::Hive hive;
        registry::ParseIssues found;
        const auto start = std::chrono::steady_clock::now();
        registry::readWineHive(text, path, hive, hive.root(), found);
        const auto stop = std::chrono::steady_clock::now();
        best = std::min(best, std::chrono::duration<double, std::milli>(stop - start).count());
        issues = found.size();
    }
    std::printf("FIGURE hive_parse_issues %zu lines\n", issues);
    std::printf("FIGURE hive_parse_ms %.1f ms\n", best);
    std::printf("FIGURE hive_parse_mb_per_s %.1f MB/s\n", double(size) / 1e6 / (best / 1000));

    QProcess child;
    child.start(QString::fromLocal8Bit(argv[0]), {QStringLiteral("--measure-load"), path});
    if (!child.waitForFinished(120000) || child.exitCode() != 0)
        return 1;
    const double growthKb = child.readAllStandardOutput().trimmed().toDouble();
    std::printf("FIGURE hive_peak_mem_ratio %.2f x\n", growthKb * 1024 / double(size));
    return 0;
}
