#include "catalog/c_registry.h"

#include "platform/registry/value_type.h"
#include "text/win1252.h"

#include <algorithm>
#include <cstring>

namespace vantor {

namespace {

using registry::Root;

// Text as it comes back through the ANSI interface: what Windows-1252 cannot hold becomes "?".
QString ansi(QStringView text) {
    for (const QChar c : text) {
        if (c.unicode() >= 0x80 && win1252::byteFor(c.unicode()) < 0)
            return win1252::decode(win1252::encode(text));
    }
    return text.toString();
}

// 1-based: element 0 stays unused.
void fill(const QStringList& found, QStringList& names, qint32& count) {
    names.clear();
    count = 0;
    if (found.isEmpty())
        return;
    names.reserve(found.size() + 1);
    names << QString();
    for (const QString& n : found)
        names << ansi(n);
    count = qint32(found.size());
}

} // namespace

std::optional<Root> cRegistry::root() const {
    switch (quint32(classKey_)) {
    case 0x80000000u:
        return Root::ClassesRoot;
    case 0x80000001u:
        return Root::CurrentUser;
    case 0x80000002u:
        return Root::LocalMachine;
    case 0x80000003u:
        return Root::Users;
    case 0x80000005u:
        return Root::CurrentConfig;
    default:
        return std::nullopt;
    }
}

bool cRegistry::KeyExists() const {
    const auto r = root();
    return r && store_.keyExists(*r, ansi(sectionKey_));
}

QVariant cRegistry::Value() {
    const auto r = root();
    if (!r)
        return default_;
    const auto v = store_.value(*r, ansi(sectionKey_), ansi(valueKey_));
    if (!v)
        return default_;
    valueType_ = qint32(v->type);
    const QByteArray& d = v->data;
    switch (v->type) {
    case registry::RegSz:
    case registry::RegMultiSz:
    case registry::RegExpandSz: {
        // size - 1 characters: every NUL but the last stays.
        const QString text =
            ansi(QStringView(reinterpret_cast<const char16_t*>(d.constData()), d.size() / 2));
        QString s = text.isEmpty() ? text : text.chopped(1);
        if (v->type != registry::RegExpandSz)
            return s;
        const qsizetype nul = s.indexOf(QChar(0));
        if (nul >= 0)
            s.truncate(nul);
        return ansi(store_.expandEnvironment(s));
    }
    case registry::RegDword:
    case registry::RegDwordBigEndian: {
        unsigned char b[4] = {0, 0, 0, 0};
        std::memcpy(b, d.constData(), std::size_t(std::min<qsizetype>(4, d.size())));
        if (v->type == registry::RegDwordBigEndian)
            std::reverse(b, b + 4);
        qint32 n;
        std::memcpy(&n, b, 4);
        return n;
    }
    default:
        return d;
    }
}

bool cRegistry::EnumerateValues(QStringList& names, qint32& count) const {
    const auto r = root();
    fill(r ? store_.valueNames(*r, ansi(sectionKey_)) : QStringList(), names, count);
    return true;
}

bool cRegistry::EnumerateSections(QStringList& names, qint32& count) const {
    const auto r = root();
    fill(r ? store_.subkeyNames(*r, ansi(sectionKey_)) : QStringList(), names, count);
    return true;
}

bool EnumRootKeys(registry::Store& store, QStringList& names, qint32& count) {
    QStringList found = store.subkeyNames(Root::ClassesRoot, QString());
    found.removeIf([](const QString& n) {
        return n.isEmpty() || n[0] == u'*' || n[0] == u'.' || n[0] == u'{';
    });
    fill(found, names, count);
    return true;
}

} // namespace vantor
