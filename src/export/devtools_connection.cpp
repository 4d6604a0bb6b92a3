#include "export/devtools_connection.h"

#include "text/error.h"

#include <QEventLoop>
#include <QJsonDocument>
#include <QTimer>

namespace vantor {

namespace {

[[noreturn]] void fail(const QString& description) {
    throw Error(Error::ObjectMissing, QStringLiteral("DevTools"), description);
}

} // namespace

bool waitWithoutInput(int ms, const std::function<bool()>& done) {
    if (done && done())
        return true;
    QEventLoop loop;
    QTimer limit;
    limit.setSingleShot(true);
    QObject::connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
    // Whatever the events change is looked at again every few milliseconds.
    QTimer check;
    if (done) {
        QObject::connect(&check, &QTimer::timeout, &loop, [&] {
            if (done())
                loop.quit();
        });
        check.start(5);
    }
    limit.start(ms);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    return done && done();
}

DevToolsConnection::DevToolsConnection() {
    connect(&socket_, &QWebSocket::textMessageReceived, this, &DevToolsConnection::received);
}

bool DevToolsConnection::open(const QUrl& endpoint, int timeoutMs) {
    socket_.abort();
    answers_.clear();
    events_.clear();
    bool ended = false;
    const QMetaObject::Connection c =
        connect(&socket_, &QWebSocket::disconnected, this, [&ended] { ended = true; });
    socket_.open(endpoint);
    waitWithoutInput(timeoutMs, [&] { return ended || isOpen(); });
    disconnect(c);
    if (!isOpen()) {
        socket_.abort();
        return false;
    }
    return true;
}

bool DevToolsConnection::isOpen() const {
    return socket_.state() == QAbstractSocket::ConnectedState;
}

void DevToolsConnection::received(const QString& message) {
    const QJsonObject answer = QJsonDocument::fromJson(message.toUtf8()).object();
    if (const QJsonValue id = answer.value(QLatin1String("id")); id.isDouble())
        answers_.insert(id.toInteger(), answer);
    else if (const QJsonValue method = answer.value(QLatin1String("method")); method.isString())
        ++events_[method.toString()];
}

QJsonObject DevToolsConnection::call(const QString& method, const QJsonObject& params,
                                     const QString& sessionId, int timeoutMs) {
    return answer(send(method, params, sessionId), method, timeoutMs);
}

qint64 DevToolsConnection::send(const QString& method, const QJsonObject& params,
                                const QString& sessionId) {
    if (!isOpen())
        fail(QStringLiteral("The browser is not connected"));
    const qint64 id = nextId_++;
    QJsonObject command{{QStringLiteral("id"), id}, {QStringLiteral("method"), method}};
    if (!params.isEmpty())
        command.insert(QStringLiteral("params"), params);
    if (!sessionId.isEmpty())
        command.insert(QStringLiteral("sessionId"), sessionId);
    socket_.sendTextMessage(
        QString::fromUtf8(QJsonDocument(command).toJson(QJsonDocument::Compact)));
    return id;
}

QJsonObject DevToolsConnection::answer(qint64 id, const QString& method, int timeoutMs) {
    if (!waitWithoutInput(timeoutMs, [&] { return answers_.contains(id) || !isOpen(); }) ||
        !answers_.contains(id))
        fail(isOpen() ? method + QStringLiteral(": the browser did not answer")
                      : method + QStringLiteral(": the browser closed the connection"));
    const QJsonObject answer = answers_.take(id);
    if (const QJsonValue error = answer.value(QLatin1String("error")); error.isObject())
        fail(method + QStringLiteral(": ") +
             error.toObject().value(QLatin1String("message")).toString());
    return answer.value(QLatin1String("result")).toObject();
}

} // namespace vantor
