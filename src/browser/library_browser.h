#pragma once

#include "browser/browser_frame.h"
#include "browser/history.h"
#include "browser/pane_link.h"
#include "browser/popup_commands.h"
#include "browser/proto_member.h"
#include "browser/type_kind_order.h"

#include <functional>
#include <memory>
#include <optional>

namespace vantor {

class Catalogs;

// The library in the lists, as the settings save records it.
struct LoadedLibrary {
    QString guid;
    int major = 0;
    int minor = 0;
};

// Library browsing of the main window: loads the library the path box names into the type-info
// list, keeps the per-row tables, shows a type's members and a member's prototype, follows the
// pane's links and keeps the visit history. It owns the window's library object.
class LibraryBrowser : private HistoryFrame, private ProtoMemberFrame {
public:
    LibraryBrowser(BrowserFrame& frame, LibraryListView& listView, const tli::TLIApplication& app);
    ~LibraryBrowser() override;

    void setCatalogs(const Catalogs* catalogs) { catalogs_ = catalogs; }
    // The help resolution for a type-info number: true when a help file was found.
    void setHelpLookup(std::function<bool(qint32)> lookup) { helpLookup_ = std::move(lookup); }

    // Loads the library the path box names; `fromListView` when the library list view started it
    // (its selected path box entry and row are used). Returns the number of type-info rows, or
    // -1 when nothing was loaded.
    qint32 nGetTypInfos(bool fromListView = false);
    // The library of a library list view row: its path box entry when it has one (>= 0), else
    // the catalog record of its GUID and version.
    void BrowseFromListRow(qint32 pathBoxEntry, const QString& guid, const QString& version);
    // A library reference (library_reference.h): loads that library of the catalog and selects
    // the type info.
    bool ChooseLib(const QString& reference);
    // The same from a catalog line index.
    bool SelTypInfo(qint32 catalogIndex, const QString& typeInfo);
    // Puts a library path into the path box (its first entry starting with it selected) and
    // loads it; false when nothing was loaded.
    bool openPath(const QString& path);
    // Selects the first type-info row of that name (ignoring case) as a click and a visit.
    bool selectTypeInfo(const QString& typeInfo);
    // Selects the first member row of that name (ignoring case) of the type shown, as a click and
    // a visit.
    bool selectMember(const QString& name);
    // Empties the view (Enter on an empty path box): lists, pane, caption, the type-dependent
    // commands and buttons, Back and Forward.
    void clear();

    void TypeInfoClicked(int row);
    void MemberClicked(int row);
    void NextInterface();
    void Back() { history_.Back(); }
    void Forward() { history_.Forward(); }
    // The text of a clicked pane link.
    void LinkClicked(const QString& linkText);

    std::optional<LoadedLibrary> loaded() const;
    const tli::TypeLibInfo& library() const { return *library_; }
    const History& history() const { return history_; }
    PopupCommands& popupCommands() { return popup_; }

    // The per-row tables of the type-info list.
    const QList<qint16>& typeInfoNumbers() const { return numbers_; }
    const QList<qint16>& categoryCodes() const { return codes_; }
    const QList<tli::ListRow>& typeInfoRows() const { return rows_; }
    // Rows after "<globals>" with their kinds; in type-kind order when grouping is on.
    const QList<GroupPair>& groupPairs() const { return pairs_; }

    qint32 DocMode() const { return docMode_; }
    // The documentation export says what the prototypes are made for.
    void setDocMode(qint32 mode) { docMode_ = mode; }
    // The shown member is a function (the help resolution asks).
    bool memberIsFunction() const { return memberIsFunction_; }
    qint32 mbrContextID() const { return contextId_; }

private:
    // HistoryFrame
    void setBackEnabled(bool enabled) override;
    void setForwardEnabled(bool enabled) override;
    void selectTypeInfoRow(qint32 row) override;
    void selectMemberRow(qint32 row) override;
    void focusList(bool typeInfoList) override;
    // ProtoMemberFrame
    void setHelpContextID(qint32 contextId) override { contextId_ = contextId; }
    const tli::TLIApplication* application() const override { return &app_; }

    void clearView();
    bool placeLibrary(bool fromListView);
    void buildTables();
    void showInterface(int index);
    void typeDependentCommands(const tli::TypeInfoView* info);

    BrowserFrame& frame_;
    LibraryListView& listView_;
    const tli::TLIApplication& app_;
    std::unique_ptr<tli::TypeLibInfo> library_;
    const Catalogs* catalogs_ = nullptr;
    std::function<bool(qint32)> helpLookup_;
    History history_;
    PopupCommands popup_;

    QList<tli::ListRow> rows_;
    QList<qint16> numbers_;
    QList<qint16> codes_;
    QList<TypeInfoRow> linkRows_;
    QList<tli::ListRow> memberRows_;
    QList<GroupPair> pairs_;
    std::optional<TypeKindOrder> order_;
    int listRow_ = -1; // the library's row in the library list view
    bool clickedOnce_ = false;

    QList<tli::TypeInfoView> interfaces_;
    QList<quint16> interfaceFlags_;
    int interfaceIndex_ = 1;

    qint32 docMode_ = 0;
    bool memberIsFunction_ = false;
    qint32 contextId_ = 0;
};

} // namespace vantor
