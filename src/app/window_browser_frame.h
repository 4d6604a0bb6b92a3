#pragma once

#include "browser/browser_frame.h"

#include <functional>

class QComboBox;
class QLabel;
class QListWidget;
class QTextBrowser;

namespace vantor {

class IniFile;
class MainActions;

// The main window's widgets as library browsing sees them.
class WindowBrowserFrame : public BrowserFrame {
public:
    struct Widgets {
        QComboBox* pathBox = nullptr;
        QListWidget* typeInfos = nullptr;
        QListWidget* members = nullptr;
        QLabel* memberCaption = nullptr;
        QTextBrowser* pane = nullptr;
    };
    // `flash`: a status message the status timer later replaces.
    WindowBrowserFrame(Widgets widgets, const MainActions& actions, const IniFile& ini,
                       std::function<void(const QString&)> flash);

    // Set while the frame selects list rows itself: those selections are no clicks.
    bool selecting() const { return selecting_; }
    // Makes `row` current without it counting as a click.
    void selectQuietly(QListWidget* list, int row);

    QString pathText() const override;
    void setPathText(const QString& text) override;
    void selectPathEntry(int index) override;
    int selectedPathEntry() const override;
    void setTypeInfoRows(const QList<tli::ListRow>& rows,
                         const QList<qint16>& categoryCodes) override;
    void setMemberRows(const QList<tli::ListRow>& rows) override;
    void selectTypeInfoRow(int row) override;
    void selectMemberRow(int row) override;
    int typeInfoRow() const override;
    int memberRow() const override;
    void setTypeInfoToolTip(const QString& text) override;
    void setMemberCaption(const QString& text) override;
    void setMemberCaptionRed(bool red) override;
    void setMemberListEnabled(bool enabled) override;
    void focusList(bool typeInfoList) override;
    void showPane(const QString& rtf) override;
    void setButtonEnabled(int button, bool enabled) override;
    void flashStatus(const QString& text) override { flash_(text); }
    void setClipboardText(const QString& text) override;
    void beep() override;
    bool showHidden() const override;
    bool groupDocsByTypeKind() const override;
    QString typeKindOrderSetting() const override;
    QString paneHeader() const override { return paneHeader_; }

private:
    void showRow(QListWidget* list, int row);

    Widgets w_;
    const MainActions& actions_;
    const IniFile& ini_;
    std::function<void(const QString&)> flash_;
    QString paneHeader_;
    bool selecting_ = false;
};

} // namespace vantor
