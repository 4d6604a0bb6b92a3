#include "app/hand_over_message.h"

#include "text/win1252.h"

#include <QtEndian>

namespace vantor {

namespace {

void appendLittleEndian(QByteArray& out, quint32 value) {
    char bytes[4];
    qToLittleEndian(value, bytes);
    out.append(bytes, 4);
}

} // namespace

QByteArray encodeHandOver(const QString& argument) {
    QByteArray body = win1252::encode(argument);
    if (body.isEmpty())
        body = QByteArray(1, '\0');
    QByteArray message;
    message.reserve(kHandOverHeaderBytes + body.size());
    appendLittleEndian(message, 0);
    appendLittleEndian(message, quint32(body.size()));
    return message + body;
}

HandOverParse parseHandOver(const QByteArray& received) {
    HandOverParse parse;
    if (received.size() < kHandOverHeaderBytes)
        return parse;
    const quint32 data = qFromLittleEndian<quint32>(received.constData());
    const quint32 count = qFromLittleEndian<quint32>(received.constData() + 4);
    if (data != 0 || count > quint32(kHandOverMaxBytes) ||
        received.size() > kHandOverHeaderBytes + qsizetype(count)) {
        parse.state = HandOverParse::State::Refused;
        return parse;
    }
    if (received.size() < kHandOverHeaderBytes + qsizetype(count))
        return parse;
    QByteArrayView body(received.constData() + kHandOverHeaderBytes, count);
    if (body.endsWith('\0'))
        body.chop(1);
    parse.state = HandOverParse::State::Complete;
    parse.text = win1252::decode(body);
    return parse;
}

QByteArray encodeHandOverReply(qint32 result) {
    QByteArray reply;
    appendLittleEndian(reply, quint32(result));
    return reply;
}

std::optional<qint32> decodeHandOverReply(const QByteArray& bytes) {
    if (bytes.size() != 4)
        return std::nullopt;
    return qFromLittleEndian<qint32>(bytes.constData());
}

} // namespace vantor
