#include "export/markup_text.h"

namespace vantor {

namespace {

bool forbidden(char16_t c) {
    if (c == u'\t' || c == u'\n' || c == u'\r')
        return false;
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || (c >= 0xFDD0 && c <= 0xFDEF) || c == 0xFFFE ||
           c == 0xFFFF;
}

} // namespace

QString markupText(QStringView text, bool attribute) {
    QString out;
    out.reserve(text.size() + 16);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            out += text[i];
            out += text[++i];
            continue;
        }
        if (QChar::isSurrogate(c) || forbidden(c)) {
            out += QChar(0xFFFD);
            continue;
        }
        switch (c) {
        case u'&':
            out += QStringLiteral("&amp;");
            break;
        case u'<':
            out += QStringLiteral("&lt;");
            break;
        case u'>':
            out += QStringLiteral("&gt;");
            break;
        case u'"':
            out += QStringLiteral("&quot;");
            break;
        case u'\'':
            out += QStringLiteral("&#39;");
            break;
        case u'\t':
        case u'\n':
        case u'\r':
            if (attribute)
                out += QStringLiteral("&#") + QString::number(int(c)) + u';';
            else
                out += QChar(c);
            break;
        default:
            out += QChar(c);
        }
    }
    return out;
}

} // namespace vantor
