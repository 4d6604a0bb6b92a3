#pragma once

#include "tli/type_lib.h"

#include <QString>
#include <memory>
#include <vector>

namespace vantor {

// What an entry of the symbol index names; also the order of kinds among equal matches.
enum class SymbolKind : quint8 { Type = 0, Member = 1, Constant = 2 };

// One entry of the symbol index: a type info, a member of one (a property's accessors as one
// entry, as the member list shows them) or a constant.
struct SymbolEntry {
    SymbolKind kind = SymbolKind::Type;
    QString name;
    QString typeName; // the type that holds a member or constant; the type itself for a type
    QString value;    // constants: the value as the member list's prototype shows it
    QString help;
    qint32 category = 0; // types: the image index of the type-info list
    qint32 invokeKinds = 0;
    bool hidden = false; // hidden or restricted, itself or its type
};

// Every entry of a library, in library order.
std::vector<SymbolEntry> symbolEntries(const std::shared_ptr<const tli::TypeLib>& lib);

// A constant's value as plain text: "255 (&HFF)", "\"text\"", "1.5"; empty when the type
// services cannot copy it.
QString constantValuePlain(const tli::Value& value);

} // namespace vantor
