#pragma once

#include <QString>

namespace vantor::tli {
class TLIApplication;
}

namespace vantor {

// Whether the component reports a fixed array's element count where its upper bound belongs.
// Decided once per run from stdole2's "GUID" record, whose fourth field has 8 elements (0 to 7):
// reported as 8, the numbers are counts. stdole2.tlb is found through the machine's registry
// (`app`, may be null), else as Wine's own copy. Throws vantor::Error when it cannot be read;
// the next call tries again.
bool boundsReportElementCounts(const tli::TLIApplication* app);

// Wine's binaries folder, where its type libraries are.
QString wineBinariesFolder();

} // namespace vantor
