#include "app/window_browser_frame.h"

#include "app/ini_file.h"
#include "app/list_rows.h"
#include "app/main_actions.h"
#include "app/settings_keys.h"
#include "browser/rtf_document.h"
#include "browser/rtf_text.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QScopedValueRollback>
#include <QTextBrowser>

namespace vantor {

WindowBrowserFrame::WindowBrowserFrame(Widgets widgets, const MainActions& actions,
                                       const IniFile& ini,
                                       std::function<void(const QString&)> flash)
    : w_(widgets), actions_(actions), ini_(ini), flash_(std::move(flash)),
      paneHeader_(paneRtfHeader(ini.ReadIni(settings::ClrTbl))) {}

void WindowBrowserFrame::selectQuietly(QListWidget* list, int row) {
    const QScopedValueRollback quiet(selecting_, true);
    list->setCurrentRow(row);
}

QString WindowBrowserFrame::pathText() const {
    return w_.pathBox->currentText();
}

void WindowBrowserFrame::setPathText(const QString& text) {
    w_.pathBox->setEditText(text);
}

void WindowBrowserFrame::selectPathEntry(int index) {
    w_.pathBox->setCurrentIndex(index);
}

int WindowBrowserFrame::selectedPathEntry() const {
    return w_.pathBox->currentIndex();
}

void WindowBrowserFrame::setTypeInfoRows(const QList<tli::ListRow>& rows,
                                         const QList<qint16>& categoryCodes) {
    const QScopedValueRollback quiet(selecting_, true);
    w_.typeInfos->clear();
    for (qsizetype i = 0; i < rows.size(); ++i) {
        auto* item = new QListWidgetItem(rows[i].text);
        item->setData(Qt::UserRole, rows[i].itemData);
        item->setData(ListRowDelegate::kRowDataRole, int(categoryCodes.value(i, 2)));
        w_.typeInfos->addItem(item);
    }
}

void WindowBrowserFrame::setMemberRows(const QList<tli::ListRow>& rows) {
    const QScopedValueRollback quiet(selecting_, true);
    w_.members->clear();
    for (const tli::ListRow& row : rows) {
        auto* item = new QListWidgetItem(row.text);
        item->setData(ListRowDelegate::kRowDataRole, row.itemData);
        w_.members->addItem(item);
    }
}

void WindowBrowserFrame::showRow(QListWidget* list, int row) {
    selectQuietly(list, row);
    if (QListWidgetItem* item = list->item(row))
        list->scrollToItem(item);
}

void WindowBrowserFrame::selectTypeInfoRow(int row) {
    showRow(w_.typeInfos, row);
}

void WindowBrowserFrame::selectMemberRow(int row) {
    showRow(w_.members, row);
}

int WindowBrowserFrame::typeInfoRow() const {
    return w_.typeInfos->currentRow();
}

int WindowBrowserFrame::memberRow() const {
    return w_.members->currentRow();
}

void WindowBrowserFrame::setTypeInfoToolTip(const QString& text) {
    w_.typeInfos->setToolTip(text);
}

void WindowBrowserFrame::setMemberCaption(const QString& text) {
    w_.memberCaption->setText(text);
}

void WindowBrowserFrame::setMemberCaptionRed(bool red) {
    QPalette p = w_.memberCaption->palette();
    p.setColor(QPalette::WindowText,
               red ? QColor(255, 0, 0) : QApplication::palette().color(QPalette::ButtonText));
    w_.memberCaption->setPalette(p);
}

void WindowBrowserFrame::setMemberListEnabled(bool enabled) {
    w_.members->setEnabled(enabled);
}

void WindowBrowserFrame::focusList(bool typeInfoList) {
    (typeInfoList ? w_.typeInfos : w_.members)->setFocus();
}

void WindowBrowserFrame::showPane(const QString& rtf) {
    if (rtf.isEmpty())
        w_.pane->clear();
    else
        renderRtf(rtf, *w_.pane->document());
}

void WindowBrowserFrame::setButtonEnabled(int button, bool enabled) {
    if (QAction* a = actions_.button(button))
        a->setEnabled(enabled);
}

void WindowBrowserFrame::setClipboardText(const QString& text) {
    QGuiApplication::clipboard()->clear();
    QGuiApplication::clipboard()->setText(text);
}

void WindowBrowserFrame::beep() {
    QApplication::beep();
}

bool WindowBrowserFrame::showHidden() const {
    return actions_.popup(PopupCommands::ShowHidden)->isChecked();
}

bool WindowBrowserFrame::groupDocsByTypeKind() const {
    return actions_.find(QStringLiteral("docs.group_by_kind"))->isChecked();
}

QString WindowBrowserFrame::typeKindOrderSetting() const {
    return ini_.ReadIni(settings::TKOrder);
}

} // namespace vantor
