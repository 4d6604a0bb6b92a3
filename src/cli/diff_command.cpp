// diff OLD NEW: two versions of a library compared by meaning.
#include "cli/cli_command.h"
#include "cli/cli_machine.h"
#include "cli/library_argument.h"
#include "tli/library_diff.h"
#include "tli/session.h"

#include <QJsonArray>

namespace vantor::cli {

namespace {

using tli::LibraryChange;

const char* kindName(LibraryChange::Kind kind) {
    switch (kind) {
    case LibraryChange::Kind::Added:
        return "added";
    case LibraryChange::Kind::Removed:
        return "removed";
    case LibraryChange::Kind::Changed:
        break;
    }
    return "changed";
}

// "+ function Sum", "- function Add", "~ guid: A -> B", "~ function Opt: parameter 2 (s) default:
// A -> B"; a type added or removed as a whole is a line of its own.
QString changesText(const QList<LibraryChange>& changes) {
    QString out;
    QString group;
    for (const LibraryChange& c : changes) {
        const bool wholeType = c.member.isEmpty() && c.kind != LibraryChange::Kind::Changed;
        const QChar sign = c.kind == LibraryChange::Kind::Added     ? u'+'
                           : c.kind == LibraryChange::Kind::Removed ? u'-'
                                                                    : u'~';
        if (wholeType) {
            out += sign + u' ' + c.typeKind + u' ' + c.type + u'\n';
            group.clear();
            continue;
        }
        const QString head = c.type.isEmpty() ? QStringLiteral("(library)")
                                              : c.type + QStringLiteral(" (") + c.typeKind + u')';
        if (head != group)
            out += head + u'\n';
        group = head;
        QString line = QStringLiteral("  ") + sign + u' ' + c.member;
        if (!c.what.isEmpty())
            line += (c.member.isEmpty() ? QString() : QStringLiteral(": ")) + c.what +
                    QStringLiteral(": ") + c.oldValue + QStringLiteral(" -> ") + c.newValue;
        out += line + u'\n';
    }
    return out;
}

int diff(CliContext& c) {
    const QStringList args = c.args.positional(2, 2);
    CliMachine& m = c.machine();
    const std::shared_ptr<tli::Session>& session = m.application().session();
    const QString older = libraryFile(m, args[0]);
    const QString newer = libraryFile(m, args[1]);
    const QList<LibraryChange> changes =
        tli::diffLibraries(session->open(m.hostPath(older)), session->open(m.hostPath(newer)));
    if (c.json) {
        QJsonArray list;
        for (const LibraryChange& change : changes)
            list.append(QJsonObject{{"change", kindName(change.kind)},
                                    {"type", change.type},
                                    {"typeKind", change.typeKind},
                                    {"member", change.member},
                                    {"what", change.what},
                                    {"old", change.oldValue},
                                    {"new", change.newValue}});
        writeJson({{"old", older}, {"new", newer}, {"same", changes.isEmpty()}, {"changes", list}});
    } else {
        writeText(changesText(changes));
    }
    return changes.isEmpty() ? Done : NothingOrDifferent;
}

const Command kDiff{
    "diff",
    "diff OLD NEW",
    "what changed between two versions of a library",
    "Compares two libraries (files, or libraries of the catalog) by meaning: types by name,\n"
    "members by name and invoke kind. Lists, grouped by type, the types and members added (+)\n"
    "and removed (-), and what changed (~): library attributes, a type's GUID, flags and base\n"
    "or implemented interfaces, a member's return type, parameters (names, types, flags,\n"
    "defaults), member id, flags, vtable slot and position, a constant's value. Status 0 when\n"
    "they are the same, 1 when they differ.\n"
    "JSON: {old, new, same, changes: [{change: added|removed|changed, type, typeKind, member,\n"
    "what, old, new}]}.\n",
    true,
    diff};
const CommandRegistration kRegister{kDiff};

} // namespace

} // namespace vantor::cli
