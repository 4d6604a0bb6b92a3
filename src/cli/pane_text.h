#pragma once

#include <QString>
#include <QStringView>

namespace vantor::cli {

// What the pane shows of an RTF text, as plain text: hidden text (the links' targets) left
// out, one line per paragraph without trailing blanks, blank lines at the end dropped.
QString paneText(QStringView rtf);

} // namespace vantor::cli
