#pragma once

#include "export/clipboard_commands.h"

#include <QObject>
#include <functional>

class QListWidget;
class QTextBrowser;

namespace vantor {

class BrowserFrame;
class LibraryBrowser;
class MainActions;
class MruView;

// The list popup's copy commands, "Show Hidden" and "Get Definition Details", and the library
// list's two reference items: connects and enables those items and is the window as the
// clipboard commands see it.
class PopupMenuCommands : public QObject, private ClipboardFrame {
public:
    struct Window {
        BrowserFrame& frame;
        LibraryBrowser& browser;
        QListWidget* members;
        QTextBrowser* pane;
        MruView* libraries;
        std::function<void(const QString&)> message;
        std::function<void(bool)> setBusy;
        // The browse command: loads the library the path box names.
        std::function<void()> browse;
    };

    PopupMenuCommands(const MainActions& actions, Window window, const tli::TLIApplication& app,
                      QObject* parent = nullptr);

    ClipboardCommands& commands() { return commands_; }

private:
    // ClipboardFrame
    std::optional<tli::ListRow> typeInfoRow() const override;
    QStringList memberLines() const override;
    QString memberLine() const override;
    const tli::TypeLibInfo* library() const override;
    QString pathText() const override;
    int selectedPathEntry() const override;
    QString progIdOf(const QString& library, const QString& className,
                     const QString& classId) const override;
    void setClipboardText(const QString& text) override;
    void flashStatus(const QString& text) override;
    void message(const QString& text) override { window_.message(text); }
    void showPaneText(const QString& text) override;
    void setBusy(bool busy) override { window_.setBusy(busy); }

    Window window_;
    const tli::TLIApplication& app_;
    ClipboardCommands commands_;
};

} // namespace vantor
