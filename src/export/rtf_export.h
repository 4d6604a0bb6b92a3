#pragma once

#include "export/doc_head.h"
#include "export/doc_lines.h"

namespace vantor {

// The groups an RTF text leaves open: "{" less "}", escaped braces not counted.
int openRtfGroups(QStringView rtf);

// The RTF document: the pane's document prefix, the head, each line followed by CR LF, and the
// closing braces of the groups the prefix opened.
QString rtfDocument(const QString& prefix, const DocHead& head, const DocLines& lines);

} // namespace vantor
