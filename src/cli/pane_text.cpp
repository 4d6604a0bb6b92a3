#include "cli/pane_text.h"

#include "browser/rtf_content.h"

#include <QStringList>

namespace vantor::cli {

QString paneText(QStringView rtf) {
    QStringList lines;
    for (const RtfParagraph& paragraph : parseRtf(rtf).paragraphs) {
        QString line;
        for (const RtfRun& run : paragraph.runs)
            if (!run.format.hidden)
                line += run.text;
        while (!line.isEmpty() && line.back().isSpace())
            line.chop(1);
        lines.append(line);
    }
    while (!lines.isEmpty() && lines.back().isEmpty())
        lines.removeLast();
    return lines.join(u'\n') + (lines.isEmpty() ? QString() : QStringLiteral("\n"));
}

} // namespace vantor::cli
