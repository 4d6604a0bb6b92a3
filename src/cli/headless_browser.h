#pragma once

#include "browser/library_browser.h"
#include "export/doc_exporter.h"

namespace vantor {
class Catalogs;
class IniFile;
} // namespace vantor

namespace vantor::cli {

// The window's library browsing without a window: the path box, the two lists, the
// recently-used row of the library and the pane are plain data, and the documentation export
// reads them as it reads the window's.
class HeadlessBrowser : private BrowserFrame, private LibraryListView, private DocFrame {
public:
    HeadlessBrowser(const tli::TLIApplication& app, const Catalogs& catalogs, const IniFile& ini,
                    const QString& programFolder);
    ~HeadlessBrowser() override;

    // Opens the library of a catalog record; throws Error with the reason when it cannot.
    void open(qint32 catalogIndex);
    // Selects a type-info row or a member row by name (ignoring case), as a click does.
    bool selectType(const QString& name);
    bool selectMember(const QString& name);

    const QList<tli::ListRow>& typeRows() const { return browser_.typeInfoRows(); }
    const QList<tli::ListRow>& memberRows() const { return members_; }
    // The pane's RTF.
    const QString& pane() const { return pane_; }
    const tli::TypeLibInfo& library() const { return browser_.library(); }
    // The path box's text and its selected entry (-1 when none is).
    QString path() const { return path_; }
    int pathEntry() const { return pathEntry_; }
    // The selected type-info row, member row; -1 when none is.
    int typeInfoRow() const override { return typeRow_; }
    int memberRow() const override { return memberRow_; }

    void setGroupByKind(bool on) { groupByKind_ = on; }
    DocExporter& exporter() { return exporter_; }

private:
    // BrowserFrame
    QString pathText() const override { return path_; }
    void setPathText(const QString& text) override { path_ = text; }
    void selectPathEntry(int index) override { pathEntry_ = index; }
    int selectedPathEntry() const override { return pathEntry_; }
    void setTypeInfoRows(const QList<tli::ListRow>&, const QList<qint16>&) override {}
    void setMemberRows(const QList<tli::ListRow>& rows) override { members_ = rows; }
    void selectTypeInfoRow(int row) override { typeRow_ = row; }
    void selectMemberRow(int row) override { memberRow_ = row; }
    void setTypeInfoToolTip(const QString&) override {}
    void setMemberCaption(const QString&) override {}
    void setMemberCaptionRed(bool) override {}
    void setMemberListEnabled(bool) override {}
    void focusList(bool) override {}
    void showPane(const QString& rtf) override { pane_ = rtf; }
    void setButtonEnabled(int, bool) override {}
    void flashStatus(const QString& text) override { status_ = text; }
    void setClipboardText(const QString&) override {}
    void beep() override {}
    bool showHidden() const override { return false; }
    bool groupDocsByTypeKind() const override { return groupByKind_; }
    QString typeKindOrderSetting() const override;
    QString paneHeader() const override { return header_; }

    // LibraryListView: the one row of the library shown.
    int findLibraryRow(const QString& guid) const override;
    int currentLibraryRow() const override { return hasRow_ ? 0 : -1; }
    QString libraryRowText(int row, int column) const override;
    void setLibraryRowText(int row, int column, const QString& text) override;
    int insertLibraryRow(const QString& helpString, const QString& guid, const QString& version,
                         qint32 pathBoxIndex, const QString& path) override;
    void showLibraryRow(int) override {}

    // DocFrame
    DocOptions docOptions() const override { return {true, false, false, groupByKind_}; }
    DocSource docSource() const override;
    DocHead docHead() const override;
    QString rtfPrefix() const override { return header_; }
    void setDocMode(qint32 mode) override { browser_.setDocMode(mode); }
    void setBusy(bool) override {}
    void openFile(const QString&) override {}

    const Catalogs& catalogs_;
    const IniFile& ini_;
    QString header_;
    LibraryBrowser browser_;
    DocExporter exporter_;
    QString path_;
    int pathEntry_ = -1;
    int typeRow_ = -1;
    int memberRow_ = -1;
    QList<tli::ListRow> members_;
    QString pane_;
    QString status_;
    bool groupByKind_ = true;
    bool hasRow_ = false;
    QString row_[4];
};

} // namespace vantor::cli
