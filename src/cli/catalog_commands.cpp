// libraries [TEXT], progids [TEXT]: the catalogs, filtered by help string as the search does.
#include "catalog/get_token.h"
#include "catalog/type_lib_record.h"
#include "cli/cli_command.h"
#include "cli/cli_machine.h"
#include "search/progid_lookup.h"

#include <QJsonArray>

namespace vantor::cli {

namespace {

// A help-string field as the catalog quotes it when it holds a comma.
QString unquoted(const QString& field) {
    return field.size() >= 2 && field.startsWith(u'"') && field.endsWith(u'"')
               ? field.mid(1, field.size() - 2)
               : field;
}

// The records whose help-string field (as written: a back-reference is matched as its text)
// contains the text, ignoring case; every record without a text.
QList<qint32> hits(const QStringList& defs, const QString& text) {
    QList<qint32> found;
    for (qint32 i = 0; i + 1 < defs.size(); ++i)
        if (text.isEmpty() || GetTokenOrEmpty(3, defs[i]).contains(text, Qt::CaseInsensitive))
            found.append(i);
    return found;
}

QString filterText(CliContext& c) {
    const QStringList args = c.args.positional(0, 1);
    return args.isEmpty() ? QString() : args.first();
}

int libraries(CliContext& c) {
    const QString text = filterText(c);
    const QStringList& defs = c.machine().catalogs().TLDefs();
    const QList<qint32> found = hits(defs, text);
    QJsonArray list;
    QString out;
    for (qint32 i : found) {
        const TypeLibRecord r = TypeLibRecord::parse(defs[i]);
        const QString help = unquoted(r.helpString);
        list.append(QJsonObject{{"guid", r.guid},
                                {"version", r.version},
                                {"helpString", help},
                                {"path", r.path},
                                {"libName", r.libName}});
        out += r.guid + u' ' + r.version + QStringLiteral("  ") + help + QStringLiteral("  ") +
               r.path + u'\n';
    }
    if (c.json)
        writeJson({{"libraries", list}});
    else
        writeText(out);
    return found.isEmpty() ? NothingOrDifferent : Done;
}

int progIds(CliContext& c) {
    const QString text = filterText(c);
    const QStringList& defs = c.machine().catalogs().PIDDefs();
    const QList<qint32> found = hits(defs, text);
    // Fields 2 to 5 of a record in a run of one class point back to the run's head.
    const auto field = [&defs](qint32 i, int column) {
        const QString f = GetTokenOrEmpty(column, defs[i]);
        const int back = backReference(f);
        return back && i + back >= 0 ? GetTokenOrEmpty(column, defs[i + back]) : f;
    };
    QJsonArray list;
    QString out;
    for (qint32 i : found) {
        const QString progId = GetTokenOrEmpty(1, defs[i]);
        const QString help = unquoted(field(i, 3));
        list.append(QJsonObject{{"progId", progId},
                                {"clsid", field(i, 2)},
                                {"helpString", help},
                                {"serverPath", field(i, 4)},
                                {"typeLib", field(i, 5)}});
        out += progId + u' ' + field(i, 2) + QStringLiteral("  ") + help + u'\n';
    }
    if (c.json)
        writeJson({{"progIds", list}});
    else
        writeText(out);
    return found.isEmpty() ? NothingOrDifferent : Done;
}

const Command kLibraries{
    "libraries",
    "libraries [TEXT]",
    "the type library catalog",
    "Lists the registered type library versions: GUID, version, help string and path. With\n"
    "TEXT, those whose help string contains it, ignoring case.\n",
    true,
    libraries};
const Command kProgIds{
    "progids",
    "progids [TEXT]",
    "the ProgID catalog",
    "Lists the ProgIDs with their class and help string. With TEXT, those whose help string\n"
    "contains it, ignoring case (a ProgID that shares the class of the one before it has no help\n"
    "string of its own in the catalog, so only the first of such a run is found by TEXT).\n",
    true,
    progIds};
const CommandRegistration kRegisterLibraries{kLibraries};
const CommandRegistration kRegisterProgIds{kProgIds};

} // namespace

} // namespace vantor::cli
