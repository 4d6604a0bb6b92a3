// robust-pe: the full damage run of the PE resource reader over real files (64 truncations and
// 2,000 corruptions a file), built with the sanitizers by fuzz/run.sh. Exits non-zero when an
// error does not name the file; a crash or sanitizer report aborts it.

#include "pe_damage.h"

#include <cstdio>

using namespace vantor::pe::testing;

int main() {
    int status = 0, reads = 0;
    const QStringList files = damageSample();
    for (const QString& path : files) {
        const DamageReport r = damageFile(path, 64, 2000, quint32(qHash(path)));
        reads += r.reads;
        std::printf("%-70s %5d reads, %5d errors\n", qPrintable(path), r.reads, r.errors);
        for (const QString& e : r.unclearErrors) {
            std::printf("  unclear error: %s\n", qPrintable(e));
            status = 1;
        }
        std::fflush(stdout);
    }
    std::printf("%d damaged reads of %d files\n", reads, int(files.size()));
    return status;
}
