#pragma once

#include "app/settings_keys.h"

#include <QString>
#include <QStringView>
#include <functional>
#include <optional>

namespace vantor {

struct IniDocument;

// vantor.ini with profile-string semantics. Every call goes to the file, with no caching; every
// write replaces the file atomically, so a crash or a full disk never leaves it half written.
class IniFile {
public:
    // The most characters a read returns.
    static constexpr qsizetype kReadLimit = 254;

    explicit IniFile(QString path);

    // The stored value, cut to 254 characters; the default when the key is missing. When the
    // result would be empty, the default comes back and `defaulted` is set; otherwise cleared.
    QString ReadIni(QStringView section, QStringView key, const QString& defaultValue,
                    bool* defaulted = nullptr) const;
    QString ReadIni(const settings::Key& key, bool* defaulted = nullptr) const;
    // The whole stored value, uncut, or nothing when the key is missing.
    std::optional<QString> ReadWhole(QStringView section, QStringView key) const;

    // False when the file could not be written; it is then as it was.
    bool WriteIni(QStringView section, QStringView key, const QString& value);
    bool WriteIni(QStringView section, QStringView key, int value);
    bool WriteIni(QStringView section, QStringView key, qint64 value);
    // Keeps a fraction only when there is one: 6800, 1.5.
    bool WriteIni(QStringView section, QStringView key, float value);
    // Removes the key's line; true also when there was none.
    bool DeleteIniKey(QStringView section, QStringView key);

    bool exists() const;
    const QString& path() const { return path_; }

private:
    bool edit(const std::function<bool(IniDocument&)>& change);

    QString path_;
};

} // namespace vantor
