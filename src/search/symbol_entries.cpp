#include "search/symbol_entries.h"

#include "browser/proto_member_rules.h"
#include "browser/type_kind_order.h"
#include "text/text_order.h"
#include "tli/tli_views.h"

#include <QHash>

namespace vantor {

namespace {

constexpr quint16 kHiddenTypes = tli::flag::TypeHidden | tli::flag::TypeRestricted;

// The members of one type, a property's accessors merged into one entry.
void addMembers(const tli::TypeLib& lib, const tli::TypeInfo& info, bool typeHidden,
                std::vector<SymbolEntry>& into) {
    QHash<QString, size_t> byName; // folded name -> entry index
    const auto add = [&](SymbolKind kind, const QString& name, const QString& help,
                         qint32 invokeKinds, bool hidden, const QString& value) {
        const QString folded = foldedText(name);
        if (const auto found = byName.constFind(folded); found != byName.cend()) {
            SymbolEntry& e = into[*found];
            e.invokeKinds |= invokeKinds;
            e.hidden = e.hidden && hidden; // shown when any accessor is
            if (e.help.isEmpty())
                e.help = help;
            return;
        }
        byName.insert(folded, into.size());
        into.push_back({kind, name, info.name, value, help, 0, invokeKinds, hidden || typeHidden});
    };
    for (const tli::Func& f : lib.funcs(info))
        add(SymbolKind::Member, f.name, f.doc, f.invokeKind, f.flags & tli::flag::HiddenFuncs,
            QString());
    for (const tli::Var& v : lib.vars(info)) {
        const bool hidden = v.flags & tli::flag::HiddenVars;
        if (v.varKind == tli::VarKind::Const) {
            const QString value = v.value >= 0 ? constantValuePlain(lib.value(v.value)) : QString();
            add(SymbolKind::Constant, v.name, v.doc, tli::invoke::PropertyGet, hidden, value);
        } else {
            const qint32 kinds = (v.flags & tli::flag::VarReadOnly)
                                     ? qint32(tli::invoke::PropertyGet)
                                     : tli::invoke::PropertyGet | tli::invoke::PropertyPut;
            add(SymbolKind::Member, v.name, v.doc, kinds, hidden, QString());
        }
    }
}

} // namespace

std::vector<SymbolEntry> symbolEntries(const std::shared_ptr<const tli::TypeLib>& lib) {
    std::vector<SymbolEntry> entries;
    for (const tli::TypeInfo& info : lib->typeInfos()) {
        const bool hidden = info.flags & kHiddenTypes;
        entries.push_back({SymbolKind::Type, info.name, info.name, QString(), info.doc,
                           categoryCode(tli::TypeInfoView(lib, &info)), 0, hidden});
        addMembers(*lib, info, hidden, entries);
    }
    return entries;
}

QString constantValuePlain(const tli::Value& value) {
    if (value.state != tli::Value::State::Present)
        return QString();
    switch (value.vt) {
    case tli::vt::I2:
    case tli::vt::I4:
    case tli::vt::Int: {
        const QString hex = proto::integerHex(value);
        return QString::number(value.integer) + (hex.isEmpty() ? hex : u' ' + hex);
    }
    case tli::vt::I1:
    case tli::vt::UI1:
    case tli::vt::UI2:
    case tli::vt::UI4:
    case tli::vt::I8:
    case tli::vt::UI8:
    case tli::vt::UInt:
    case tli::vt::Error:
        return QString::number(value.integer);
    case tli::vt::Bool:
        return value.integer ? QStringLiteral("True") : QStringLiteral("False");
    case tli::vt::R4:
    case tli::vt::R8:
        return QString::number(value.real);
    case tli::vt::Bstr:
        return u'"' + value.text + u'"';
    default:
        return QString();
    }
}

} // namespace vantor
