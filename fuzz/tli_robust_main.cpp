// robust-tli: every truncation and corruption the robustness check deals, over every library
// of the oracle index, built with the sanitizers by fuzz/run.sh. Exits non-zero when an error
// does not say clearly what is wrong; a crash or sanitizer report aborts it.

#include "robustness.h"
#include "tli_test_support.h"

#include <cstdio>

using namespace vantor::tli::testing;

int main() {
    const QList<IndexRow> rows = readIndex();
    if (rows.isEmpty()) {
        std::fprintf(stderr, "robust-tli: no oracle index under %s\n", qPrintable(kOracleDir));
        return 1;
    }
    // Wine's libraries (MSFT) and the two built on Windows (SLTG).
    QStringList paths;
    for (const IndexRow& row : rows)
        paths << row.path();
    for (const char* file : {"olepro32.dll", "XL5EN32.OLB"})
        paths << QStringLiteral(VANTOR_TESTDATA_DIR "/windows-built/") + QLatin1String(file);
    int status = 0, attempts = 0;
    for (const QString& path : paths) {
        ShakeOptions options;
        options.seed = quint32(qHash(path));
        const ShakeReport r = shakeLibrary(path, options, &indexLibraries());
        attempts += r.attempts;
        std::printf("%-24s %5d reads: %5d models, %5d errors\n", qPrintable(path.section(u'/', -1)),
                    r.attempts, r.models, r.errors);
        for (const QString& e : r.unclearErrors) {
            std::printf("  unclear error: %s\n", qPrintable(e));
            status = 1;
        }
        std::fflush(stdout);
    }
    std::printf("%d damaged reads of %d libraries\n", attempts, int(paths.size()));
    return status;
}
