#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <cstdint>
#include <deque>
#include <memory>
#include <span>
#include <vector>

namespace vantor::registry {

// One named value of a key. The data are the bytes Windows stores: string types are UTF-16LE
// with their terminating NUL.
class Value {
public:
    QStringView name() const { return {name_, qsizetype(nameSize_)}; }
    std::uint32_t type() const { return type_; }
    QByteArrayView data() const { return {data_, qsizetype(dataSize_)}; }
    // The data read as UTF-16 units, NULs included (an odd last byte is dropped).
    QString text() const;

private:
    friend class Hive;
    const char16_t* name_ = nullptr;
    const char* data_ = nullptr;
    std::uint32_t nameSize_ = 0;
    std::uint32_t type_ = 0;
    std::uint32_t dataSize_ = 0;
};

// A key: its name keeps its spelling, lookups ignore case. Subkeys are kept in the text order,
// which is also the order enumerations report them in.
class Key {
public:
    QStringView name() const { return {name_, qsizetype(nameSize_)}; }
    const Key* parent() const { return parent_; }
    std::span<Key* const> subkeys() const { return subkeys_; }
    const Key* subkey(QStringView name) const;
    std::span<const Value> values() const { return values_; }
    const Value* value(QStringView name) const;
    // A symbolic link: its "SymbolicLinkValue" names the target key.
    bool isLink() const { return link_; }

private:
    friend class Hive;
    // Index of the subkey called `name`, or of where it would be inserted.
    std::size_t lowerBound(QStringView name) const;

    const char16_t* name_ = nullptr;
    std::uint32_t nameSize_ = 0;
    bool link_ = false;
    Key* parent_ = nullptr;
    std::vector<Key*> subkeys_;
    std::vector<Value> values_;
};

// A tree of keys. Names and data live in the hive's own arena, so that a large hive costs few
// allocations; replaced data stays in the arena until the hive goes.
class Hive {
public:
    Hive();
    Hive(Hive&&) noexcept;
    Hive& operator=(Hive&&) noexcept;
    Hive(const Hive&) = delete;
    Hive& operator=(const Hive&) = delete;
    ~Hive();

    Key* root() { return root_; }
    const Key* root() const { return root_; }

    // The subkey called `name`, created when missing.
    Key* addSubkey(Key* parent, QStringView name);
    // Walks a backslash-separated path below `from` (empty components are skipped), creating
    // what is missing.
    Key* createPath(Key* from, QStringView path);
    // The key at `path` below `from`, or null; a trailing backslash changes nothing.
    const Key* find(const Key* from, QStringView path) const;
    Key* find(Key* from, QStringView path);

    void setValue(Key* key, QStringView name, std::uint32_t type, QByteArrayView data);
    bool removeValue(Key* key, QStringView name);
    // Unlinks the key and its subtree from its parent; the root cannot be removed.
    void removeKey(Key* key);
    void setLink(Key* key, bool link) { key->link_ = link; }

private:
    char* allocate(std::size_t size);
    const char16_t* storeText(QStringView text);

    std::deque<Key> keys_;
    Key* root_ = nullptr;
    std::vector<std::unique_ptr<char[]>> chunks_;
    char* chunkNext_ = nullptr;
    std::size_t chunkLeft_ = 0;
};

} // namespace vantor::registry
