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
    int status = 0, attempts = 0;
    for (const IndexRow& row : rows) {
        ShakeOptions options;
        options.seed = quint32(qHash(row.path()));
        const ShakeReport r = shakeLibrary(row.path(), options, &indexLibraries());
        attempts += r.attempts;
        std::printf("%-24s %5d reads: %5d models, %5d errors\n", qPrintable(row.dump), r.attempts,
                    r.models, r.errors);
        for (const QString& e : r.unclearErrors) {
            std::printf("  unclear error: %s\n", qPrintable(e));
            status = 1;
        }
        std::fflush(stdout);
    }
    std::printf("%d damaged reads of %d libraries\n", attempts, int(rows.size()));
    return status;
}
