#pragma once

#include "browser/rtf_content.h"

#include <QString>
#include <QStringView>

class QTextDocument;

namespace vantor {

// The host font that stands in for a font an RTF text names (Arial, Times New Roman and
// Courier New have metric-compatible stand-ins).
QString hostFontFamily(const QString& rtfFontName);

// The link targets of one paragraph: for each "<file: ...>" (hidden text included), the range
// of its characters and the text between the angle brackets, which is what a click reports.
struct RtfLink {
    qsizetype begin = 0; // offset of "<" in the paragraph's text
    qsizetype end = 0;   // one past ">"
    QString target;
};
QList<RtfLink> findLinks(const QString& paragraphText);

// Replaces the document's content with the rendered RTF: hidden text left out, the visible part
// of each link an anchor whose href is the link's target.
void renderRtf(QStringView rtf, QTextDocument& document);

} // namespace vantor
