#pragma once

#include <QString>
#include <vector>

namespace vantor::registry {

// A line a reader skipped: where it was and why.
struct ParseIssue {
    QString file;
    int line = 0;
    QString reason;
};

using ParseIssues = std::vector<ParseIssue>;

} // namespace vantor::registry
