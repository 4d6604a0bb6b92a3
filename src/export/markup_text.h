#pragma once

#include <QString>
#include <QStringView>

namespace vantor {

// Library text inside HTML or XML: "&", "<", ">" and quotes as references; characters neither
// format may hold (controls but tab and line ends, lone surrogates, non-characters) as U+FFFD.
// In an attribute, tab and line ends become references too, so that they survive reading.
QString markupText(QStringView text, bool attribute = false);
// The same, appended to a document being written.
void appendMarkupText(QString& out, QStringView text, bool attribute = false);

} // namespace vantor
