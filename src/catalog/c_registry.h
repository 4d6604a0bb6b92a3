#pragma once

#include "platform/registry/store.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <optional>

namespace vantor {

// Root key handles as the platform numbers them.
constexpr qint32 HKEY_CLASSES_ROOT = qint32(0x80000000);
constexpr qint32 HKEY_CURRENT_USER = qint32(0x80000001);
constexpr qint32 HKEY_LOCAL_MACHINE = qint32(0x80000002);
constexpr qint32 HKEY_USERS = qint32(0x80000003);
constexpr qint32 HKEY_CURRENT_CONFIG = qint32(0x80000005);

// The registry access class: a location (root, key path, value name) held as properties, with
// existence tests, typed value reads and enumerations at that location; the program only reads
// through it. Names and string data pass through Windows-1252 both ways, as through the
// platform's ANSI interface. Arrays from the enumerations are 1-based: elements 1 to count
// (element 0 is unused).
class cRegistry {
public:
    explicit cRegistry(registry::Store& store) : store_(store) {}

    qint32 ClassKey() const { return classKey_; }
    void setClassKey(qint32 key) { classKey_ = key; }
    const QString& SectionKey() const { return sectionKey_; }
    void setSectionKey(const QString& path) { sectionKey_ = path; }
    const QString& ValueKey() const { return valueKey_; }
    void setValueKey(const QString& name) { valueKey_ = name; }
    const QVariant& Default() const { return default_; }
    void setDefault(const QVariant& value) { default_ = value; }
    qint32 ValueType() const { return valueType_; }

    bool KeyExists() const;
    // The value at the location converted by its type (sets ValueType), or Default.
    QVariant Value();
    bool EnumerateValues(QStringList& names, qint32& count) const;
    bool EnumerateSections(QStringList& names, qint32& count) const;

private:
    std::optional<registry::Root> root() const;

    registry::Store& store_;
    qint32 classKey_ = 0;
    QString sectionKey_;
    QString valueKey_;
    QVariant default_;
    qint32 valueType_ = 0;
};

// The root keys of HKEY_CLASSES_ROOT that may be ProgIDs: every name except those starting with
// "*", "." or "{". 1-based as above.
bool EnumRootKeys(registry::Store& store, QStringList& names, qint32& count);

} // namespace vantor
