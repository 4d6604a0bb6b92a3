#pragma once

#include <QByteArrayView>
#include <QtEndian>
#include <optional>

namespace vantor::pe {

// Little-endian reads that never leave the bytes they were given: every read is checked and
// an out-of-range read yields nothing instead of touching memory.
class ByteReader {
public:
    ByteReader() = default;
    explicit ByteReader(QByteArrayView bytes) : bytes_(bytes) {}

    qsizetype size() const { return bytes_.size(); }
    QByteArrayView bytes() const { return bytes_; }

    // Whether [offset, offset + length) lies inside the bytes; safe against overflow.
    bool contains(quint64 offset, quint64 length) const {
        const auto total = quint64(bytes_.size());
        return offset <= total && length <= total - offset;
    }

    std::optional<quint8> u8(quint64 offset) const {
        if (!contains(offset, 1))
            return std::nullopt;
        return quint8(bytes_[qsizetype(offset)]);
    }
    std::optional<quint16> u16(quint64 offset) const {
        if (!contains(offset, 2))
            return std::nullopt;
        return qFromLittleEndian<quint16>(bytes_.data() + offset);
    }
    std::optional<quint32> u32(quint64 offset) const {
        if (!contains(offset, 4))
            return std::nullopt;
        return qFromLittleEndian<quint32>(bytes_.data() + offset);
    }
    std::optional<QByteArrayView> slice(quint64 offset, quint64 length) const {
        if (!contains(offset, length))
            return std::nullopt;
        return bytes_.sliced(qsizetype(offset), qsizetype(length));
    }

private:
    QByteArrayView bytes_;
};

} // namespace vantor::pe
