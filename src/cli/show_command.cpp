// show LIBRARY [TYPE [MEMBER]]: what the window's lists and pane show, as plain text.
#include "catalog/type_lib_record.h"
#include "cli/cli_command.h"
#include "cli/cli_machine.h"
#include "cli/headless_browser.h"
#include "cli/library_argument.h"
#include "cli/pane_text.h"
#include "text/error.h"

#include <QJsonArray>

namespace vantor::cli {

namespace {

QJsonArray rowsJson(const QList<tli::ListRow>& rows, const char* dataName) {
    QJsonArray list;
    for (const tli::ListRow& row : rows)
        list.append(QJsonObject{{"name", row.text}, {dataName, row.itemData}});
    return list;
}

QString rowsText(const QList<tli::ListRow>& rows) {
    QString out;
    for (const tli::ListRow& row : rows)
        out += QStringLiteral("  ") + row.text + u'\n';
    return out;
}

Error notFound(const QString& what, const QString& name) {
    return Error(Error::InvalidCall, QStringLiteral("vantor-cli"),
                 QStringLiteral("no ") + what + QStringLiteral(" named ") + name);
}

int show(CliContext& c) {
    const QStringList args = c.args.positional(1, 3);
    CliMachine& m = c.machine();
    const qint32 record = catalogRecord(m, args[0]);
    HeadlessBrowser browser(m.application(), m.catalogs(), m.ini(), m.programFolder());
    browser.open(record);
    const tli::TypeLibInfo& lib = browser.library();
    QJsonObject json{
        {"library",
         QJsonObject{
             {"name", lib.name()},
             {"guid", lib.guidText()},
             {"version", QStringLiteral("%1.%2").arg(lib.majorVersion()).arg(lib.minorVersion())},
             {"path", browser.path()}}}};
    QString lists;
    if (args.size() == 1) {
        json.insert("types", rowsJson(browser.typeRows(), "searchData"));
        lists = QStringLiteral("\nTypes:\n") + rowsText(browser.typeRows());
    } else {
        if (!browser.selectType(args[1]))
            throw notFound(QStringLiteral("type"), args[1]);
        json.insert("type", args[1]);
        if (args.size() == 2) {
            json.insert("members", rowsJson(browser.memberRows(), "invokeKinds"));
            lists = QStringLiteral("\nMembers:\n") + rowsText(browser.memberRows());
        } else {
            if (!browser.selectMember(args[2]))
                throw notFound(QStringLiteral("member"), args[2]);
            json.insert("member", args[2]);
        }
    }
    const QString pane = paneText(browser.pane());
    json.insert("pane", pane);
    if (c.json)
        writeJson(json);
    else
        writeText(pane + lists);
    return Done;
}

const Command kShow{
    "show",
    "show LIBRARY [TYPE [MEMBER]]",
    "a library's types, a type's members, a declaration",
    "Shows what the window shows: for a library its summary and its types, for a type its\n"
    "summary and its members, for a member its declaration, in plain text. Names ignore case.\n"
    "JSON: {\"library\": {name, guid, version, path}, \"types\" or \"members\": [{name, ...}],\n"
    "\"type\", \"member\", \"pane\": the pane's text}.\n",
    true,
    show};
const CommandRegistration kRegister{kShow};

} // namespace

} // namespace vantor::cli
