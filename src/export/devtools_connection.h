#pragma once

#include <QHash>
#include <QJsonObject>
#include <QObject>
#include <QUrl>
#include <QWebSocket>

namespace vantor {

// Runs the thread's events for `ms` milliseconds, or until `done` holds, leaving the user's
// input for later: the window keeps painting while an action waits, but takes no clicks.
// Returns whether `done` held at the end.
bool waitWithoutInput(int ms, const std::function<bool()>& done = {});

// One connection to a browser's DevTools endpoint: commands and their answers as JSON, each call
// waiting for its answer without taking input. Events the browser sends are ignored.
class DevToolsConnection : public QObject {
public:
    DevToolsConnection();

    // Connects to a "ws://" endpoint; false when it does not answer within `timeoutMs`.
    bool open(const QUrl& endpoint, int timeoutMs);
    bool isOpen() const;
    // A command's result; `sessionId` addresses an attached page. Throws Error when the browser
    // answers with an error, the connection ends or no answer comes within `timeoutMs`.
    QJsonObject call(const QString& method, const QJsonObject& params = {},
                     const QString& sessionId = {}, int timeoutMs = 60000);

private:
    void received(const QString& message);

    QWebSocket socket_;
    qint64 nextId_ = 1;
    QHash<qint64, QJsonObject> answers_;
};

} // namespace vantor
