#include "app/ini_file.h"

#include "app/ini_document.h"
#include "text/atomic_file.h"

#include <QFile>
#include <QFileInfo>
#include <cmath>

namespace vantor {
namespace {

// Line breaks would split the value into lines of their own.
QString singleLine(const QString& value) {
    QString out = value;
    for (QChar& c : out) {
        if (c == u'\r' || c == u'\n')
            c = u' ';
    }
    return out;
}

} // namespace

IniFile::IniFile(QString path) : path_(std::move(path)) {}

bool IniFile::exists() const {
    return QFileInfo::exists(path_);
}

std::optional<QString> IniFile::ReadWhole(QStringView section, QStringView key) const {
    QFile file(path_);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return iniValue(parseIni(file.readAll()), section, key);
}

QString IniFile::ReadIni(QStringView section, QStringView key, const QString& defaultValue,
                         bool* defaulted) const {
    QString value = ReadWhole(section, key).value_or(defaultValue).left(kReadLimit);
    const bool empty = value.isEmpty();
    if (defaulted)
        *defaulted = empty;
    return empty ? defaultValue : value;
}

QString IniFile::ReadIni(const settings::Key& key, bool* defaulted) const {
    return ReadIni(QString::fromLatin1(key.section), QString::fromLatin1(key.key),
                   QString::fromLatin1(key.defaultValue), defaulted);
}

bool IniFile::edit(const std::function<bool(IniDocument&)>& change) {
    IniDocument doc;
    QFile current(path_);
    if (current.exists()) {
        // A file we cannot read must not be replaced by one holding only this change.
        if (!current.open(QIODevice::ReadOnly))
            return false;
        doc = parseIni(current.readAll());
        current.close();
    }
    if (!change(doc))
        return true;
    return writeFileAtomically(path_, serializeIni(doc));
}

bool IniFile::WriteIni(QStringView section, QStringView key, const QString& value) {
    const QString line = singleLine(value);
    return edit([&](IniDocument& doc) {
        setIniValue(doc, section, key, line);
        return true;
    });
}

bool IniFile::WriteIni(QStringView section, QStringView key, int value) {
    return WriteIni(section, key, QString::number(value));
}

bool IniFile::WriteIni(QStringView section, QStringView key, qint64 value) {
    return WriteIni(section, key, QString::number(value));
}

bool IniFile::WriteIni(QStringView section, QStringView key, float value) {
    const double v = value;
    if (std::isfinite(v) && v == std::trunc(v) && std::fabs(v) < 1e15)
        return WriteIni(section, key, QString::number(qint64(v)));
    return WriteIni(section, key, QString::number(v, 'g', 7));
}

bool IniFile::DeleteIniKey(QStringView section, QStringView key) {
    return edit([&](IniDocument& doc) { return removeIniKey(doc, section, key); });
}

} // namespace vantor
