#pragma once

#include "platform/registry/hive.h"
#include "platform/registry/parse_issue.h"

#include <QByteArrayView>
#include <QString>

namespace vantor::registry {

// Reads a .reg export ("REGEDIT4" in Windows-1252, or "Windows Registry Editor Version 5.00" in
// UTF-16LE with BOM) into `hive`, whose top-level keys are the root names
// ("HKEY_LOCAL_MACHINE", ...). Deletions apply to what the hive already holds, so several files
// read in turn act as one import. A malformed line is skipped and added to `issues`; text that
// is not a .reg file at all raises vantor::Error.
void readRegText(QByteArrayView bytes, const QString& fileName, Hive& hive, ParseIssues& issues);

// The same for a file; a file that cannot be read raises vantor::Error (53).
void readRegFile(const QString& path, Hive& hive, ParseIssues& issues);

} // namespace vantor::registry
