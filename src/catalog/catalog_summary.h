#pragma once

#include <QString>

namespace vantor {

// The rich-text header of the start-up catalog summary.
QString summaryRtfHeader();

// The pane text after a direct load and after a rebuild; the counts are the line readers' counts.
QString directLoadSummary(qint32 typeLibCount, qint32 progIdCount);
QString rebuildSummary(qint32 typeLibCount, qint32 progIdCount);

} // namespace vantor
