#include "app/hand_over_server.h"

#include "app/hand_over_message.h"

#include <QLocalSocket>
#include <QPointer>
#include <QTimer>

namespace vantor {

namespace {

// A sender writes its whole message at once: a connection still incomplete after this is
// dropped so that it holds nothing.
constexpr int kMessageMilliseconds = 10000;

} // namespace

HandOverServer::HandOverServer(Receiver receiver, QObject* parent)
    : QObject(parent), receiver_(std::move(receiver)) {
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&server_, &QLocalServer::newConnection, this, &HandOverServer::accept);
}

bool HandOverServer::listen(const QString& socketPath, QString& problem) {
    QLocalServer::removeServer(socketPath);
    if (server_.listen(socketPath))
        return true;
    problem = server_.errorString();
    return false;
}

void HandOverServer::accept() {
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        auto* timeout = new QTimer(socket);
        timeout->setSingleShot(true);
        connect(timeout, &QTimer::timeout, socket, &QLocalSocket::abort);
        timeout->start(kMessageMilliseconds);
        auto received = std::make_shared<QByteArray>();
        connect(socket, &QLocalSocket::readyRead, socket, [this, socket, timeout, received] {
            received->append(socket->readAll());
            const HandOverParse parse = parseHandOver(*received);
            if (parse.state == HandOverParse::State::NeedMore)
                return;
            timeout->stop();
            disconnect(socket, &QLocalSocket::readyRead, nullptr, nullptr);
            if (parse.state == HandOverParse::State::Refused) {
                socket->abort();
                return;
            }
            QPointer<QLocalSocket> peer(socket);
            receiver_(parse.text, [peer](qint32 result) {
                if (!peer || peer->state() != QLocalSocket::ConnectedState)
                    return;
                peer->write(encodeHandOverReply(result));
                peer->disconnectFromServer();
            });
        });
    }
}

} // namespace vantor
