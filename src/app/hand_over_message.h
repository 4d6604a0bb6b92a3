#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace vantor {

// The hand-over message between two copies, in the copy-data layout: a 32-bit data value (0), a
// 32-bit byte count, both little-endian, then the argument's Windows-1252 bytes. The reply is one
// 32-bit little-endian value, the foreground result.
constexpr qsizetype kHandOverHeaderBytes = 8;
// More than this is not a command line: the message is refused before it is read.
constexpr qsizetype kHandOverMaxBytes = 64 * 1024;

QByteArray encodeHandOver(const QString& argument);

struct HandOverParse {
    enum class State { NeedMore, Refused, Complete };
    State state = State::NeedMore;
    QString text; // Complete: the argument, a single trailing zero byte not part of it
};
// What the bytes received so far on a connection hold.
HandOverParse parseHandOver(const QByteArray& received);

QByteArray encodeHandOverReply(qint32 result);
std::optional<qint32> decodeHandOverReply(const QByteArray& bytes);

} // namespace vantor
