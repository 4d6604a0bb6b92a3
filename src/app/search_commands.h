#pragma once

#include "app/search_window.h"
#include "search/help_string_search.h"

#include <QObject>
#include <array>
#include <functional>
#include <memory>

class QAction;
class QComboBox;

namespace vantor {

class CatalogFrame;
class IniFile;
class LibraryBrowser;

// The search on the main window: the search box of the search band, the Search menu, Ctrl+F,
// popup items 9 and 10 as the search reads them, and the search window. It reaches the main
// window only through the services it is given.
class SearchCommands : public QObject, private SearchFrame, private AnywhereFrame {
    Q_OBJECT
public:
    struct Host {
        CatalogFrame& frame; // the status line and the event pump
        LibraryBrowser& browser;
        const tli::TLIApplication& machine;
        IniFile& ini;
        std::function<void()> restartStatusTimer;
        std::function<void(const QString&)> message;
        QWidget* panes;        // the two lists, which the search window stands beside
        QWidget* typeInfoList; // takes the focus when the search window closes
    };
    struct Controls {
        QComboBox* find;
        std::array<QAction*, kSearchModeCount> modes; // the Search menu's items, checkable
        QAction* allowInstantiation;
        QAction* autoBrowseToClass;
        QAction* showHidden;
    };

    SearchCommands(Host host, Controls controls);
    ~SearchCommands() override;

    HelpStringSearch& search() { return *search_; }
    // The "Anywhere" mode over the machine's symbol index at `path`; `hostPath` maps the
    // catalog's library paths and must be safe to call from another thread.
    void useSymbolIndex(const QString& path, std::function<QString(const QString&)> hostPath);
    // A catalog load has finished: the symbol index catches up in the background.
    void catalogLoaded(const QStringList& typeLibRecords);
    AnywhereSearch* anywhere() const { return anywhere_.get(); }
    SearchWindow& window() { return *window_; }
    QAction* modeItem(int index) const { return controls_.modes[index]; }

private:
    // SearchFrame
    void status(const QString& text) override;
    void restartStatusTimer() override { host_.restartStatusTimer(); }
    void processEvents() override;
    void message(const QString& text) override { host_.message(text); }
    QString findText() const override;
    void setFindText(const QString& text) override;
    QStringList findHistory() const override;
    void addFindHistory(const QString& text) override;
    void focusFind() override;
    void showMode(SearchMode mode, const SearchModeLook& look) override;
    bool allowInstantiation() const override;
    bool autoBrowseToClass() const override;
    void openLibrary(const QString& path) override;
    const tli::TypeLibInfo* loadedLibrary() const override;
    bool selectTypeInfo(const QString& name) override;
    void setClipboardText(const QString& text) override;
    void focusTypeInfoList() override;
    // AnywhereFrame
    bool showHidden() const override;
    bool loadLibrary(const QString& path) override;
    bool selectMember(const QString& name) override;

    void guarded(const std::function<void()>& action);

    Host host_;
    Controls controls_;
    std::unique_ptr<SearchWindow> window_;
    std::unique_ptr<HelpStringSearch> search_;
    std::unique_ptr<AnywhereSearch> anywhere_;
};

} // namespace vantor
