#include "app/search_commands.h"

#include "app/ini_file.h"
#include "app/settings_keys.h"
#include "browser/library_browser.h"
#include "catalog/catalog_frame.h"
#include "search/search_mode.h"
#include "text/error.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QShortcut>

namespace vantor {

SearchCommands::SearchCommands(Host host, Controls controls)
    : host_(std::move(host)), controls_(controls) {
    QWidget* owner = host_.panes->window();
    window_ = std::make_unique<SearchWindow>(
        owner,
        [panes = host_.panes] { return QRect(panes->mapToGlobal(QPoint(0, 0)), panes->size()); },
        [this](const std::function<void()>& action) { guarded(action); });
    IniFile* ini = &host_.ini;
    const QString section = QString::fromLatin1(settings::JoinFixSection);
    JoinFixSettings joinFix{
        [ini, section](const QString& key) { return ini->ReadIni(section, key, QString()); },
        [ini, section](const QString& key, const QString& guid) {
            ini->WriteIni(section, key, guid);
        }};
    search_ = std::make_unique<HelpStringSearch>(static_cast<SearchFrame&>(*this), *window_,
                                                 host_.machine, joinFix);
    window_->setSearch(search_.get());

    auto* group = new QActionGroup(this);
    for (int i = 0; i < kSearchModeCount; ++i) {
        group->addAction(controls_.modes[i]);
        connect(controls_.modes[i], &QAction::triggered, this,
                [this, i] { guarded([&] { search_->mnuSrch_Click(i); }); });
    }
    connect(controls_.find->lineEdit(), &QLineEdit::returnPressed, this,
            [this] { guarded([this] { search_->FindEnter(); }); });
    auto* find = new QShortcut(QKeySequence::Find, owner);
    connect(find, &QShortcut::activated, this, [this] { focusFind(); });
    // Each run starts searching help strings of type libraries.
    search_->mnuSrch_Click(int(SearchMode::TypeLibHelpString));
}

SearchCommands::~SearchCommands() {
    // The window goes first: its close reaches the search.
    window_->setSearch(nullptr);
    window_->setAnywhere(nullptr);
}

void SearchCommands::useSymbolIndex(const QString& path,
                                    std::function<QString(const QString&)> hostPath) {
    search_->setAnywhere(nullptr);
    window_->setAnywhere(nullptr);
    anywhere_ = std::make_unique<AnywhereSearch>(static_cast<AnywhereFrame&>(*this), *window_, path,
                                                 std::move(hostPath), this);
    search_->setAnywhere(anywhere_.get());
    window_->setAnywhere(anywhere_.get());
}

void SearchCommands::catalogLoaded(const QStringList& typeLibRecords) {
    if (anywhere_)
        guarded([&] { anywhere_->catalogLoaded(typeLibRecords); });
}

void SearchCommands::guarded(const std::function<void()>& action) {
    try {
        action();
    } catch (const Error& e) {
        status(e.description());
    } catch (const std::exception& e) {
        status(QString::fromLocal8Bit(e.what()));
    }
}

void SearchCommands::status(const QString& text) {
    host_.frame.Status(text);
}

void SearchCommands::processEvents() {
    host_.frame.ProcessPendingEvents();
}

QString SearchCommands::findText() const {
    return controls_.find->currentText();
}

void SearchCommands::setFindText(const QString& text) {
    controls_.find->setEditText(text);
}

QStringList SearchCommands::findHistory() const {
    QStringList texts;
    for (int i = 0; i < controls_.find->count(); ++i)
        texts.append(controls_.find->itemText(i));
    return texts;
}

void SearchCommands::addFindHistory(const QString& text) {
    const QString typed = controls_.find->currentText();
    controls_.find->addItem(text);
    controls_.find->setEditText(typed);
}

void SearchCommands::focusFind() {
    controls_.find->setFocus(Qt::ShortcutFocusReason);
    controls_.find->lineEdit()->selectAll();
}

void SearchCommands::showMode(SearchMode mode, const SearchModeLook& look) {
    controls_.modes[int(mode)]->setChecked(true);
    QComboBox* find = controls_.find;
    find->setToolTip(look.toolTip);
    QPalette p = QApplication::palette(find);
    if (look.background) {
        const unsigned bgr = *look.background;
        p.setColor(QPalette::Base, QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF));
    }
    find->setPalette(p);
    for (const PopupCommands::Command item :
         {PopupCommands::HtmlObjectTag, PopupCommands::TypeInfo, PopupCommands::AllowInstantiation})
        host_.browser.popupCommands().setAllowedBySearch(item, look.classItemsAllowed);
}

bool SearchCommands::allowInstantiation() const {
    return controls_.allowInstantiation->isChecked();
}

bool SearchCommands::showHidden() const {
    return controls_.showHidden->isChecked();
}

bool SearchCommands::loadLibrary(const QString& path) {
    return host_.browser.openPath(path);
}

bool SearchCommands::selectMember(const QString& name) {
    return host_.browser.selectMember(name);
}

bool SearchCommands::autoBrowseToClass() const {
    return controls_.autoBrowseToClass->isChecked();
}

void SearchCommands::openLibrary(const QString& path) {
    host_.browser.openPath(path);
}

const tli::TypeLibInfo* SearchCommands::loadedLibrary() const {
    const tli::TypeLibInfo& library = host_.browser.library();
    return library.isOpen() ? &library : nullptr;
}

bool SearchCommands::selectTypeInfo(const QString& name) {
    return host_.browser.selectTypeInfo(name);
}

void SearchCommands::setClipboardText(const QString& text) {
    QGuiApplication::clipboard()->clear();
    QGuiApplication::clipboard()->setText(text);
}

void SearchCommands::focusTypeInfoList() {
    host_.typeInfoList->setFocus();
}

} // namespace vantor
