#include "app/lib_docs_commands.h"

#include "app/main_actions.h"
#include "browser/library_browser.h"

#include <QAction>
#include <QDesktopServices>
#include <QUrl>

namespace vantor {

LibDocsCommands::LibDocsCommands(const MainActions& actions, Window window,
                                 const QString& programFolder, const tli::TLIApplication* app,
                                 QObject* parent)
    : QObject(parent), actions_(actions), window_(std::move(window)),
      exporter_(*this, programFolder, app),
      open_([](const QString& path) { QDesktopServices::openUrl(QUrl::fromLocalFile(path)); }) {
    // An installed program folder gets its document folders on first use.
    createLibDocsFolders(programFolder);
    using Format = DocExporter::Format;
    const std::pair<const char*, std::function<void()>> commands[] = {
        {"docs.constants.vbscript", [this] { exporter_.exportConstants(ScriptDialect::VBScript); }},
        {"docs.constants.jscript", [this] { exporter_.exportConstants(ScriptDialect::JScript); }},
        {"docs.member_names", [this] { exporter_.exportMemberNames(); }},
        {"docs.export.rtf", [this] { exporter_.exportDocument(Format::RichText); }},
        {"docs.export.html", [this] { exporter_.exportDocument(Format::Html); }},
        {"docs.export.xml", [this] { exporter_.exportDocument(Format::Xml); }},
    };
    for (const auto& [name, run] : commands)
        connect(actions.find(QString::fromLatin1(name)), &QAction::triggered, this, run);
}

DocOptions LibDocsCommands::docOptions() const {
    const auto checked = [this](const char* name) {
        return actions_.find(QString::fromLatin1(name))->isChecked();
    };
    return {checked("docs.write_tree"), checked("docs.clipboard"), checked("docs.open"),
            checked("docs.group_by_kind")};
}

DocSource LibDocsCommands::docSource() const {
    const LibraryBrowser& b = window_.browser;
    if (!b.loaded())
        return {};
    return {&b.library(), b.typeInfoRows(), b.groupPairs()};
}

DocHead LibDocsCommands::docHead() const {
    const int row = window_.libraries.currentLibraryRow();
    const auto column = [&](int c) {
        return row >= 0 ? window_.libraries.libraryRowText(row, c) : QString();
    };
    return {column(LibraryListView::LibName), column(LibraryListView::HelpString),
            window_.frame.pathText(), QString()};
}

QString LibDocsCommands::rtfPrefix() const {
    return window_.frame.paneHeader();
}

void LibDocsCommands::setDocMode(qint32 mode) {
    window_.browser.setDocMode(mode);
}

void LibDocsCommands::flashStatus(const QString& text) {
    window_.frame.flashStatus(text);
}

void LibDocsCommands::setClipboardText(const QString& text) {
    window_.frame.setClipboardText(text);
}

} // namespace vantor
