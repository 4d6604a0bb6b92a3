#include "app/hand_over_handler.h"

#include "app/command_line_text.h"

#include <QApplication>
#include <QLoggingCategory>
#include <QWidget>

// "hand-over applied" for the two-copy tests and bench/handover.sh:
// QT_LOGGING_RULES="vantor.handover.info=true".
Q_LOGGING_CATEGORY(handOver, "vantor.handover", QtWarningMsg)

namespace vantor {

HandOverHandler::HandOverHandler(QWidget& window,
                                 std::function<void(const QString&)> applyCommandLine,
                                 std::function<void(bool)> setBusy)
    : QObject(&window), window_(window), applyCommandLine_(std::move(applyCommandLine)),
      setBusy_(std::move(setBusy)),
      server_([this](const QString& text, std::function<void(qint32)> reply) {
          receive(text, std::move(reply));
      }) {}

bool HandOverHandler::TagWindow(const QString& socketPath, QString& problem) {
    return server_.listen(socketPath, problem);
}

void HandOverHandler::setReady() {
    ready_ = true;
    applyPending();
}

void HandOverHandler::receive(const QString& text, std::function<void(qint32)> reply) {
    pending_.append({text, std::move(reply)});
    applyPending();
}

void HandOverHandler::applyPending() {
    // Opening a library processes events, so another hand-over can arrive inside it.
    if (!ready_ || applying_)
        return;
    applying_ = true;
    while (!pending_.isEmpty()) {
        const Pending next = pending_.takeFirst();
        const QString commandLine = rewriteCommandLine(next.text);
        if (!commandLine.isEmpty()) {
            setBusy_(true);
            applyCommandLine_(commandLine);
            setBusy_(false);
        }
        const qint32 result = bringToFront();
        qCInfo(handOver) << "hand-over applied:" << commandLine;
        next.reply(result);
    }
    applying_ = false;
}

// The window system may refuse to give the focus to a window that did not ask for it (X11 and
// Wayland do): the window is then raised and asks for attention.
qint32 HandOverHandler::bringToFront() {
    if (!window_.isVisible())
        return 0; // closed (a signal during start-up): it stays closed
    if (window_.isMinimized()) {
        window_.setWindowState(window_.windowState() & ~Qt::WindowMinimized);
        window_.update();
    }
    window_.raise();
    window_.activateWindow();
    QCoreApplication::processEvents();
    if (window_.isActiveWindow())
        return 1;
    QApplication::alert(&window_);
    return 0;
}

} // namespace vantor
