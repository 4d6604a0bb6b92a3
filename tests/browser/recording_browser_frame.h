#pragma once

#include "browser/browser_frame.h"

#include <QMap>
#include <QStringList>

namespace vantor::test {

// A window as library browsing sees it, recording what it is shown.
class RecordingBrowserFrame : public BrowserFrame, public LibraryListView {
public:
    QString pathText() const override { return path; }
    void setPathText(const QString& text) override { path = text; }
    void selectPathEntry(int index) override { pathEntry = index; }
    int selectedPathEntry() const override { return pathEntry; }
    void setTypeInfoRows(const QList<tli::ListRow>& r, const QList<qint16>& codes) override {
        rows = r;
        categoryCodes = codes;
        typeRow = -1;
    }
    void setMemberRows(const QList<tli::ListRow>& r) override {
        members = r;
        memberRowIndex = -1;
    }
    void selectTypeInfoRow(int row) override { typeRow = row; }
    void selectMemberRow(int row) override { memberRowIndex = row; }
    int typeInfoRow() const override { return typeRow; }
    int memberRow() const override { return memberRowIndex; }
    void setTypeInfoToolTip(const QString& text) override { toolTip = text; }
    void setMemberCaption(const QString& text) override { caption = text; }
    void setMemberCaptionRed(bool r) override { red = r; }
    void setMemberListEnabled(bool enabled) override { memberListEnabled = enabled; }
    void focusList(bool typeInfoList) override { focus = typeInfoList ? 1 : 2; }
    void showPane(const QString& rtf) override { pane = rtf; }
    void setButtonEnabled(int button, bool enabled) override { buttons[button] = enabled; }
    void flashStatus(const QString& text) override { statuses.append(text); }
    void setClipboardText(const QString& text) override { clipboard = text; }
    void beep() override { ++beeps; }
    bool showHidden() const override { return hidden; }
    bool groupDocsByTypeKind() const override { return group; }
    QString typeKindOrderSetting() const override { return tkOrder; }
    QString paneHeader() const override { return QStringLiteral("HEADER|"); }

    // LibraryListView: rows of four columns, the item data beside them.
    int findLibraryRow(const QString& guid) const override {
        for (int i = 0; i < listRows.size(); ++i)
            if (listRows[i][TypeLib].compare(guid, Qt::CaseInsensitive) == 0)
                return i;
        return -1;
    }
    int currentLibraryRow() const override { return listCurrent; }
    QString libraryRowText(int row, int column) const override {
        return listRows.value(row).value(column);
    }
    void setLibraryRowText(int row, int column, const QString& text) override {
        listRows[row][column] = text;
    }
    int insertLibraryRow(const QString& help, const QString& guid, const QString& version, qint32,
                         const QString&) override {
        listRows.prepend({help, QString(), guid, version});
        return 0;
    }
    void showLibraryRow(int row) override { listCurrent = row; }

    QString path;
    int pathEntry = -1;
    QList<tli::ListRow> rows;
    QList<qint16> categoryCodes;
    QList<tli::ListRow> members;
    int typeRow = -1;
    int memberRowIndex = -1;
    QString toolTip;
    QString caption;
    bool red = false;
    bool memberListEnabled = false;
    int focus = 0;
    QString pane;
    QMap<int, bool> buttons;
    QStringList statuses;
    QString clipboard;
    int beeps = 0;
    bool hidden = false;
    bool group = true;
    QString tkOrder = QStringLiteral("6,4,5,3,2,1,7,8,9");
    QList<QStringList> listRows;
    int listCurrent = -1;
};

} // namespace vantor::test
