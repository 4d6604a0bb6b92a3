#include "app/main_window.h"

#include "app/browser_export_commands.h"
#include "app/icon_set.h"
#include "app/lib_docs_commands.h"
#include "app/list_rows.h"
#include "app/main_actions.h"
#include "app/mru_view.h"
#include "app/path_box_typing.h"
#include "app/popup_menu_commands.h"
#include "app/program_folder.h"
#include "app/properties_dialog.h"
#include "app/search_commands.h"
#include "app/settings_keys.h"
#include "app/settings_save.h"
#include "app/window_browser_frame.h"
#include "catalog/catalogs.h"
#include "text/error.h"
#include "tli/search_data.h"
#include "tli/tli_application.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QFile>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QTextBrowser>
#include <QToolBar>
#include <QVBoxLayout>
#include <cmath>

namespace vantor {

namespace {

const QString kReady = QStringLiteral("Ready...  ");

QRect toPixels(const Rect& r, int tppx, int tppy) {
    return QRect(static_cast<int>(std::lround(r.left / tppx)),
                 static_cast<int>(std::lround(r.top / tppy)),
                 static_cast<int>(std::lround(r.width / tppx)),
                 static_cast<int>(std::lround(r.height / tppy)));
}

// fklCHM: a value above 0, or one that is not a number, checks the item.
bool chmChecked(const QString& value) {
    bool ok = false;
    const double v = value.trimmed().toDouble(&ok);
    return !ok || v > 0;
}

} // namespace

MainWindow::MainWindow(IniFile& ini, Services services, QWidget* parent)
    : QMainWindow(parent), ini_(ini), services_(std::move(services)) {
    setWindowTitle(QStringLiteral("Vantor"));
    if (!services_.message)
        services_.message = [this](const QString& text) {
            QMessageBox::information(this, QStringLiteral("Vantor"), text);
        };
    const tli::TLIApplication* app = services_.application;
    if (!app) {
        ownApplication_ = std::make_unique<tli::TLIApplication>(nullptr, nullptr);
        app = ownApplication_.get();
    }
    const int splitterBar = 6 * twipsPerPixelX();
    metrics_ = LayoutMetrics::make(splitterBar, ini_.ReadIni(settings::LVHght).toDouble(),
                                   twipsPerPixelY());

    central_ = new QWidget(this);
    setCentralWidget(central_);
    strip_ = new QWidget(central_);
    buildToolbar(strip_);
    buildLists();
    buildLowerArea();
    frame_ = std::make_unique<WindowBrowserFrame>(
        WindowBrowserFrame::Widgets{pathBox_, list1_, list2_, caption2_, pane_}, *actions_, ini_,
        [this](const QString& text) {
            Status(text);
            enableTimer1();
        });
    connectActions();
    browser_ = std::make_unique<LibraryBrowser>(*frame_, *mru_, *app);
    libDocs_ = new LibDocsCommands(*actions_,
                                   {*frame_, *mru_, *browser_, [this](bool on) { SetBusy(on); }},
                                   ProgramFolder(), app, this);
    new BrowserExportCommands(
        *actions_,
        {[this] { return catalogs_; }, *this, ini_, services_.message, [this] { enableTimer1(); }},
        ProgramFolder(), this);
    popupCommands_ =
        new PopupMenuCommands(*actions_,
                              {*frame_, *browser_, list2_, pane_, mru_, services_.message,
                               [this](bool on) { SetBusy(on); }, [this] { onBrowseCommand(); }},
                              *app, this);
    browser_->popupCommands().onChange([this](int command) { showPopupCommand(command); });
    search_ = std::make_unique<SearchCommands>(
        SearchCommands::Host{*this, *browser_, *app, ini_, [this] { enableTimer1(); },
                             services_.message, lists_, list1_},
        SearchCommands::Controls{find_,
                                 {actions_->find(QStringLiteral("search.typelib_help")),
                                  actions_->find(QStringLiteral("search.progid_help")),
                                  actions_->find(QStringLiteral("search.progid")),
                                  actions_->find(QStringLiteral("search.anywhere"))},
                                 actions_->popup(PopupCommands::AllowInstantiation),
                                 actions_->popup(PopupCommands::AutoBrowse),
                                 actions_->popup(PopupCommands::ShowHidden)});
    for (int c = 0; c < PopupCommands::Count; ++c)
        showPopupCommand(c);

    timer1_.setInterval(2000);
    timer1_.setSingleShot(true);
    connect(&timer1_, &QTimer::timeout, this, [this] { guarded([this] { onTimer1(); }); });
    setMinimumWidth(480);
}

MainWindow::~MainWindow() = default;

void MainWindow::guarded(const std::function<void()>& action) {
    try {
        action();
    } catch (const Error& e) {
        Status(e.description());
    } catch (const std::exception& e) {
        Status(QString::fromLocal8Bit(e.what()));
    }
}

int MainWindow::twipsPerPixelX() const {
    const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
    const double dpi = s ? s->logicalDotsPerInchX() : 96;
    return std::max(1, static_cast<int>(std::lround(1440 / dpi)));
}

int MainWindow::twipsPerPixelY() const {
    const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
    const double dpi = s ? s->logicalDotsPerInchY() : 96;
    return std::max(1, static_cast<int>(std::lround(1440 / dpi)));
}

void MainWindow::buildToolbar(QWidget* strip) {
    auto* row = new QHBoxLayout(strip);
    row->setContentsMargins(2, 2, 2, 2);
    toolbar_ = new QToolBar(strip);
    toolbar_->setIconSize(QSize(16, 16));
    toolbar_->setToolButtonStyle(Qt::ToolButtonIconOnly);
    actions_ =
        std::make_unique<MainActions>(*this, *toolbar_, chmChecked(ini_.ReadIni(settings::fklCHM)));
    for (int number = 1; number <= ToolbarButtonCount; ++number)
        if (QAction* a = actions_->button(number); !a->isSeparator())
            connect(a, &QAction::triggered, this,
                    [this, number] { guarded([&] { tbrMain_ButtonClick(number); }); });
    row->addWidget(toolbar_);
    row->addStretch(1);

    findBand_ = new QWidget(strip);
    auto* band = new QHBoxLayout(findBand_);
    band->setContentsMargins(0, 0, 0, 0);
    band->addWidget(new QLabel(QStringLiteral("HelpStrings"), findBand_));
    find_ = new QComboBox(findBand_);
    find_->setEditable(true);
    find_->setFont(QFont(QStringLiteral("Courier New"), 9));
    find_->setToolTip(QStringLiteral("Search the TypeLib Help Strings"));
    find_->setInsertPolicy(QComboBox::NoInsert);
    band->addWidget(find_, 1);
    row->addWidget(findBand_);
}

void MainWindow::buildLists() {
    lists_ = new QSplitter(Qt::Horizontal, central_);
    lists_->setHandleWidth(6);
    lists_->setChildrenCollapsible(false);
    auto makePanel = [this](const QString& caption, QLabel*& label, QListWidget*& list) {
        auto* panel = new QWidget(lists_);
        auto* col = new QVBoxLayout(panel);
        col->setContentsMargins(0, 0, 0, 0);
        col->setSpacing(1);
        label = new QLabel(caption, panel);
        label->setFixedHeight(300 / twipsPerPixelY());
        list = new QListWidget(panel);
        list->setUniformItemSizes(true);
        list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        // The popup opens on the right button's release (eventFilter), not on its press.
        list->setContextMenuPolicy(Qt::PreventContextMenu);
        list->installEventFilter(this);
        list->viewport()->installEventFilter(this);
        col->addWidget(label);
        col->addWidget(list, 1);
        lists_->addWidget(panel);
    };
    makePanel(QStringLiteral("TypeInfos"), caption1_, list1_);
    makePanel(QStringLiteral("Members"), caption2_, list2_);
    list1_->setItemDelegate(new ListRowDelegate(
        [](const QModelIndex& i) { return i.data(ListRowDelegate::kRowDataRole).toInt(); },
        list1_));
    list2_->setItemDelegate(
        new ListRowDelegate([this](const QModelIndex& i) { return memberImage(i); }, list2_));
    list2_->setEnabled(false); // until the first type is shown
    // A row is clicked by the mouse's release, or chosen with the keyboard; selections the
    // browser makes itself run no click.
    const auto clicked = [this](QListWidget* list) {
        guarded([&] {
            if (list == list1_)
                browser_->TypeInfoClicked(list->currentRow());
            else
                browser_->MemberClicked(list->currentRow());
        });
    };
    for (QListWidget* l : {list1_, list2_}) {
        connect(l, &QListWidget::itemClicked, this, [clicked, l] { clicked(l); });
        connect(l, &QListWidget::currentRowChanged, this, [this, clicked, l] {
            if (!frame_->selecting() && l->hasFocus() &&
                QGuiApplication::mouseButtons() == Qt::NoButton)
                clicked(l);
        });
    }
}

int MainWindow::memberImage(const QModelIndex& index) const {
    bool constantType = false;
    if (const QListWidgetItem* row = list1_->currentItem())
        constantType = tli::isConstantSearchData(row->data(Qt::UserRole).toInt());
    return memberImageIndex(index.data(ListRowDelegate::kRowDataRole).toInt(), constantType);
}

void MainWindow::buildLowerArea() {
    lower_ = new QWidget(central_);
    pane_ = new QTextBrowser(lower_);
    pane_->setOpenLinks(false);
    pane_->setOpenExternalLinks(false);
    pane_->setTabChangesFocus(true);
    pane_->setContextMenuPolicy(Qt::PreventContextMenu);
    pane_->viewport()->installEventFilter(this);
    connect(pane_, &QTextBrowser::anchorClicked, this,
            [this](const QUrl& url) { guarded([&] { onPaneAnchor(url); }); });
    const QString back = ini_.ReadIni(settings::RTFBackClr);
    bool ok = false;
    const uint rgb = back.toUInt(&ok, 16);
    if (ok && back.compare(QLatin1String("80000016"), Qt::CaseInsensitive) != 0) {
        QPalette p = pane_->palette();
        // The stored value is a Windows colour: blue in the high byte.
        p.setColor(QPalette::Base, QColor(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF));
        pane_->setPalette(p);
    }

    pathBox_ = new QComboBox(lower_);
    pathBox_->setEditable(true);
    pathBox_->setInsertPolicy(QComboBox::NoInsert);
    pathBox_->setFont(QFont(QStringLiteral("Courier New"), 9));
    pathBox_->setMaxVisibleItems(20);
    connect(pathBox_->lineEdit(), &QLineEdit::returnPressed, this,
            [this] { guarded([this] { onBrowseCommand(); }); });
    new PathBoxTyping(pathBox_, [this] { return catalogs_ ? &catalogs_->pathBox() : nullptr; });
    browse_ = new QPushButton(QStringLiteral("..."), lower_);
    browse_->setToolTip(QStringLiteral("Browse Typelib"));
    browse_->setFocusPolicy(Qt::NoFocus);
    connect(browse_, &QPushButton::clicked, this,
            [this] { guarded([this] { onBrowseCommand(); }); });
    quit_ = new QPushButton(QStringLiteral("End"), lower_);
    quit_->setFocusPolicy(Qt::ClickFocus);
    connect(quit_, &QPushButton::clicked, this, [this] { close(); });

    mru_ = new MruView(ini_, services_.fileIcon, lower_);
    mru_->setFont(QFont(QStringLiteral("Tahoma"), 8));
    connect(mru_, &MruView::statusMessage, this, [this](const QString& t) {
        Status(t);
        enableTimer1();
    });
    connect(mru_, &MruView::browseRequested, this, [this] {
        QTimer::singleShot(10, this, [this] { guarded([this] { BrowseFromLV(); }); });
    });

    status_ = new QLineEdit(QStringLiteral(" Loading... Wait"), lower_);
    status_->setReadOnly(true);
    progress_ = new ProgressStrip(lower_);
    progress_->setFocusPolicy(Qt::NoFocus);
    setTabOrder(pathBox_, mru_);
    setTabOrder(mru_, list1_);
    setTabOrder(list1_, list2_);
    setTabOrder(list2_, status_);
}

void MainWindow::connectActions() {
    const auto on = [this](const char* name, std::function<void()> action) {
        connect(actions_->find(QString::fromLatin1(name)), &QAction::triggered, this,
                [this, action] { guarded(action); });
    };
    connect(actions_->find(QStringLiteral("view.on_top")), &QAction::toggled, this,
            [this](bool on) {
                setWindowFlag(Qt::WindowStaysOnTopHint, on);
                show();
            });
    on("view.properties", [this] { showProperties(); });
    on("view.refresh", [this] { onRefresh(); });
    on("view.wscript", [this] { ChooseLib(ini_.ReadIni(settings::lt_Home)); });
    on("about.app_info", [this] {
        QMessageBox::about(this, QStringLiteral("About Vantor"),
                           QStringLiteral("<b>Vantor</b> %1<br>A browser for COM type libraries "
                                          "and ProgIDs.")
                               .arg(QCoreApplication::applicationVersion()));
    });
}

void MainWindow::setCatalogs(Catalogs* catalogs, std::function<qint32(qint32)> loadDefs) {
    catalogs_ = catalogs;
    loadDefs_ = std::move(loadDefs);
    mru_->setPathBox(catalogs ? &catalogs->pathBox() : nullptr);
    browser_->setCatalogs(catalogs);
    popupCommands_->commands().setCatalogs(catalogs);
    search_->search().setCatalogs(catalogs);
}

void MainWindow::Status(const QString& text) {
    status_->setText(text);
    status_->setCursorPosition(0);
    const bool cut =
        status_->fontMetrics().horizontalAdvance(text) > status_->contentsRect().width();
    status_->setToolTip(cut ? text : QString());
}

void MainWindow::ProgressMax(qint64 max) {
    progress_->setMaximum(max);
}
void MainWindow::ProgressValue(qint64 value) {
    progress_->setValue(value);
}

void MainWindow::ShowPaneRtf(const QString& rtf) {
    frame_->showPane(rtf);
}

void MainWindow::SetBusy(bool busy) {
    if (busy == busy_)
        return;
    busy_ = busy;
    if (busy)
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QGuiApplication::restoreOverrideCursor();
}

void MainWindow::ProcessPendingEvents() {
    QCoreApplication::processEvents();
}

void MainWindow::enableTimer1(const QString& tag) {
    timer1Tag_ = tag;
    timer1_.start();
}

void MainWindow::onTimer1() {
    Status(kReady);
    timer1_.stop();
    if (timer1Tag_ == QLatin1String("LoadDefs")) {
        timer1Tag_.clear();
        RunLoadDefs(1);
    }
}

void MainWindow::RunLoadDefs(qint32 always) {
    goodLoadDef_ = loadDefs_ ? loadDefs_(always) : 1;
    fillPathBox();
    emit catalogsLoaded();
}

void MainWindow::fillPathBox() {
    pathBox_->clear();
    if (!catalogs_)
        return;
    for (const PathBoxEntry& e : catalogs_->pathBox())
        pathBox_->addItem(e.text, e.itemData);
    pathBox_->setCurrentIndex(-1);
    pathBox_->setEditText(QString());
}

bool MainWindow::SelTypInfo(qint32 index, const QString& typeInfo) {
    return browser_->SelTypInfo(index, typeInfo);
}

bool MainWindow::ChooseLib(const QString& reference) {
    return browser_->ChooseLib(reference);
}

void MainWindow::LVLoadMRU() {
    mru_->LVLoadMRU(catalogs_ ? catalogs_->TLDefs() : QStringList());
}

void MainWindow::BrowseFromLV() {
    const QTreeWidgetItem* row = mru_->currentItem();
    if (!row)
        return;
    SetBusy(true);
    browser_->BrowseFromListRow(MruView::itemData(row), row->text(MruView::TypeLib),
                                row->text(MruView::Version));
    SetBusy(false);
}

void MainWindow::onBrowseCommand() {
    if (pathBox_->currentText().isEmpty()) {
        browser_->clear();
        services_.message(QStringLiteral("Scroll down and choose a TypeLib"));
        return;
    }
    browser_->nGetTypInfos();
    list1_->setFocus();
}

void MainWindow::onPaneAnchor(const QUrl& url) {
    // The text browser hands the href over as a URL, which percent-encodes "|", braces and
    // blanks: undo that to get the link text back as it was.
    browser_->LinkClicked(QUrl::fromPercentEncoding(url.toEncoded()));
}

void MainWindow::onRefresh() {
    if (loadDefs_)
        RunLoadDefs(0);
    ChooseLib(ini_.ReadIni(settings::lt_Last));
    pathBox_->setFocus();
}

void MainWindow::showProperties() {
    const QString path = pathBox_->currentText();
    if (path.isEmpty())
        return;
    QString host = services_.hostPath ? services_.hostPath(path) : path;
    if (host.size() >= 2 && host.at(host.size() - 2) == u'\\')
        host.chop(2);
    showPropertiesDialog(this, path, host);
}

void MainWindow::tbrMain_ButtonClick(int button) {
    switch (button) {
    case BackButton:
        browser_->Back();
        break;
    case ForwardButton:
        browser_->Forward();
        break;
    case CopyButton:
        copySelectedRow(list2_->hasFocus() ? list2_ : list1_);
        break;
    case MinimizePaneButton: {
        layoutState_.lowerHeight = metrics_.lowerMinimum;
        layoutState_.listHeight = central_->height() * twipsPerPixelY() - 550 -
                                  metrics_.lowerMinimum - 2 * metrics_.margin;
        applyLayout();
        actions_->button(MinimizePaneButton)->setEnabled(false);
        break;
    }
    case SearchButton:
        search_->search().ToolbarSearch();
        break;
    case NextInterfaceButton:
        browser_->NextInterface();
        break;
    default:
        break;
    }
}

void MainWindow::copySelectedRow(QListWidget* list) {
    const QListWidgetItem* row = list->currentItem();
    if (row && row->isSelected())
        QGuiApplication::clipboard()->setText(row->text());
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    // The right button leaves the lists' selection alone: a row it moved to would not be shown.
    if ((event->type() == QEvent::MouseButtonPress ||
         event->type() == QEvent::MouseButtonDblClick) &&
        (watched == list1_->viewport() || watched == list2_->viewport()) &&
        static_cast<QMouseEvent*>(event)->button() == Qt::RightButton)
        return true;
    if (event->type() == QEvent::MouseButtonRelease &&
        (watched == list1_->viewport() || watched == list2_->viewport() ||
         watched == pane_->viewport())) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::RightButton)
            actions_->popupMenu()->popup(mouse->globalPosition().toPoint());
        // The type-info list's tooltip: the full text of the row under the pointer.
        if (watched == list1_->viewport())
            if (const QListWidgetItem* row = list1_->itemAt(mouse->position().toPoint()))
                list1_->setToolTip(row->text());
    }
    if ((watched == list1_ || watched == list2_) && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Copy)) {
            copySelectedRow(static_cast<QListWidget*>(watched));
            return true;
        }
    }
    if ((watched == list1_ || watched == list2_) && event->type() == QEvent::KeyRelease &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Menu) {
        actions_->popupMenu()->popup(QCursor::pos());
        return true;
    }
    if ((watched == list1_ || watched == list2_) && event->type() == QEvent::FocusIn) {
        auto* list = static_cast<QListWidget*>(watched);
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if ((reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason) &&
            list->count() > 0 && list->selectedItems().isEmpty()) {
            frame_->selectQuietly(list, 0);
            guarded([&] {
                if (list == list1_)
                    browser_->TypeInfoClicked(0);
                else
                    browser_->MemberClicked(0);
            });
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::setGeometryTwips(double top, double height, double width, double left) {
    const int tx = twipsPerPixelX(), ty = twipsPerPixelY();
    setGeometry(static_cast<int>(left / tx), static_cast<int>(top / ty),
                static_cast<int>(width / tx), static_cast<int>(height / ty));
    normalGeometry_ = geometry();
}

void MainWindow::recordNormalGeometry() {
    if (!isMinimized() && !isMaximized())
        normalGeometry_ = geometry();
}

void MainWindow::moveEvent(QMoveEvent* event) {
    recordNormalGeometry();
    QMainWindow::moveEvent(event);
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    recordNormalGeometry();
    if (!isMinimized() && !isMaximized())
        applyLayout();
}

void MainWindow::applyLayout() {
    const int tx = twipsPerPixelX(), ty = twipsPerPixelY();
    const double W = central_->width() * tx, H = central_->height() * ty;
    if (W <= 0 || H <= 0)
        return;
    const WindowLayout l = layoutWindow(metrics_, layoutState_, W, H);
    layoutState_ = l.state;
    strip_->setGeometry(0, 0, central_->width(), 550 / ty);
    findBand_->setFixedWidth(static_cast<int>(l.find.width / tx));
    lists_->setGeometry(toPixels(l.lists, tx, ty).adjusted(0, 0, -l.lists.left / tx, 0));
    lower_->setGeometry(toPixels(l.lower, tx, ty).adjusted(0, 0, -l.lower.left / tx, 0));
    if (l.pushBackOuterHeight) {
        const int extra = height() - central_->height();
        resize(width(), static_cast<int>(*l.pushBackOuterHeight / ty) + extra);
    }
    actions_->button(MinimizePaneButton)->setEnabled(l.lower.height > metrics_.lowerMinimum);
    layoutLower();
}

void MainWindow::layoutLower() {
    const int tx = twipsPerPixelX(), ty = twipsPerPixelY();
    const LowerLayout l = layoutLowerArea(metrics_, lower_->width() * tx + 2 * metrics_.margin,
                                          lower_->height() * ty);
    pane_->setGeometry(toPixels(l.pane, tx, ty));
    pathBox_->setGeometry(toPixels(l.pathBox, tx, ty));
    browse_->setGeometry(toPixels(l.browse, tx, ty));
    quit_->setGeometry(toPixels(l.quit, tx, ty));
    mru_->setGeometry(toPixels(l.mru, tx, ty));
    status_->setGeometry(toPixels(l.status, tx, ty));
    progress_->setGeometry(toPixels(l.progress, tx, ty));
}

void MainWindow::saveSettings() {
    WindowSettings settings;
    // The first-time keys come with the home library: the file itself exists from the first
    // catalog load on.
    settings.firstTime = !ini_.ReadWhole(QString::fromLatin1(settings::lt_Home.section),
                                         QString::fromLatin1(settings::lt_Home.key));
    settings.scriptHostVersion = catalogs_ ? catalogs_->scriptHostVersion() : QString();
    if (const std::optional<LoadedLibrary> lib = browser_->loaded()) {
        const QListWidgetItem* row =
            list1_->currentItem() ? list1_->currentItem() : list1_->item(0);
        settings.last =
            LibraryReference{lib->guid, QStringLiteral("%1.%2").arg(lib->major).arg(lib->minor),
                             row ? row->text() : QString()};
    }
    settings.chmKeywordLookup = actions_->popup(PopupCommands::ChmKeyword)->isChecked();
    const QRect g = isMinimized() ? normalGeometry_ : geometry();
    const int tx = twipsPerPixelX(), ty = twipsPerPixelY();
    settings.twips = QRect(g.left() * tx, g.top() * ty, g.width() * tx, g.height() * ty);
    saveWindowSettings(ini_, settings);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    timer1_.stop();
    if (!pathBox_->currentText().isEmpty())
        guarded([this] { saveSettings(); });
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w != this && w->isVisible() && !qobject_cast<QMenu*>(w))
            w->close();
    event->accept();
}

// The model decides which items are shown and which are enabled.
void MainWindow::showPopupCommand(int command) {
    QAction* item = actions_->popup(PopupCommands::Command(command));
    const PopupCommands::State& state = browser_->popupCommands().state(command);
    item->setVisible(state.visible);
    item->setEnabled(state.enabled);
}

} // namespace vantor
