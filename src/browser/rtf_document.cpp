#include "browser/rtf_document.h"

#include <QFont>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

namespace vantor {
namespace {

// 1440 twips per inch, 96 pixels per inch.
double twipsToPixels(int twips) {
    return twips / 15.0;
}

QTextCharFormat charFormat(const RtfContent& content, const RtfCharFormat& f) {
    QTextCharFormat out;
    out.setFontFamilies({hostFontFamily(content.fonts.value(f.font))});
    out.setFontPointSize(f.halfPoints / 2.0);
    out.setFontWeight(f.bold ? QFont::Bold : QFont::Normal);
    out.setFontItalic(f.italic);
    out.setFontUnderline(f.underline);
    const RtfColour colour = content.colour(f.colour);
    if (!colour.automatic)
        out.setForeground(QColor(colour.red, colour.green, colour.blue));
    return out;
}

} // namespace

QString hostFontFamily(const QString& rtfFontName) {
    if (rtfFontName.compare(u"Arial", Qt::CaseInsensitive) == 0 ||
        rtfFontName.compare(u"MS Sans Serif", Qt::CaseInsensitive) == 0 || rtfFontName.isEmpty())
        return QStringLiteral("Liberation Sans");
    if (rtfFontName.compare(u"Times New Roman", Qt::CaseInsensitive) == 0)
        return QStringLiteral("Liberation Serif");
    if (rtfFontName.compare(u"Courier New", Qt::CaseInsensitive) == 0)
        return QStringLiteral("Liberation Mono");
    return rtfFontName;
}

QList<RtfLink> findLinks(const QString& text) {
    QList<RtfLink> links;
    qsizetype from = 0;
    for (;;) {
        const qsizetype begin = text.indexOf(QStringLiteral("<file:"), from);
        if (begin < 0)
            break;
        const qsizetype close = text.indexOf(u'>', begin);
        if (close < 0)
            break;
        links.append({begin, close + 1, text.mid(begin + 1, close - begin - 1)});
        from = close + 1;
    }
    return links;
}

void renderRtf(QStringView rtf, QTextDocument& document) {
    const RtfContent content = parseRtf(rtf);
    document.clear();
    QTextCursor cursor(&document);
    bool first = true;
    for (const RtfParagraph& paragraph : content.paragraphs) {
        QTextBlockFormat block;
        block.setLeftMargin(twipsToPixels(paragraph.leftIndent));
        block.setRightMargin(twipsToPixels(paragraph.rightIndent));
        block.setTextIndent(twipsToPixels(paragraph.firstIndent));
        if (first)
            cursor.setBlockFormat(block);
        else
            cursor.insertBlock(block);
        first = false;

        QString all;
        for (const RtfRun& run : paragraph.runs)
            all += run.text;
        const QList<RtfLink> links = findLinks(all);

        qsizetype offset = 0;
        qsizetype link = 0;
        for (const RtfRun& run : paragraph.runs) {
            const qsizetype runEnd = offset + run.text.size();
            if (run.format.hidden) {
                offset = runEnd;
                continue;
            }
            const QTextCharFormat base = charFormat(content, run.format);
            // Cut the run where links begin and end, so each piece is inside one or none.
            while (offset < runEnd) {
                while (link < links.size() && links[link].end <= offset)
                    ++link;
                qsizetype pieceEnd = runEnd;
                QTextCharFormat format = base;
                if (link < links.size() && links[link].begin <= offset) {
                    pieceEnd = std::min(runEnd, links[link].end);
                    format.setAnchor(true);
                    format.setAnchorHref(links[link].target);
                } else if (link < links.size()) {
                    pieceEnd = std::min(runEnd, links[link].begin);
                }
                cursor.insertText(all.mid(offset, pieceEnd - offset), format);
                offset = pieceEnd;
            }
        }
    }
}

} // namespace vantor
