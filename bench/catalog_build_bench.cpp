// The catalog builders over a full machine's classes: EnumTL and EnumPID on a generated hive.
#include "catalog/catalog_frame.h"
#include "catalog/registry_catalog_builders.h"
#include "catalog/tli_library_services.h"
#include "hive_generator.h"
#include "platform/registry/store.h"
#include "platform/registry/test_prefix.h"
#include "platform/winpath/win_path.h"
#include "tli/tli_application.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>

using namespace vantor;
using Clock = std::chrono::steady_clock;

namespace {

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

double ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

} // namespace

int main() {
    const QByteArray templ = readAll(QStringLiteral(VANTOR_TESTDATA_DIR "/wine-prefix/system.reg"));
    if (templ.isEmpty()) {
        std::fprintf(stderr, "cannot read the prefix hive\n");
        return 1;
    }
    QTemporaryDir dir;
    const QString prefix = dir.filePath(QStringLiteral("prefix"));
    const QString program = dir.filePath(QStringLiteral("program"));
    QDir().mkpath(prefix);
    QDir().mkpath(program);
    if (!writeAll(prefix + QStringLiteral("/system.reg"), bench::generateClassesHive(templ).text) ||
        !writeAll(prefix + QStringLiteral("/user.reg"), "WINE REGISTRY Version 2\n")) {
        std::fprintf(stderr, "cannot write the generated hive\n");
        return 1;
    }
    registry::Store store(registry::Machine{registry::Machine::Kind::Prefix, prefix, {}}, program);
    RegistryCatalogBuilders builders(store, program, nullptr, nullptr);
    CatalogFrame frame;

    double tl = 1e9;
    double pid = 1e9;
    QByteArray firstTypes;
    QByteArray firstPids;
    for (int run = 0; run < 3; ++run) {
        auto start = Clock::now();
        builders.EnumTL(frame);
        tl = std::min(tl, ms(Clock::now() - start));
        start = Clock::now();
        builders.EnumPID(frame);
        pid = std::min(pid, ms(Clock::now() - start));
        const QByteArray types = readAll(program + QStringLiteral("/dbTypes.dat"));
        const QByteArray pids = readAll(program + QStringLiteral("/dbPID.dat"));
        if (run == 0) {
            firstTypes = types;
            firstPids = pids;
        } else if (types != firstTypes || pids != firstPids) {
            std::fprintf(stderr, "the catalogs differ between two runs\n");
            return 1;
        }
    }
    std::printf("FIGURE catalog_typelib_records %lld records\n",
                (long long)firstTypes.count("\r\n") - 1);
    std::printf("FIGURE catalog_progid_records %lld records\n",
                (long long)firstPids.count("\r\n") - 1);
    std::printf("FIGURE enumtl_ms %.1f ms\n", tl);
    std::printf("FIGURE enumpid_ms %.1f ms\n", pid);

    // "Define Libname on Refresh" opens every registered library: over the real prefix, whose
    // libraries are Wine's own binaries.
    registry::test::TestPrefix real;
    if (!real.valid()) {
        std::fprintf(stderr, "cannot make the test prefix\n");
        return 1;
    }
    registry::Store realStore(registry::Machine{registry::Machine::Kind::Prefix, real.prefix(), {}},
                              real.programFolder());
    const winpath::PrefixPaths paths(real.prefix(), realStore.systemRoot());
    const tli::TLIApplication app(&realStore, &paths);
    TliLibraryServices services(app);
    RegistryCatalogBuilders named(realStore, real.programFolder(), &services, &paths);
    named.setDefineLibNameOnRefresh(true);
    const auto start = Clock::now();
    named.EnumTL(frame);
    named.EnumPID(frame);
    const double libname = ms(Clock::now() - start);
    const QByteArray types = readAll(real.programFolder() + QStringLiteral("/dbTypes.dat"));
    std::printf("FIGURE libname_records %lld records\n", (long long)types.count("\r\n") - 1);
    std::printf("FIGURE libname_refresh_ms %.1f ms\n", libname);
    return 0;
}
