#include "export/markup_text.h"

namespace vantor {

namespace {

bool forbidden(char16_t c) {
    if (c == u'\t' || c == u'\n' || c == u'\r')
        return false;
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || (c >= 0xFDD0 && c <= 0xFDEF) || c == 0xFFFE ||
           c == 0xFFFF;
}

// Whether a character is written as it is: most library text is, so it is copied in spans.
bool plain(char16_t c) {
    return c >= 0x20 && c < 0x7F && c != u'&' && c != u'<' && c != u'>' && c != u'"' && c != u'\'';
}

} // namespace

void appendMarkupText(QString& out, QStringView text, bool attribute) {
    qsizetype span = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (plain(c))
            continue;
        out.append(text.sliced(span, i - span));
        span = i + 1;
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            out += text[i];
            out += text[++i];
            span = i + 1;
            continue;
        }
        if (QChar::isSurrogate(c) || forbidden(c)) {
            out += QChar(0xFFFD);
            continue;
        }
        switch (c) {
        case u'&':
            out += QLatin1String("&amp;");
            break;
        case u'<':
            out += QLatin1String("&lt;");
            break;
        case u'>':
            out += QLatin1String("&gt;");
            break;
        case u'"':
            out += QLatin1String("&quot;");
            break;
        case u'\'':
            out += QLatin1String("&#39;");
            break;
        case u'\t':
        case u'\n':
        case u'\r':
            if (attribute)
                out += QLatin1String("&#") + QString::number(int(c)) + u';';
            else
                out += QChar(c);
            break;
        default:
            out += QChar(c);
        }
    }
    out.append(text.sliced(span));
}

QString markupText(QStringView text, bool attribute) {
    QString out;
    out.reserve(text.size() + 16);
    appendMarkupText(out, text, attribute);
    return out;
}

} // namespace vantor
