#include "text/string_helpers.h"

#include "text/text_order.h"

namespace vantor {

QStringList Split(const QString& text, QStringView delimiter) {
    if (text.isEmpty())
        return {};
    if (delimiter.isEmpty())
        return {text};
    return text.split(delimiter.toString(), Qt::KeepEmptyParts, Qt::CaseSensitive);
}

QString ReplaceAll(const QString& text, QStringView find, QStringView replacement) {
    if (find.isEmpty())
        return text;
    qsizetype hit = indexOfText(text, find);
    if (hit < 0)
        return text;
    QString out;
    out.reserve(text.size());
    qsizetype from = 0;
    while (hit >= 0) {
        out.append(QStringView(text).sliced(from, hit - from));
        out.append(replacement);
        from = hit + find.size();
        hit = indexOfText(text, find, from);
    }
    out.append(QStringView(text).sliced(from));
    return out;
}

QString Reverse(QStringView text) {
    QString out(text.size(), Qt::Uninitialized);
    qsizetype j = text.size();
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            out[j - 2] = text[i];
            out[j - 1] = text[i + 1];
            j -= 2;
            ++i;
        } else {
            out[--j] = text[i];
        }
    }
    return out;
}

QString TrimSpaces(QStringView text) {
    qsizetype b = 0;
    qsizetype e = text.size();
    while (b < e && text[b] == u' ')
        ++b;
    while (e > b && text[e - 1] == u' ')
        --e;
    return text.sliced(b, e - b).toString();
}

int HexDigit(QChar c) {
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

} // namespace vantor
