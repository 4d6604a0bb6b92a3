#include "platform/registry/reg_export.h"

#include "platform/registry/tree_compare.h"
#include "platform/registry/value_type.h"

#include <cstring>

namespace vantor::registry::test {

namespace {

// A REG_SZ written as "text": proper NUL end, no NUL or CR inside.
bool textForm(const Value& v) {
    const QByteArrayView d = v.data();
    if (v.type() != RegSz || d.size() < 2 || d.size() % 2 || d[d.size() - 1] || d[d.size() - 2])
        return false;
    const QString text = v.text().chopped(1);
    return !text.contains(QChar(0)) && !text.contains(u'\r');
}

QString quoted(QStringView text) {
    QString out = QStringLiteral("\"");
    for (QChar c : text) {
        if (c == u'\\' || c == u'"')
            out += u'\\';
        if (c == u'\n')
            out += QStringLiteral("\\n");
        else
            out += c;
    }
    return out + u'"';
}

void appendHex(QByteArrayView bytes, QString& line, QString& out) {
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        line += QString::number(static_cast<unsigned char>(bytes[i]), 16).rightJustified(2, u'0');
        if (i + 1 < bytes.size()) {
            line += u',';
            if (line.size() > 75) {
                out += line + QStringLiteral("\\\r\n");
                line = QStringLiteral("  ");
            }
        }
    }
}

void appendValue(const Value& v, QString& out) {
    QString line = v.name().isEmpty() ? QStringLiteral("@") : quoted(v.name());
    line += u'=';
    const QByteArrayView d = v.data();
    if (textForm(v)) {
        line += quoted(v.text().chopped(1));
    } else if (v.type() == RegDword && d.size() == 4) {
        quint32 n;
        std::memcpy(&n, d.data(), 4);
        line += QStringLiteral("dword:") + QString::number(n, 16).rightJustified(8, u'0');
    } else {
        line += v.type() == RegBinary ? QStringLiteral("hex:")
                                      : QStringLiteral("hex(%1):").arg(v.type(), 0, 16);
        appendHex(d, line, out);
    }
    out += line + QStringLiteral("\r\n");
}

void appendKey(const Key* key, const QString& path, QString& out, int& skipped) {
    if (key->isLink()) {
        skipped += 1 + countKeys(key);
        return;
    }
    out += u'[' + path + QStringLiteral("]\r\n");
    for (const Value& v : key->values())
        appendValue(v, out);
    out += QStringLiteral("\r\n");
    for (const Key* sub : key->subkeys())
        appendKey(sub, path + u'\\' + sub->name().toString(), out, skipped);
}

} // namespace

QByteArray exportReg(const Key* base, const QString& rootName, int& skipped) {
    QString out = QStringLiteral("Windows Registry Editor Version 5.00\r\n\r\n");
    for (const Key* sub : base->subkeys())
        appendKey(sub, rootName + u'\\' + sub->name().toString(), out, skipped);
    QByteArray bytes("\xFF\xFE");
    bytes.append(reinterpret_cast<const char*>(out.utf16()), out.size() * 2);
    return bytes;
}

} // namespace vantor::registry::test
