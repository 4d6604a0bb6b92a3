#include "app/help_controller.h"

#include "app/help_settings.h"
#include "app/ini_file.h"
#include "app/list_rows.h"
#include "app/main_window.h"
#include "app/mru_view.h"
#include "app/settings_keys.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QTextBrowser>

namespace vantor {

namespace {

bool inside(const QWidget* widget, const QWidget* container) {
    return container && (widget == container || container->isAncestorOf(widget));
}

} // namespace

QString HelpController::programHelpFile(const QString& programFolder) {
    const QString own = QDir(programFolder).filePath(QStringLiteral("Vantor.chm"));
    if (QFileInfo::exists(own))
        return own;
    const QString installed = QDir(QCoreApplication::applicationDirPath())
                                  .filePath(QStringLiteral("../share/vantor/Vantor.chm"));
    return QFileInfo::exists(installed) ? QFileInfo(installed).canonicalFilePath() : own;
}

HelpController::HelpController(MainWindow& window, IniFile& ini, const help::HelpMachine& machine,
                               const QString& programFolder, const QString& programHelpFile,
                               QString readerProgram)
    : QObject(&window), window_(window), ini_(ini), machine_(machine),
      resolver_(help::readHelpConfig(readHelpSettings(ini), machine, programFolder), machine,
                programHelpFile, metaHelpReader(ini)),
      viewers_([this](const QString& text) { status(text); }, std::move(readerProgram)) {
    window_.Status(QStringLiteral("Loaded Meta Help INI OK"));
    window_.browser().setHelpLookup([this](qint32 number) { return lookup(number); });
    // "CHM: Force Keyword Lookup" looks the selected type up again.
    connect(window_.chmKeywordAction(), &QAction::toggled, this, [this] {
        const int row = window_.list1()->currentRow();
        const QList<qint16>& numbers = window_.browser().typeInfoNumbers();
        if (row >= 0 && row < numbers.size() && numbers[row] > 0 && lookup(numbers[row]))
            window_.toolbarButton(HelpButton)->setEnabled(true);
    });
    connect(window_.toolbarButton(HelpButton), &QAction::triggered, this, [this] {
        const QListWidget* members = window_.list2();
        helpFor(members->currentRow() >= 0 && members->currentItem()->isSelected()
                    ? window_.list2()
                    : window_.list1());
    });
    qApp->installEventFilter(this);
}

HelpController::~HelpController() {
    qApp->removeEventFilter(this);
}

void HelpController::status(const QString& text) {
    window_.Status(text);
    window_.enableTimer1();
}

bool HelpController::lookup(qint32 typeInfoNumber) {
    help::TypeHelpFacts facts;
    try {
        const tli::TypeInfoView info = window_.browser().library().typeInfo(typeInfoNumber - 1);
        facts = {info.guidText(), info.helpFile(), qint32(info.helpContext())};
    } catch (const std::exception&) {
        // A type that cannot be read has no help of its own.
    }
    return resolver_.HelpLookup(window_.pathBox()->currentText(), facts,
                                [this](const QString& text) { status(text); });
}

help::HelpRequest HelpController::requestFor(QWidget* widget) const {
    using Target = help::HelpRequest::Target;
    help::HelpRequest r;
    if (auto* menu = qobject_cast<QMenu*>(widget)) {
        r.target = Target::OtherMenu;
        if (window_.menuBar()->actions().contains(menu->menuAction())) {
            r.target = Target::MenuBarMenu;
            r.menuName = menu->title().remove(u'&');
        } else if (qobject_cast<MruView*>(menu->parentWidget())) {
            r.target = Target::MruMenu;
        }
        return r;
    }
    QComboBox* searchBox = nullptr;
    for (QComboBox* box : window_.findChildren<QComboBox*>())
        if (box != window_.pathBox() && box->isEditable())
            searchBox = box;
    const std::pair<QWidget*, Target> windows[] = {{window_.list1(), Target::TypeList},
                                                   {window_.list2(), Target::MemberList},
                                                   {window_.mruView(), Target::MruList},
                                                   {window_.pane(), Target::Pane},
                                                   {searchBox, Target::SearchBox},
                                                   {window_.pathBox(), Target::PathBox},
                                                   {window_.statusLine(), Target::StatusLine}};
    for (const auto& [w, target] : windows)
        if (inside(widget, w))
            r.target = target;
    return r;
}

help::HelpSelection HelpController::selection() const {
    help::HelpSelection s;
    const LibraryBrowser& browser = window_.browser();
    const int row = window_.list1()->currentRow();
    if (row >= 0 && row < browser.typeInfoRows().size() && window_.list1()->currentItem() &&
        window_.list1()->currentItem()->isSelected()) {
        s.typeSelected = true;
        s.typeCaption = browser.typeInfoRows()[row].text;
        s.typeItemData = browser.typeInfoRows()[row].itemData;
        s.categoryCode = browser.categoryCodes().value(row);
        const qint16 number = browser.typeInfoNumbers().value(row);
        if (number > 0) {
            try {
                const tli::TypeInfoView info = browser.library().typeInfo(number - 1);
                s.typeKind = int(info.kind());
                if (const std::optional<tli::TypeInfoView> def = info.defaultInterface())
                    s.defaultInterfaceName = def->name();
            } catch (const std::exception&) {
                // Keyword mode then gives no type keywords.
            }
        }
    }
    const QListWidgetItem* member = window_.list2()->currentItem();
    if (member && member->isSelected()) {
        s.memberSelected = true;
        s.memberText = member->text();
        s.invokeKinds = member->data(ListRowDelegate::kRowDataRole).toInt();
    }
    s.memberIsFunction = browser.memberIsFunction();
    s.helpButtonEnabled = window_.toolbarButton(HelpButton)->isEnabled();
    s.forceKeyword = window_.chmKeywordAction()->isChecked();
    return s;
}

int HelpController::helpFor(QWidget* widget) {
    const help::HelpCall call = resolver_.ShowContextHelp(requestFor(widget), selection());
    if (!call.status.isEmpty())
        status(call.status);
    if (call.viewer == help::HelpCall::Viewer::Html)
        viewers_.ShowHtmlHelp(machine_.hostPath(call.file), call.context, call.topic);
    return call.result;
}

bool HelpController::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &window_ && event->type() == QEvent::Close) {
        viewers_.closeAll();
        return false;
    }
    if (event->type() != QEvent::KeyPress || static_cast<QKeyEvent*>(event)->key() != Qt::Key_F1)
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || (widget->window() != &window_ && !qobject_cast<QMenu*>(widget)))
        return false;
    if (qobject_cast<QMenu*>(widget)) {
        // Help replaces the open menus.
        for (int open = 0; open < 8 && QApplication::activePopupWidget(); ++open)
            QApplication::activePopupWidget()->close();
    }
    helpFor(widget);
    return true;
}

} // namespace vantor
