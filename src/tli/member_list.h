#pragma once

#include "tli/tli_views.h"

#include <QList>
#include <vector>

namespace vantor::tli {

struct ListRow;

// Which members a list leaves out: those whose flags share a bit with the filter.
struct MemberFilters {
    quint16 functions = 0;
    quint16 variables = 0;
};

// The members a type's list shows, most derived first: an interface's own members and then
// those of its bases (a name its own members use hides the bases' members of that name), a
// coclass's default interface, an alias's final type. Each property accessor is a member.
std::vector<MemberView> listedMembers(const TypeInfoView& info, MemberFilters filters);

// The library's global members: the functions and non-constant variables of its modules, and
// the members of the default interface of every coclass flagged as an application object. A
// name is taken from the first type that has it.
std::vector<MemberView> globalMembers(const std::shared_ptr<const TypeLib>& lib,
                                      MemberFilters filters);

// One row per member name, sorted in the text order; item data is the OR of the invoke kinds
// of the members of that name.
QList<ListRow> memberRowsOf(const std::vector<MemberView>& members);

// The member of `members` a row names: the name in the text order and an invoke kind of the
// row; of several accessors the get accessor, then the function, let, set accessor, event.
// `memberId` other than -1 must match too. Null when none matches.
MemberView findMember(const std::vector<MemberView>& members, qint32 invokeKinds, qint32 memberId,
                      const QString& name);

} // namespace vantor::tli
