#include "help/chm_objects.h"

namespace vantor::help {

namespace {

// Byte by byte: callers check the bounds, and a word read through a cast pointer makes gcc's
// bounds analysis warn about the empty array's one-byte buffer.
quint32 littleEndianAt(QByteArrayView b, qsizetype at, int bytes) {
    quint32 v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = (v << 8) | quint8(b[at + i]);
    return v;
}
quint32 u32At(QByteArrayView b, qsizetype at) {
    return littleEndianAt(b, at, 4);
}
quint16 u16At(QByteArrayView b, qsizetype at) {
    return quint16(littleEndianAt(b, at, 2));
}

// A NUL-terminated text inside `data` (the whole of it when there is no NUL).
QByteArray cText(QByteArrayView data) {
    const qsizetype nul = data.indexOf('\0');
    return (nul < 0 ? data : data.first(nul)).toByteArray();
}

// Replaces the HTML character references sitemaps use (&amp; &lt; &gt; &quot; &apos; &#N;
// &#xN;); anything else stays as written.
QString decodeEntities(const QString& text) {
    if (!text.contains(u'&'))
        return text;
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype semi = text.at(i) == u'&' ? text.indexOf(u';', i) : -1;
        if (semi < 0 || semi - i > 10) {
            out += text.at(i);
            continue;
        }
        const QStringView name = QStringView(text).mid(i + 1, semi - i - 1);
        char32_t c = 0;
        if (name == u"amp")
            c = '&';
        else if (name == u"lt")
            c = '<';
        else if (name == u"gt")
            c = '>';
        else if (name == u"quot")
            c = '"';
        else if (name == u"apos")
            c = '\'';
        else if (name.startsWith(u'#')) {
            bool ok = false;
            const uint v = name.startsWith(u"#x", Qt::CaseInsensitive)
                               ? name.mid(2).toUInt(&ok, 16)
                               : name.mid(1).toUInt(&ok, 10);
            if (ok && v > 0 && v <= 0x10FFFF && (v < 0xD800 || v > 0xDFFF))
                c = v;
        }
        if (c == 0) {
            out += text.at(i);
            continue;
        }
        out += QString::fromUcs4(&c, 1);
        i = semi;
    }
    return out;
}

// The value of attribute `name` inside one tag's text (between "<" and ">"), or null.
QByteArray attribute(QByteArrayView tag, QByteArrayView name) {
    qsizetype i = 0;
    while (i < tag.size()) {
        while (i < tag.size() && !QChar::isLetter(uchar(tag[i])))
            ++i;
        const qsizetype start = i;
        while (i < tag.size() && (QChar::isLetterOrNumber(uchar(tag[i])) || tag[i] == '-'))
            ++i;
        const QByteArrayView key = tag.sliced(start, i - start);
        while (i < tag.size() && tag[i] == ' ')
            ++i;
        if (i >= tag.size() || tag[i] != '=')
            continue;
        ++i;
        while (i < tag.size() && tag[i] == ' ')
            ++i;
        qsizetype end = i;
        qsizetype valueStart = i;
        if (i < tag.size() && (tag[i] == '"' || tag[i] == '\'')) {
            const char quote = tag[i];
            valueStart = i + 1;
            end = valueStart;
            while (end < tag.size() && tag[end] != quote)
                ++end;
            i = end + 1;
        } else {
            while (end < tag.size() && tag[end] != ' ' && tag[end] != '\t' && tag[end] != '\n')
                ++end;
            i = end;
        }
        if (key.compare(name, Qt::CaseInsensitive) == 0)
            return tag.sliced(valueStart, end - valueStart).toByteArray();
    }
    return {};
}

} // namespace

std::optional<SystemInfo> parseSystem(const QByteArray& bytes) {
    if (bytes.size() < 4)
        return std::nullopt;
    SystemInfo info;
    qsizetype at = 4; // version
    while (at + 4 <= bytes.size()) {
        const quint16 code = u16At(bytes, at);
        const quint16 length = u16At(bytes, at + 2);
        at += 4;
        if (length > bytes.size() - at)
            return std::nullopt;
        const QByteArrayView data(bytes.constData() + at, length);
        switch (code) {
        case 0:
            info.contentsFile = cText(data);
            break;
        case 1:
            info.indexFile = cText(data);
            break;
        case 2:
            info.defaultTopic = cText(data);
            break;
        case 3:
            info.title = cText(data);
            break;
        case 4:
            if (length >= 4)
                info.lcid = u32At(data, 0);
            break;
        default:
            break;
        }
        at += length;
    }
    return info;
}

QList<SitemapEntry> parseSitemap(const QByteArray& bytes, quint32 lcid, TextDecoder decode) {
    QList<SitemapEntry> entries;
    int depth = -1; // inside the first <UL> is depth 0
    bool inObject = false;
    SitemapEntry current;
    qsizetype at = 0;
    while ((at = bytes.indexOf('<', at)) >= 0) {
        qsizetype end = bytes.indexOf('>', at + 1);
        if (end < 0)
            break;
        // Comments may hold ">" and are skipped whole.
        if (bytes.mid(at, 4) == "<!--") {
            end = bytes.indexOf("-->", at + 4);
            if (end < 0)
                break;
            at = end + 3;
            continue;
        }
        const QByteArrayView tag(bytes.constData() + at + 1, end - at - 1);
        at = end + 1;
        qsizetype nameEnd = 0;
        while (nameEnd < tag.size() && tag[nameEnd] != ' ' && tag[nameEnd] != '\t' &&
               tag[nameEnd] != '\n' && tag[nameEnd] != '\r')
            ++nameEnd;
        const QByteArray name = tag.first(nameEnd).toByteArray().toLower();
        if (name == "ul") {
            ++depth;
        } else if (name == "/ul") {
            depth = qMax(-1, depth - 1);
        } else if (name == "object") {
            inObject = attribute(tag, "type").toLower() == "text/sitemap";
            current = SitemapEntry{};
            current.depth = qMax(0, depth);
        } else if (name == "/object") {
            if (inObject && !current.name.isEmpty())
                entries.append(current);
            inObject = false;
        } else if (name == "param" && inObject) {
            const QByteArray key = attribute(tag, "name").toLower();
            const QString value = decodeEntities(decode(attribute(tag, "value"), lcid));
            if (key == "name" && current.name.isEmpty())
                current.name = value;
            else if (key == "local" && !value.isEmpty())
                current.locals.append(value);
        }
    }
    return entries;
}

QHash<qint32, QByteArray> parseContextMap(const QByteArray& ivb, const QByteArray& strings) {
    QHash<qint32, QByteArray> map;
    if (ivb.size() < 4)
        return map;
    const qsizetype count = qMin<qsizetype>(u32At(ivb, 0), ivb.size() - 4) / 8;
    for (qsizetype i = 0; i < count; ++i) {
        const auto context = static_cast<qint32>(u32At(ivb, 4 + i * 8));
        const quint32 offset = u32At(ivb, 8 + i * 8);
        if (offset >= quint32(strings.size()))
            continue;
        const QByteArray topic = cText(QByteArrayView(strings).sliced(offset));
        if (!topic.isEmpty() && !map.contains(context))
            map.insert(context, topic);
    }
    return map;
}

} // namespace vantor::help
