#include "app/main_window.h"

#include "app/icon_set.h"
#include "app/list_rows.h"
#include "app/mru_view.h"
#include "app/properties_dialog.h"
#include "app/settings_keys.h"
#include "browser/path_completion.h"
#include "browser/rtf_document.h"
#include "browser/rtf_text.h"
#include "catalog/bin_search.h"
#include "catalog/catalogs.h"
#include "catalog/get_token.h"
#include "text/error.h"
#include "text/text_order.h"
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
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScreen>
#include <QSplitter>
#include <QTextBrowser>
#include <QToolBar>
#include <QVBoxLayout>
#include <cmath>

namespace vantor {

namespace {

const QString kNotYet = QStringLiteral("not available yet");
const QString kReady = QStringLiteral("Ready...  ");

QAction* laterItem(QMenu* menu, const QString& caption) {
    QAction* a = menu->addAction(caption);
    a->setEnabled(false);
    a->setToolTip(kNotYet);
    return a;
}

QAction* checkItem(QMenu* menu, const QString& caption, bool checked = false) {
    QAction* a = menu->addAction(caption);
    a->setCheckable(true);
    a->setChecked(checked);
    return a;
}

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
    paneHeader_ = paneRtfHeader(ini_.ReadIni(settings::ClrTbl));
    const int splitterBar = 6 * twipsPerPixelX();
    metrics_ = LayoutMetrics::make(splitterBar, ini_.ReadIni(settings::LVHght).toDouble(),
                                   twipsPerPixelY());

    central_ = new QWidget(this);
    setCentralWidget(central_);
    strip_ = new QWidget(central_);
    buildToolbar(strip_);
    buildLists();
    buildLowerArea();
    buildMenus();
    browser_ = std::make_unique<LibraryBrowser>(static_cast<BrowserFrame&>(*this), *mru_, *app);
    browser_->popupCommands().onChange([this](int command) { showPopupCommand(command); });
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
    struct Button {
        const char* tip;
        const char* key;
        int image;
    };
    const Button table[] = {{"Back [Ctrl-<]", "back", 1},     {"Forward [Ctrl->]", "forward", 2},
                            {"Copy [Copy-C]", "copy", 3},     {"Minimize RTB", "rtf", 11},
                            {"Help [F1]", "help", 13},        {nullptr, "sep1", -1},
                            {"Search", "search", 0},          {nullptr, "sep1", -1},
                            {"Next Interface", "next_int", 4}};
    for (int i = 0; i < 9; ++i) {
        QAction* a = nullptr;
        if (table[i].tip) {
            a = toolbar_->addAction(toolbarImage(table[i].image),
                                    QString::fromLatin1(table[i].tip));
            a->setToolTip(QString::fromLatin1(table[i].tip));
            const int number = i + 1;
            connect(a, &QAction::triggered, this,
                    [this, number] { guarded([&] { tbrMain_ButtonClick(number); }); });
        } else {
            a = toolbar_->addSeparator();
        }
        a->setObjectName(QString::fromLatin1(table[i].key));
        buttons_.append(a);
    }
    for (int i = 0; i < 4; ++i)
        buttons_[i]->setEnabled(false);
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
    connect(find_->lineEdit(), &QLineEdit::returnPressed, this,
            [this] { guarded([this] { tbrMain_ButtonClick(7); }); });
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
            if (!quietSelection_ && l->hasFocus() &&
                QGuiApplication::mouseButtons() == Qt::NoButton)
                clicked(l);
        });
    }
}

int MainWindow::memberImage(const QModelIndex& index) const {
    bool constantType = false;
    if (const QListWidgetItem* row = list1_->currentItem())
        constantType = ((row->data(Qt::UserRole).toUInt() >> 24) & 4) != 0;
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
    connect(pathBox_->lineEdit(), &QLineEdit::textEdited, this,
            [this](const QString& text) { onPathEdited(text); });
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

void MainWindow::buildMenus() {
    popup_ = new QMenu(QStringLiteral("MyPopup"), this);
    popup_->setToolTipsVisible(true);
    laterItem(popup_, QStringLiteral("&Copy"));
    QMenu* code = popup_->addMenu(QStringLiteral("Copy Creatable ProgID"));
    for (const char* c : {"As String", "As JScript", "As VBScript", "As Perl", "As Python"})
        laterItem(code, QString::fromLatin1(c));
    code->menuAction()->setEnabled(false);
    for (const char* c :
         {"Copy VB TypeLib Reference", "Copy WSH TypeLib Reference", "Copy All Members",
          "Copy All Constants as Code", "Copy HTML Object Tag Reference"})
        laterItem(popup_, QString::fromLatin1(c));
    QMenu* guid = popup_->addMenu(QStringLiteral("Copy TypeInfo"));
    for (const char* c : {"As GUID", "As Complete Anchor", "As progid4: URL"})
        laterItem(guid, QString::fromLatin1(c));
    guid->menuAction()->setEnabled(false);
    popup_->addSeparator();
    checkItem(popup_, QStringLiteral("Allow ProgID/Object Instantiation"));
    checkItem(popup_, QStringLiteral("Auto Browse to Class"));
    popup_->addSeparator();
    showHidden_ = checkItem(popup_, QStringLiteral("Show Hidden"));
    laterItem(popup_, QStringLiteral("Export TypeLib Definitions to IE"));
    laterItem(popup_, QStringLiteral("Export ProgID Definitions to IE"));
    laterItem(popup_, QStringLiteral("Get Definition Details"));
    checkItem(popup_, QStringLiteral("Define Libname on Refresh"));
    popup_->addSeparator();
    chmKeyword_ = checkItem(popup_, QStringLiteral("CHM: Force Keyword Lookup"),
                            chmChecked(ini_.ReadIni(settings::fklCHM)));
    popupItems_ = popup_->actions();

    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    QAction* onTop = checkItem(view, QStringLiteral("Always OnTop"));
    connect(onTop, &QAction::toggled, this, [this](bool on) {
        setWindowFlag(Qt::WindowStaysOnTopHint, on);
        show();
    });
    view->addSeparator();
    connect(view->addAction(QStringLiteral("&Properties")), &QAction::triggered, this,
            [this] { guarded([this] { showProperties(); }); });
    view->addSeparator();
    connect(view->addAction(QStringLiteral("&Refresh")), &QAction::triggered, this,
            [this] { guarded([this] { onRefresh(); }); });
    view->addSeparator();
    connect(view->addAction(QStringLiteral("&WScript")), &QAction::triggered, this,
            [this] { guarded([this] { ChooseLib(ini_.ReadIni(settings::lt_Home)); }); });

    QMenu* about = menuBar()->addMenu(QStringLiteral("&About"));
    connect(about->addAction(QStringLiteral("App Info")), &QAction::triggered, this, [this] {
        QMessageBox::about(this, QStringLiteral("About Vantor"),
                           QStringLiteral("<b>Vantor</b> %1<br>A browser for COM type libraries "
                                          "and ProgIDs.")
                               .arg(QCoreApplication::applicationVersion()));
    });

    QMenu* search = menuBar()->addMenu(QStringLiteral("&Search"));
    search->setToolTipsVisible(true);
    for (const char* c : {"By TypeLib Help String", "By ProgID Help String", "By ProgID"})
        laterItem(search, QString::fromLatin1(c));

    QMenu* docs = menuBar()->addMenu(QStringLiteral("&LibDocs"));
    docs->setToolTipsVisible(true);
    QMenu* constants = docs->addMenu(QStringLiteral("Export All Constants"));
    laterItem(constants, QStringLiteral("As VBScript"));
    laterItem(constants, QStringLiteral("As JScript"));
    constants->menuAction()->setEnabled(false);
    laterItem(docs, QStringLiteral("Export All Member Names"));
    QMenu* format = docs->addMenu(QStringLiteral("Export Docs"));
    for (const char* c : {"As RichText", "As HTML", "As Abstract XML"})
        laterItem(format, QString::fromLatin1(c));
    format->menuAction()->setEnabled(false);
    docs->addSeparator();
    // The export options, checked as a first run finds them.
    for (const auto& [caption, checked] : {std::pair{"Write to Vantor tree", true},
                                           {"Copy to Clipboard", false},
                                           {"Open in Default Application", true},
                                           {"Group Docs by TypeKind", true}}) {
        QAction* option = laterItem(docs, QString::fromLatin1(caption));
        option->setCheckable(true);
        option->setChecked(checked);
    }
    groupDocs_ = docs->actions().last();
    for (QMenu* m : {constants, format, code, guid})
        m->menuAction()->setToolTip(kNotYet);
}

QAction* MainWindow::toolbarButton(int number) const {
    return number >= 1 && number <= buttons_.size() ? buttons_[number - 1] : nullptr;
}

void MainWindow::setCatalogs(Catalogs* catalogs, std::function<qint32(qint32)> loadDefs) {
    catalogs_ = catalogs;
    loadDefs_ = std::move(loadDefs);
    mru_->setPathBox(catalogs ? &catalogs->pathBox() : nullptr);
    browser_->setCatalogs(catalogs);
}

void MainWindow::Status(const QString& text) {
    status_->setText(text);
    status_->setCursorPosition(0);
}

void MainWindow::ProgressMax(qint64 max) {
    progress_->setMaximum(max);
}
void MainWindow::ProgressValue(qint64 value) {
    progress_->setValue(value);
}

void MainWindow::ShowPaneRtf(const QString& rtf) {
    if (rtf.isEmpty())
        pane_->clear();
    else
        renderRtf(rtf, *pane_->document());
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
    QTreeWidgetItem* row = mru_->currentItem();
    if (!row || !catalogs_)
        return;
    SetBusy(true);
    const qint32 data = MruView::itemData(row);
    if (data >= 0) {
        if (data < pathBox_->count()) {
            pathBox_->setCurrentIndex(data);
            pathBox_->setEditText(pathBox_->itemText(data));
            browser_->nGetTypInfos(true);
        }
    } else {
        qint32 index = 0;
        const QString key =
            row->text(MruView::TypeLib) + QStringLiteral(", ") + row->text(MruView::Version);
        if (BinSearch(catalogs_->TLDefs(), key, index) == 1) {
            const QString path = GetToken(4, catalogs_->TLDefs()[index]);
            // Without an exact entry none stays selected: the load then finds the path itself.
            pathBox_->setCurrentIndex(pathBox_->findText(path, Qt::MatchFixedString));
            pathBox_->setEditText(path);
            browser_->nGetTypInfos(true);
        }
    }
    SetBusy(false);
}

void MainWindow::onBrowseCommand() {
    if (pathBox_->currentText().isEmpty()) {
        pane_->clear();
        list1_->clear();
        list2_->clear();
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
    case 1:
        browser_->Back();
        break;
    case 2:
        browser_->Forward();
        break;
    case 3:
        copySelectedRow(list2_->hasFocus() ? list2_ : list1_);
        break;
    case 4: {
        layoutState_.lowerHeight = metrics_.lowerMinimum;
        layoutState_.listHeight = central_->height() * twipsPerPixelY() - 550 -
                                  metrics_.lowerMinimum - 2 * metrics_.margin;
        applyLayout();
        buttons_[3]->setEnabled(false);
        break;
    }
    case 7:
        if (find_->currentText().isEmpty())
            services_.message(QStringLiteral("enter your search string"));
        else {
            Status(QStringLiteral("search is ") + kNotYet);
            enableTimer1();
        }
        break;
    case 9:
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
    if (event->type() == QEvent::MouseButtonRelease &&
        (watched == list1_->viewport() || watched == list2_->viewport() ||
         watched == pane_->viewport())) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::RightButton)
            popup_->popup(mouse->globalPosition().toPoint());
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
        popup_->popup(QCursor::pos());
        return true;
    }
    if ((watched == list1_ || watched == list2_) && event->type() == QEvent::FocusIn) {
        auto* list = static_cast<QListWidget*>(watched);
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if ((reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason) &&
            list->count() > 0 && list->selectedItems().isEmpty()) {
            {
                const QScopedValueRollback quiet(quietSelection_, true);
                list->setCurrentRow(0);
            }
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
    buttons_[3]->setEnabled(l.lower.height > metrics_.lowerMinimum);
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
    const bool firstTime = firstRun_ || !ini_.exists();
    firstRun_ = false;
    auto write = [this](const settings::Key& k, const QString& v) {
        ini_.WriteIni(QString::fromLatin1(k.section), QString::fromLatin1(k.key), v);
    };
    if (firstTime) {
        ini_.WriteIni(QString::fromLatin1(settings::JoinFixSection),
                      QString::fromLatin1(settings::FirstJoinFixKey),
                      QString::fromLatin1(settings::FirstJoinFixValue));
        write(settings::GroupByTK, QString::fromLatin1(settings::FirstGroupByTK));
        write(settings::TKOrder, QString::fromLatin1(settings::TKOrder.defaultValue));
        write(settings::lt_Home, QString::fromLatin1(settings::HomeLibraryGuid) + u':' +
                                     (catalogs_ ? catalogs_->scriptHostVersion() : QString()) +
                                     u'.' + QString::fromLatin1(settings::HomeLibraryTypeInfo));
    }
    if (const std::optional<LoadedLibrary> lib = browser_->loaded()) {
        const QListWidgetItem* row =
            list1_->currentItem() ? list1_->currentItem() : list1_->item(0);
        write(settings::lt_Last, QStringLiteral("%1:%2.%3.%4")
                                     .arg(lib->guid)
                                     .arg(lib->major)
                                     .arg(lib->minor)
                                     .arg(row ? row->text() : QString()));
    }
    write(settings::fklCHM, chmKeyword_->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    const QRect g = isMinimized() ? normalGeometry_ : geometry();
    const int tx = twipsPerPixelX(), ty = twipsPerPixelY();
    write(settings::Height, QString::number(g.height() * ty));
    write(settings::Width, QString::number(g.width() * tx));
    write(settings::Top, QString::number(g.top() * ty));
    write(settings::Left, QString::number(g.left() * tx));
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

QString MainWindow::pathText() const {
    return pathBox_->currentText();
}

void MainWindow::setPathText(const QString& text) {
    pathBox_->setEditText(text);
}

void MainWindow::selectPathEntry(int index) {
    pathBox_->setCurrentIndex(index);
}

int MainWindow::selectedPathEntry() const {
    return pathBox_->currentIndex();
}

void MainWindow::setTypeInfoRows(const QList<tli::ListRow>& rows,
                                 const QList<qint16>& categoryCodes) {
    const QScopedValueRollback quiet(quietSelection_, true);
    list1_->clear();
    for (qsizetype i = 0; i < rows.size(); ++i) {
        auto* item = new QListWidgetItem(rows[i].text);
        item->setData(Qt::UserRole, rows[i].itemData);
        item->setData(ListRowDelegate::kRowDataRole, int(categoryCodes.value(i, 2)));
        list1_->addItem(item);
    }
}

void MainWindow::setMemberRows(const QList<tli::ListRow>& rows) {
    const QScopedValueRollback quiet(quietSelection_, true);
    list2_->clear();
    for (const tli::ListRow& row : rows) {
        auto* item = new QListWidgetItem(row.text);
        item->setData(ListRowDelegate::kRowDataRole, row.itemData);
        list2_->addItem(item);
    }
}

void MainWindow::selectTypeInfoRow(int row) {
    const QScopedValueRollback quiet(quietSelection_, true);
    list1_->setCurrentRow(row);
    if (QListWidgetItem* item = list1_->item(row))
        list1_->scrollToItem(item);
}

void MainWindow::selectMemberRow(int row) {
    const QScopedValueRollback quiet(quietSelection_, true);
    list2_->setCurrentRow(row);
    if (QListWidgetItem* item = list2_->item(row))
        list2_->scrollToItem(item);
}

int MainWindow::typeInfoRow() const {
    return list1_->currentRow();
}

int MainWindow::memberRow() const {
    return list2_->currentRow();
}

void MainWindow::setTypeInfoToolTip(const QString& text) {
    list1_->setToolTip(text);
}

void MainWindow::setMemberCaption(const QString& text) {
    caption2_->setText(text);
}

void MainWindow::setMemberCaptionRed(bool red) {
    QPalette p = caption2_->palette();
    p.setColor(QPalette::WindowText,
               red ? QColor(255, 0, 0) : QApplication::palette().color(QPalette::ButtonText));
    caption2_->setPalette(p);
}

void MainWindow::setMemberListEnabled(bool enabled) {
    list2_->setEnabled(enabled);
}

void MainWindow::focusList(bool typeInfoList) {
    (typeInfoList ? list1_ : list2_)->setFocus();
}

void MainWindow::setButtonEnabled(int button, bool enabled) {
    if (QAction* a = toolbarButton(button))
        a->setEnabled(enabled);
}

void MainWindow::flashStatus(const QString& text) {
    Status(text);
    enableTimer1();
}

void MainWindow::setClipboardText(const QString& text) {
    QGuiApplication::clipboard()->clear();
    QGuiApplication::clipboard()->setText(text);
}

void MainWindow::beep() {
    QApplication::beep();
}

bool MainWindow::showHidden() const {
    return showHidden_->isChecked();
}

bool MainWindow::groupDocsByTypeKind() const {
    return groupDocs_->isChecked();
}

QString MainWindow::typeKindOrderSetting() const {
    return ini_.ReadIni(settings::TKOrder);
}

// The commands' own actions come with the clipboard work: until then the model decides only
// which of them are shown.
void MainWindow::showPopupCommand(int command) {
    if (command < popupItems_.size())
        popupItems_[command]->setVisible(browser_->popupCommands().state(command).visible);
}

void MainWindow::onPathEdited(const QString& text) {
    if (!catalogs_)
        return;
    QLineEdit* edit = pathBox_->lineEdit();
    const std::optional<PathCompletion> done =
        completePath(catalogs_->pathBox(), text, edit->cursorPosition(), completionStop_);
    if (!done)
        return;
    edit->setText(done->text);
    if (done->selectionLength > 0)
        edit->setSelection(done->selectionStart, done->selectionLength);
    else
        edit->setCursorPosition(done->selectionStart);
}

} // namespace vantor
