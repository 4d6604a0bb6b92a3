#include "app/ini_document.h"

#include "text/text_order.h"
#include "text/win1252.h"

namespace vantor {
namespace {

QStringView trimmed(QStringView text) {
    qsizetype b = 0;
    qsizetype e = text.size();
    while (b < e && (text[b] == u' ' || text[b] == u'\t'))
        ++b;
    while (e > b && (text[e - 1] == u' ' || text[e - 1] == u'\t'))
        --e;
    return text.sliced(b, e - b);
}

// The section name of a "[name]" line, or nothing for any other line.
std::optional<QStringView> sectionName(QStringView line) {
    const QStringView t = trimmed(line);
    if (!t.startsWith(u'['))
        return std::nullopt;
    const qsizetype close = t.indexOf(u']');
    return trimmed(close < 0 ? t.sliced(1) : t.sliced(1, close - 1));
}

bool isComment(QStringView line) {
    const QStringView t = trimmed(line);
    return t.startsWith(u';') || t.startsWith(u'#');
}

// The key of a "key=value" line, or nothing.
std::optional<QStringView> keyName(QStringView line) {
    if (isComment(line))
        return std::nullopt;
    const qsizetype eq = line.indexOf(u'=');
    if (eq < 0)
        return std::nullopt;
    return trimmed(line.first(eq));
}

struct Place {
    qsizetype section = -1;    // the header line
    qsizetype sectionEnd = -1; // one past the section's last line
    qsizetype key = -1;        // the key's line
};

Place locate(const IniDocument& doc, QStringView section, QStringView key) {
    Place place;
    const qsizetype n = doc.lines.size();
    for (qsizetype i = 0; i < n; ++i) {
        const auto name = sectionName(doc.lines[i]);
        if (name && equalsText(*name, section)) {
            place.section = i;
            break;
        }
    }
    if (place.section < 0)
        return place;
    qsizetype i = place.section + 1;
    for (; i < n && !sectionName(doc.lines[i]); ++i) {
        const auto name = keyName(doc.lines[i]);
        if (place.key < 0 && name && equalsText(*name, key))
            place.key = i;
    }
    place.sectionEnd = i;
    return place;
}

} // namespace

IniDocument parseIni(QByteArrayView bytes) {
    IniDocument doc;
    const qsizetype firstLf = bytes.indexOf('\n');
    if (firstLf >= 0 && (firstLf == 0 || bytes[firstLf - 1] != '\r'))
        doc.eol = QStringLiteral("\n");
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', start);
        const qsizetype next = end < 0 ? bytes.size() : end + 1;
        if (end < 0)
            end = bytes.size();
        if (end > start && bytes[end - 1] == '\r')
            --end;
        doc.lines.append(win1252::decode(bytes.sliced(start, end - start)));
        start = next;
    }
    return doc;
}

QByteArray serializeIni(const IniDocument& doc) {
    QString text;
    for (const QString& line : doc.lines)
        text += line + doc.eol;
    return win1252::encode(text);
}

std::optional<QString> iniValue(const IniDocument& doc, QStringView section, QStringView key) {
    const Place place = locate(doc, section, key);
    if (place.key < 0)
        return std::nullopt;
    const QString& line = doc.lines[place.key];
    return trimmed(QStringView(line).sliced(line.indexOf(u'=') + 1)).toString();
}

void setIniValue(IniDocument& doc, QStringView section, QStringView key, QStringView value) {
    const Place place = locate(doc, section, key);
    if (place.key >= 0) {
        // Keep the key's own spelling.
        const QString& line = doc.lines[place.key];
        doc.lines[place.key] = line.first(line.indexOf(u'=')).trimmed() + u'=' + value.toString();
        return;
    }
    const QString newLine = key.toString() + u'=' + value.toString();
    if (place.section >= 0) {
        // After the section's last non-blank line, so a blank line before the next stays put.
        qsizetype at = place.sectionEnd;
        while (at > place.section + 1 && trimmed(doc.lines[at - 1]).isEmpty())
            --at;
        doc.lines.insert(at, newLine);
        return;
    }
    if (!doc.lines.isEmpty() && !trimmed(doc.lines.last()).isEmpty())
        doc.lines.append(QString());
    doc.lines.append(u'[' + section.toString() + u']');
    doc.lines.append(newLine);
}

bool removeIniKey(IniDocument& doc, QStringView section, QStringView key) {
    const Place place = locate(doc, section, key);
    if (place.key < 0)
        return false;
    doc.lines.removeAt(place.key);
    return true;
}

} // namespace vantor
