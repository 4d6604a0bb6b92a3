#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <optional>

namespace vantor {

// The text of vantor.ini as lines, so that an edit touches one line and every comment, blank
// line and unknown section survives. Sections and keys match ignoring case; the first section
// and the first key of a name win.
struct IniDocument {
    QStringList lines;
    QString eol = QStringLiteral("\r\n");
};

IniDocument parseIni(QByteArrayView bytes);
QByteArray serializeIni(const IniDocument& doc);

// The value of `key`, trimmed of blanks and tabs; nothing when the key is missing.
std::optional<QString> iniValue(const IniDocument& doc, QStringView section, QStringView key);
// Replaces the key's line, or adds the key at the end of its section, or adds the section.
void setIniValue(IniDocument& doc, QStringView section, QStringView key, QStringView value);
// Removes the key's line; false when there was none.
bool removeIniKey(IniDocument& doc, QStringView section, QStringView key);

} // namespace vantor
