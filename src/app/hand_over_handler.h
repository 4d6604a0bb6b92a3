#pragma once

#include "app/hand_over_server.h"

#include <QList>
#include <functional>

class QWidget;

namespace vantor {

// The main window's side of the hand-over: each text received becomes CommandLine (rewritten),
// is opened through ApplyCommandLine, and the window comes to the front. Texts that arrive while
// start-up still waits for its catalogs, or while another is being opened, are kept and opened
// in turn once the window is ready.
class HandOverHandler : public QObject {
public:
    HandOverHandler(QWidget& window, std::function<void(const QString&)> applyCommandLine,
                    std::function<void(bool)> setBusy);

    // TagWindow: tags the window as the running copy (see HandOverServer::listen).
    bool TagWindow(const QString& socketPath, QString& problem);
    // Start-up has opened its own library: the texts kept meanwhile are opened now.
    void setReady();

private:
    struct Pending {
        QString text;
        std::function<void(qint32)> reply;
    };
    void receive(const QString& text, std::function<void(qint32)> reply);
    void applyPending();
    qint32 bringToFront();

    QWidget& window_;
    std::function<void(const QString&)> applyCommandLine_;
    std::function<void(bool)> setBusy_;
    HandOverServer server_;
    QList<Pending> pending_;
    bool ready_ = false;
    bool applying_ = false;
};

} // namespace vantor
