#pragma once

#include "platform/registry/hive.h"
#include "platform/registry/parse_issue.h"

#include <QByteArrayView>
#include <QString>

namespace vantor::registry {

// Reads a Wine registry file ("WINE REGISTRY Version 2") into `hive` below `base`. A malformed
// line is skipped and added to `issues`; text that is not such a file at all raises
// vantor::Error and adds nothing.
void readWineHive(QByteArrayView text, const QString& fileName, Hive& hive, Key* base,
                  ParseIssues& issues);

// The same for a file; a file that cannot be read raises vantor::Error (53).
void readWineHiveFile(const QString& path, Hive& hive, Key* base, ParseIssues& issues);

} // namespace vantor::registry
