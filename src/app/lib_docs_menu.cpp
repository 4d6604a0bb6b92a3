#include "app/lib_docs_menu.h"

#include "browser/library_browser.h"

#include <QDesktopServices>
#include <QMenu>
#include <QUrl>

namespace vantor {

LibDocsMenu::LibDocsMenu(QMenu* menu, Window window, const QString& programFolder,
                         const tli::TLIApplication* app)
    : QObject(menu), window_(std::move(window)), exporter_(*this, programFolder, app),
      open_([](const QString& path) { QDesktopServices::openUrl(QUrl::fromLocalFile(path)); }) {
    // An installed program folder gets its document folders on first use.
    createLibDocsFolders(programFolder);
    QMenu* constants = menu->addMenu(QStringLiteral("Export All Constants"));
    connect(constants->addAction(QStringLiteral("As VBScript")), &QAction::triggered, this,
            [this] { exporter_.exportConstants(ScriptDialect::VBScript); });
    connect(constants->addAction(QStringLiteral("As JScript")), &QAction::triggered, this,
            [this] { exporter_.exportConstants(ScriptDialect::JScript); });
    connect(menu->addAction(QStringLiteral("Export All Member Names")), &QAction::triggered, this,
            [this] { exporter_.exportMemberNames(); });
    QMenu* format = menu->addMenu(QStringLiteral("Export Docs"));
    for (const auto& [caption, f] : {std::pair{"As RichText", DocExporter::Format::RichText},
                                     {"As HTML", DocExporter::Format::Html},
                                     {"As Abstract XML", DocExporter::Format::Xml}})
        connect(format->addAction(QString::fromLatin1(caption)), &QAction::triggered, this,
                [this, f = f] { exporter_.exportDocument(f); });
    menu->addSeparator();
    const auto option = [menu](const char* caption, bool checked) {
        QAction* a = menu->addAction(QString::fromLatin1(caption));
        a->setCheckable(true);
        a->setChecked(checked);
        return a;
    };
    const DocOptions initial;
    write_ = option("Write to Vantor tree", initial.writeToTree);
    copy_ = option("Copy to Clipboard", initial.copyToClipboard);
    openOption_ = option("Open in Default Application", initial.openInDefaultApplication);
    group_ = option("Group Docs by TypeKind", initial.groupByKind);
}

DocOptions LibDocsMenu::docOptions() const {
    return {write_->isChecked(), copy_->isChecked(), openOption_->isChecked(), group_->isChecked()};
}

DocSource LibDocsMenu::docSource() const {
    const LibraryBrowser& b = window_.browser;
    if (!b.loaded())
        return {};
    return {&b.library(), b.typeInfoRows(), b.groupPairs()};
}

DocHead LibDocsMenu::docHead() const {
    const int row = window_.libraries.currentLibraryRow();
    const auto column = [&](int c) {
        return row >= 0 ? window_.libraries.libraryRowText(row, c) : QString();
    };
    return {column(LibraryListView::LibName), column(LibraryListView::HelpString),
            window_.frame.pathText(), QString()};
}

QString LibDocsMenu::rtfPrefix() const {
    return window_.frame.paneHeader();
}

void LibDocsMenu::setDocMode(qint32 mode) {
    window_.browser.setDocMode(mode);
}

void LibDocsMenu::flashStatus(const QString& text) {
    window_.frame.flashStatus(text);
}

void LibDocsMenu::setClipboardText(const QString& text) {
    window_.frame.setClipboardText(text);
}

void LibDocsMenu::openFile(const QString& path) {
    open_(path);
}

} // namespace vantor
