#pragma once

#include "app/ini_file.h"
#include "browser/browser_frame.h"
#include "catalog/catalogs.h"

#include <QIcon>
#include <QTreeWidget>
#include <functional>

namespace vantor {

// The library list view: MRU entries (item data -n for slot n) and search hits (item data = the
// path box index). Columns HelpString, LibName, TypeLib, Version.
class MruView : public QTreeWidget, public LibraryListView {
    Q_OBJECT
public:
    static constexpr int kItemData = Qt::UserRole;

    // `fileIcon` gives a library file's own small icon (a Windows path), or a null icon.
    MruView(IniFile& ini, std::function<QIcon(const QString&)> fileIcon, QWidget* parent = nullptr);

    // Fills the view from the settings file; returns the MRU count.
    qint32 LVLoadMRU(const QStringList& tlDefs);
    qint32 mruCount() const { return count_; }
    // The path box list the context menu's "Add Lib to MRU" reads.
    void setPathBox(const QList<PathBoxEntry>* pathBox) { pathBox_ = pathBox; }

    // LibraryListView; a library's row is found by its GUID.
    int findLibraryRow(const QString& guid) const override;
    int currentLibraryRow() const override;
    QString libraryRowText(int row, int column) const override;
    void setLibraryRowText(int row, int column, const QString& text) override;
    int insertLibraryRow(const QString& helpString, const QString& guid, const QString& version,
                         qint32 pathBoxIndex, const QString& path) override;
    void showLibraryRow(int row) override;

    // The context menu's two actions; each returns the status text.
    QString addToMru(QTreeWidgetItem* row, const QList<PathBoxEntry>& pathBox);
    QString removeFromMru(QTreeWidgetItem* row);

    // "Unregister Library File" in the popup: shown for rows whose library (GUID, version)
    // `offered` accepts, running `run` with them.
    void setUnregisterCommand(std::function<bool(const QString&, const QString&)> offered,
                              std::function<void(const QString&, const QString&)> run) {
        unregisterOffered_ = std::move(offered);
        unregister_ = std::move(run);
    }

    // A header click: sorts by the column in the mode it did not use last.
    void sortByHeader(int column);
    int sortMode(int column) const { return modes_[column]; }

    static qint32 itemData(const QTreeWidgetItem* row);

signals:
    void statusMessage(const QString& text);
    // A double-click or Enter on a row.
    void browseRequested();
    // "Copy VB TypeLib Reference" (vb) or "Copy WSH TypeLib Reference" on a row: its item data
    // and library.
    void referenceRequested(bool vb, qint32 itemData, const QString& guid, const QString& version);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void showContextMenu(const QPoint& pos);
    void sortRows(int column, int mode);

    IniFile& ini_;
    std::function<QIcon(const QString&)> fileIcon_;
    const QList<PathBoxEntry>* pathBox_ = nullptr;
    qint32 count_ = 0;
    int modes_[4] = {0, 0, 0, 0};
    int sortedColumn_ = -1;
    std::function<bool(const QString&, const QString&)> unregisterOffered_;
    std::function<void(const QString&, const QString&)> unregister_;
};

} // namespace vantor
