#include "platform/registry/wine_hive_writer.h"

#include "platform/registry/value_type.h"

#include <QDateTime>
#include <cstdio>
#include <cstring>

namespace vantor::registry {

namespace {

bool isOctal(char16_t c) {
    return c >= '0' && c <= '7';
}
bool isHex(char16_t c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// Escapes as Wine's writer does; `specials` are the characters that get a plain backslash.
void escape(QStringView text, const char* specials, QByteArray& out) {
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = text[i].unicode();
        const char16_t next = i + 1 < n ? text[i + 1].unicode() : 0;
        if (c >= 0x20 && c < 0x7F) {
            if (c == '\\' || std::strchr(specials, char(c)))
                out += '\\';
            out += char(c);
            continue;
        }
        switch (c) {
        case 7:
            out += "\\a";
            continue;
        case 8:
            out += "\\b";
            continue;
        case 9:
            out += "\\t";
            continue;
        case 10:
            out += "\\n";
            continue;
        case 11:
            out += "\\v";
            continue;
        case 12:
            out += "\\f";
            continue;
        case 13:
            out += "\\r";
            continue;
        case 27:
            out += "\\e";
            continue;
        default:
            break;
        }
        char buf[12];
        int len;
        if (c < 0x80) // octal, three digits when an octal digit follows
            len = std::snprintf(buf, sizeof buf, isOctal(next) ? "\\%03o" : "\\%o", unsigned(c));
        else // four hex digits when a hex digit follows
            len = std::snprintf(buf, sizeof buf, isHex(next) ? "\\x%04x" : "\\x%x", unsigned(c));
        out.append(buf, len);
    }
}

// A hex list wrapped as Wine wraps it: "\" at the end of a line near column 76.
void appendHex(QByteArrayView data, qsizetype column, QByteArray& out) {
    static const char hexDigits[] = "0123456789abcdef";
    for (qsizetype i = 0; i < data.size(); ++i) {
        const auto b = static_cast<unsigned char>(data[i]);
        out += hexDigits[b >> 4];
        out += hexDigits[b & 0xF];
        column += 2;
        if (i + 1 < data.size()) {
            out += ',';
            ++column;
            if (column > 76) {
                out += "\\\n  ";
                column = 2;
            }
        }
    }
}

bool textForm(const Value& v) {
    const QByteArrayView d = v.data();
    return isStringType(v.type()) && d.size() >= 2 && d.size() % 2 == 0 && d[d.size() - 1] == 0 &&
           d[d.size() - 2] == 0;
}

void appendValue(const Value& v, QByteArray& out) {
    const qsizetype lineStart = out.size();
    if (v.name().isEmpty()) {
        out += '@';
    } else {
        out += '"';
        escape(v.name(), "\"", out);
        out += '"';
    }
    out += '=';
    const QByteArrayView d = v.data();
    if (textForm(v)) {
        if (v.type() != RegSz)
            out += "str(" + QByteArray::number(v.type(), 16) + "):";
        out += '"';
        const QString text = v.text();
        escape(QStringView(text).chopped(1), "\"", out);
        out += '"';
    } else if (v.type() == RegDword && d.size() == 4) {
        std::uint32_t n;
        std::memcpy(&n, d.data(), 4);
        out += "dword:" + QByteArray::number(n, 16).rightJustified(8, '0');
    } else {
        out += v.type() == RegBinary ? QByteArray("hex:")
                                     : "hex(" + QByteArray::number(v.type(), 16) + "):";
        appendHex(d, out.size() - lineStart, out);
    }
    out += '\n';
}

void appendKey(const Key* key, QByteArray& path, QByteArray& out, const QByteArray& stamp) {
    const qsizetype pathSize = path.size();
    if (!path.isEmpty())
        path += "\\\\";
    escape(key->name(), "[]", path);
    // A key with subkeys and nothing of its own needs no line: its subkeys imply it.
    if (!key->values().empty() || key->subkeys().empty() || key->isLink()) {
        out += '\n';
        out += '[';
        out += path;
        out += "] ";
        out += stamp;
        out += '\n';
        if (key->isLink())
            out += "#link\n";
        for (const Value& v : key->values())
            appendValue(v, out);
    }
    for (const Key* sub : key->subkeys())
        appendKey(sub, path, out, stamp);
    path.truncate(pathSize);
}

} // namespace

QByteArray writeWineHive(const Key* base, const QString& root) {
    QByteArray out = "WINE REGISTRY Version 2\n;; All keys relative to ";
    out += root.toUtf8().replace("\\", "\\\\");
    out += '\n';
    const QByteArray stamp = QByteArray::number(QDateTime::currentSecsSinceEpoch());
    QByteArray path;
    for (const Key* sub : base->subkeys())
        appendKey(sub, path, out, stamp);
    return out;
}

} // namespace vantor::registry
