#pragma once

#include "app/ini_file.h"
#include "app/main_actions.h"
#include "app/window_layout.h"
#include "browser/library_browser.h"
#include "catalog/catalog_frame.h"

#include <QMainWindow>
#include <QTimer>
#include <functional>
#include <memory>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QSplitter;
class QTextBrowser;
class QToolBar;
class QAction;
class QPushButton;

namespace vantor {

class Catalogs;
class LibDocsCommands;
class MruView;
class PopupMenuCommands;
class ProgressStrip;
class SearchCommands;
class WindowBrowserFrame;

// frmMain: the toolbar strip, the two lists, the pane, the path row, the library list view and
// the status row. It shows what the catalogs and the browser give it and forwards the user's
// requests to them; no exception leaves its event handlers. Its commands are in MainActions;
// library browsing sees it through WindowBrowserFrame.
class MainWindow : public QMainWindow, public CatalogFrame {
    Q_OBJECT
public:
    struct Services {
        // A library file's own small icon from its Windows path; null when it has none.
        std::function<QIcon(const QString&)> fileIcon;
        // The host file of a Windows path.
        std::function<QString(const QString&)> hostPath;
        // Shows a message box titled "Vantor"; tests record instead.
        std::function<void(const QString&)> message;
        // The machine's type information; null: a machine of host paths only.
        const tli::TLIApplication* application = nullptr;
    };

    MainWindow(IniFile& ini, Services services, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Set by start-up before the window is shown.
    void setCatalogs(Catalogs* catalogs, std::function<qint32(qint32)> loadDefs);
    LibraryBrowser& browser() { return *browser_; }
    SearchCommands& search() { return *search_; }

    // CatalogFrame
    void Status(const QString& text) override;
    void ProgressMax(qint64 max) override;
    void ProgressValue(qint64 value) override;
    void ShowPaneRtf(const QString& rtf) override;
    void SetBusy(bool busy) override;
    void ProcessPendingEvents() override;

    // Timer1: with the tag "LoadDefs" its next firing runs the first catalog load.
    void enableTimer1(const QString& tag = QString());
    qint32 GoodLoadDef() const { return goodLoadDef_; }
    // LoadDefs (0: rebuild, 1: read the catalog files when there) and the path box after it;
    // emits catalogsLoaded.
    void RunLoadDefs(qint32 always);

    // Loads catalog record `index` and selects the type info (SelTypInfo of start-up).
    bool SelTypInfo(qint32 index, const QString& typeInfo);
    bool ChooseLib(const QString& reference);
    void LVLoadMRU();
    void BrowseFromLV();
    void tbrMain_ButtonClick(int button);

    // Geometry in twips, as the settings file keeps it.
    void setGeometryTwips(double top, double height, double width, double left);
    int twipsPerPixelX() const;
    int twipsPerPixelY() const;

    // The settings save of a close.
    void saveSettings();

    // Widgets, for start-up and tests.
    QTextBrowser* pane() const { return pane_; }
    QComboBox* pathBox() const { return pathBox_; }
    QListWidget* list1() const { return list1_; }
    QListWidget* list2() const { return list2_; }
    MruView* mruView() const { return mru_; }
    QLineEdit* statusLine() const { return status_; }
    const MainActions& actions() const { return *actions_; }
    QAction* toolbarButton(int number) const { return actions_->button(number); }
    QMenu* popupMenu() const { return actions_->popupMenu(); }
    QAction* chmKeywordAction() const { return actions_->popup(PopupCommands::ChmKeyword); }
    QAction* showHiddenAction() const { return actions_->popup(PopupCommands::ShowHidden); }
    LibDocsCommands* libDocs() const { return libDocs_; }
    QLabel* memberCaption() const { return caption2_; }
    const LayoutMetrics& metrics() const { return metrics_; }

signals:
    // A catalog load has finished (its summary is in the pane).
    void catalogsLoaded();

protected:
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void connectActions();
    void showPopupCommand(int command);
    void buildToolbar(QWidget* strip);
    void buildLists();
    void buildLowerArea();
    void applyLayout();
    void layoutLower();
    void fillPathBox();
    void onTimer1();
    void onBrowseCommand();
    void onPaneAnchor(const QUrl& url);
    void onRefresh();
    void showProperties();
    void copySelectedRow(QListWidget* list);
    void recordNormalGeometry();
    int memberImage(const QModelIndex& index) const;
    void guarded(const std::function<void()>& action);

    IniFile& ini_;
    Services services_;
    Catalogs* catalogs_ = nullptr;
    std::function<qint32(qint32)> loadDefs_;
    std::unique_ptr<tli::TLIApplication> ownApplication_;
    std::unique_ptr<MainActions> actions_;
    std::unique_ptr<WindowBrowserFrame> frame_;
    std::unique_ptr<LibraryBrowser> browser_;
    std::unique_ptr<SearchCommands> search_;
    LibDocsCommands* libDocs_ = nullptr;
    PopupMenuCommands* popupCommands_ = nullptr;

    QWidget* central_ = nullptr;
    QWidget* strip_ = nullptr;
    QToolBar* toolbar_ = nullptr;
    QWidget* findBand_ = nullptr;
    QComboBox* find_ = nullptr;
    QSplitter* lists_ = nullptr;
    QLabel* caption1_ = nullptr;
    QLabel* caption2_ = nullptr;
    QListWidget* list1_ = nullptr;
    QListWidget* list2_ = nullptr;
    QWidget* lower_ = nullptr;
    QTextBrowser* pane_ = nullptr;
    QComboBox* pathBox_ = nullptr;
    QPushButton* browse_ = nullptr;
    QPushButton* quit_ = nullptr;
    MruView* mru_ = nullptr;
    QLineEdit* status_ = nullptr;
    ProgressStrip* progress_ = nullptr;

    QTimer timer1_;
    QString timer1Tag_;
    qint32 goodLoadDef_ = 0;
    LayoutMetrics metrics_;
    LayoutState layoutState_;
    QRect normalGeometry_;
    bool busy_ = false;
};

} // namespace vantor
