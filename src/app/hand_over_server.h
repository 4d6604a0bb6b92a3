#pragma once

#include <QLocalServer>
#include <QString>
#include <functional>

namespace vantor {

// The running copy's end of the instance tag: listens on the socket, reads each connection's
// hand-over message and passes its text on. A connection whose bytes are not of the layout, or
// that does not complete its message in time, is closed without an answer; the server goes on.
class HandOverServer : public QObject {
public:
    // `reply` sends the foreground result; it may be called later (after the catalogs load),
    // and does nothing when the other copy has gone meanwhile.
    using Receiver = std::function<void(const QString& text, std::function<void(qint32)> reply)>;

    explicit HandOverServer(Receiver receiver, QObject* parent = nullptr);

    // TagWindow: listens on the socket, replacing the file a crashed copy left behind (the
    // caller holds the instance lock and found nobody listening). False with `problem` set when
    // it cannot.
    bool listen(const QString& socketPath, QString& problem);

private:
    void accept();

    Receiver receiver_;
    QLocalServer server_;
};

} // namespace vantor
