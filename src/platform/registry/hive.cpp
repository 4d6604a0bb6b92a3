#include "platform/registry/hive.h"

#include "text/text_order.h"

#include <algorithm>
#include <cstring>

namespace vantor::registry {

namespace {

constexpr std::size_t ChunkSize = 256 * 1024;

bool isSeparator(QChar c) {
    return c == u'\\';
}

} // namespace

QString Value::text() const {
    QString out(qsizetype(dataSize_ / 2), Qt::Uninitialized);
    // Empty data is a null data_, which memcpy must not see even for no bytes.
    if (dataSize_ >= 2)
        std::memcpy(out.data(), data_, (dataSize_ / 2) * 2);
    return out;
}

std::size_t Key::lowerBound(QStringView name) const {
    // Readers add keys in order, so the last subkey is the likely match or predecessor.
    if (subkeys_.empty())
        return 0;
    const int last = compareText(subkeys_.back()->name(), name);
    if (last < 0)
        return subkeys_.size();
    if (last == 0)
        return subkeys_.size() - 1;
    auto it = std::lower_bound(subkeys_.begin(), subkeys_.end(), name,
                               [](Key* k, QStringView n) { return compareText(k->name(), n) < 0; });
    return std::size_t(it - subkeys_.begin());
}

const Key* Key::subkey(QStringView name) const {
    const std::size_t i = lowerBound(name);
    if (i < subkeys_.size() && compareText(subkeys_[i]->name(), name) == 0)
        return subkeys_[i];
    return nullptr;
}

const Value* Key::value(QStringView name) const {
    for (const Value& v : values_) {
        if (equalsText(v.name(), name))
            return &v;
    }
    return nullptr;
}

Hive::Hive() {
    root_ = &keys_.emplace_back();
}
Hive::Hive(Hive&&) noexcept = default;
Hive& Hive::operator=(Hive&&) noexcept = default;
Hive::~Hive() = default;

char* Hive::allocate(std::size_t size) {
    size = (size + 1) & ~std::size_t(1); // keeps UTF-16 text aligned
    if (size > ChunkSize / 4) {
        chunks_.push_back(std::make_unique<char[]>(size));
        return chunks_.back().get();
    }
    if (size > chunkLeft_) {
        chunks_.push_back(std::make_unique<char[]>(ChunkSize));
        chunkNext_ = chunks_.back().get();
        chunkLeft_ = ChunkSize;
    }
    char* out = chunkNext_;
    chunkNext_ += size;
    chunkLeft_ -= size;
    return out;
}

const char16_t* Hive::storeText(QStringView text) {
    if (text.isEmpty())
        return nullptr;
    char* p = allocate(std::size_t(text.size()) * 2);
    std::memcpy(p, text.utf16(), std::size_t(text.size()) * 2);
    return reinterpret_cast<const char16_t*>(p);
}

Key* Hive::addSubkey(Key* parent, QStringView name) {
    const std::size_t i = parent->lowerBound(name);
    if (i < parent->subkeys_.size() && compareText(parent->subkeys_[i]->name(), name) == 0)
        return parent->subkeys_[i];
    Key& key = keys_.emplace_back();
    key.name_ = storeText(name);
    key.nameSize_ = std::uint32_t(name.size());
    key.parent_ = parent;
    parent->subkeys_.insert(parent->subkeys_.begin() + std::ptrdiff_t(i), &key);
    return &key;
}

Key* Hive::createPath(Key* from, QStringView path) {
    Key* key = from;
    qsizetype start = 0;
    while (start <= path.size()) {
        qsizetype end = start;
        while (end < path.size() && !isSeparator(path[end]))
            ++end;
        if (end > start)
            key = addSubkey(key, path.sliced(start, end - start));
        start = end + 1;
    }
    return key;
}

const Key* Hive::find(const Key* from, QStringView path) const {
    const Key* key = from;
    qsizetype start = 0;
    while (key && start <= path.size()) {
        qsizetype end = start;
        while (end < path.size() && !isSeparator(path[end]))
            ++end;
        if (end > start)
            key = key->subkey(path.sliced(start, end - start));
        start = end + 1;
    }
    return key;
}

Key* Hive::find(Key* from, QStringView path) {
    return const_cast<Key*>(static_cast<const Hive*>(this)->find(from, path));
}

void Hive::setValue(Key* key, QStringView name, std::uint32_t type, QByteArrayView data) {
    Value* value = nullptr;
    for (Value& v : key->values_) {
        if (equalsText(v.name(), name)) {
            value = &v;
            break;
        }
    }
    if (!value) {
        value = &key->values_.emplace_back();
        value->name_ = storeText(name);
        value->nameSize_ = std::uint32_t(name.size());
    }
    value->type_ = type;
    value->dataSize_ = std::uint32_t(data.size());
    value->data_ = nullptr;
    if (!data.isEmpty()) {
        char* p = allocate(std::size_t(data.size()));
        std::memcpy(p, data.data(), std::size_t(data.size()));
        value->data_ = p;
    }
}

bool Hive::removeValue(Key* key, QStringView name) {
    auto it = std::find_if(key->values_.begin(), key->values_.end(),
                           [&](const Value& v) { return equalsText(v.name(), name); });
    if (it == key->values_.end())
        return false;
    key->values_.erase(it);
    return true;
}

void Hive::removeKey(Key* key) {
    Key* parent = key->parent_;
    if (!parent)
        return;
    auto& siblings = parent->subkeys_;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), key), siblings.end());
    key->parent_ = nullptr;
}

} // namespace vantor::registry
