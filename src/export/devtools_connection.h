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
// waiting for its answer without taking input. Of the events the browser sends, only how many
// of each kind came is kept.
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
    // A command sent without waiting, so that several can be under way at once: its id, for
    // answer(), which waits for its result as call() does.
    qint64 send(const QString& method, const QJsonObject& params = {},
                const QString& sessionId = {});
    QJsonObject answer(qint64 id, const QString& method, int timeoutMs = 60000);
    // How many events named `method` ("Page.loadEventFired", ...) arrived on this connection.
    qint64 eventCount(const QString& method) const { return events_.value(method); }

private:
    void received(const QString& message);

    QWebSocket socket_;
    qint64 nextId_ = 1;
    QHash<qint64, QJsonObject> answers_;
    QHash<QString, qint64> events_;
};

} // namespace vantor
