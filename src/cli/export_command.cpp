// export LIBRARY --format ...: the library documents, byte for byte as the window's LibDocs menu
// writes them for that library.
#include "app/help_settings.h"
#include "catalog/type_lib_record.h"
#include "cli/cli_command.h"
#include "cli/cli_machine.h"
#include "cli/headless_browser.h"
#include "cli/library_argument.h"
#include "help/help_resolver.h"
#include "help/machine_help.h"
#include "text/atomic_file.h"
#include "text/error.h"
#include "tli/search_data.h"

#include <cstdio>

namespace vantor::cli {

namespace {

const std::pair<const char*, DocOutput> kFormats[] = {
    {"names", DocOutput::MemberNames}, {"vbscript", DocOutput::VBScript},
    {"jscript", DocOutput::JScript},   {"rtf", DocOutput::RichText},
    {"html", DocOutput::Html},         {"xml", DocOutput::Xml},
};

DocOutput outputOf(const QString& format) {
    for (const auto& [name, output] : kFormats)
        if (format == QLatin1String(name))
            return output;
    throw UsageError(format.isEmpty() ? QStringLiteral("--format is missing")
                                      : QStringLiteral("unknown format ") + format);
}

// The help file help lookup finds for the library's first type, as the window's documents
// name it once that type was selected.
QString helpFile(CliMachine& m, const HeadlessBrowser& browser) {
    const help::StoreHelpMachine machine(m.store(), m.paths());
    help::HelpResolver resolver(
        help::readHelpConfig(readHelpSettings(m.ini()), machine, m.programFolder()), machine,
        QString(), metaHelpReader(m.ini()));
    for (const tli::ListRow& row : browser.typeRows()) {
        if (tli::isGlobalsSearchData(row.itemData))
            continue;
        const tli::TypeInfoView info =
            browser.library().typeInfo(tli::typeInfoNumber(row.itemData));
        resolver.HelpLookup(browser.path(),
                            {info.guidText(), info.helpFile(), qint32(info.helpContext())},
                            [](const QString&) {});
        break;
    }
    return resolver.mbrHelpFile();
}

int exportDocument(CliContext& c) {
    const DocOutput output = outputOf(c.args.takeValue(QStringLiteral("--format")));
    const QString file = c.args.takeValue(QStringLiteral("-o"));
    const bool listOrder = c.args.takeFlag(QStringLiteral("--list-order"));
    const QStringList args = c.args.positional(1, 1);
    CliMachine& m = c.machine();
    const qint32 record = catalogRecord(m, args[0]);
    HeadlessBrowser browser(m.application(), m.catalogs(), m.ini(), m.programFolder());
    browser.setGroupByKind(!listOrder);
    browser.open(record);
    const QString help = helpFile(m, browser);
    browser.exporter().setHelpFile([help] { return help; });
    const std::optional<DocExporter::Document> document = browser.exporter().document(output);
    if (!document) {
        std::fprintf(stderr, "vantor-cli: %s has no constants\n",
                     qPrintable(browser.library().name()));
        return NothingOrDifferent;
    }
    if (file.isEmpty()) {
        writeOut(document->bytes);
        return Done;
    }
    QString error;
    if (!writeFileAtomically(file, document->bytes, &error))
        throw Error(Error::PathAccess, QStringLiteral("vantor-cli"),
                    QStringLiteral("cannot write ") + file + QStringLiteral(": ") + error);
    return Done;
}

const Command kExport{
    "export",
    "export LIBRARY --format names|vbscript|jscript|rtf|html|xml [-o FILE] [--list-order]",
    "a library document, as the LibDocs menu writes it",
    "Writes a library document to standard output, or to FILE: the member names, the constants\n"
    "as a VBScript or JScript include, or the library document as RTF, HTML or XML. The bytes\n"
    "are those the window's LibDocs menu writes for the library: types grouped by kind in the\n"
    "TKOrder of vantor.ini, or in list order with --list-order. A library without constants\n"
    "gives no include file (status 1).\n",
    false,
    exportDocument};
const CommandRegistration kRegister{kExport};

} // namespace

} // namespace vantor::cli
