#include "text/win1252.h"

#include <array>
#include <cstring>

namespace vantor::win1252 {
namespace {

// 0x80-0x9F; every other byte is the code point of the same number.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

constexpr std::array<char16_t, 256> decodeTable() {
    std::array<char16_t, 256> table{};
    for (int b = 0; b < 256; ++b)
        table[b] = (b >= 0x80 && b < 0xA0) ? kHigh[b - 0x80] : char16_t(b);
    return table;
}

constexpr std::array<char16_t, 256> kDecode = decodeTable();

} // namespace

QString decode(QByteArrayView bytes) {
    // Latin-1 is the same but for 0x80-0x9F, and Qt widens it fast; mend those bytes after.
    QString out = QString::fromLatin1(bytes);
    const auto* src = reinterpret_cast<const unsigned char*>(bytes.data());
    const qsizetype n = bytes.size();
    char16_t* dst = nullptr;
    qsizetype i = 0;
    while (i < n) {
        // Skip eight plain ASCII bytes at a time.
        if (i + 8 <= n) {
            quint64 word;
            std::memcpy(&word, src + i, 8);
            if ((word & 0x8080808080808080ULL) == 0) {
                i += 8;
                continue;
            }
        }
        if (src[i] >= 0x80 && src[i] < 0xA0) {
            if (!dst)
                dst = reinterpret_cast<char16_t*>(out.data());
            dst[i] = kDecode[src[i]];
        }
        ++i;
    }
    return out;
}

int byteFor(char16_t unit) {
    if (unit < 0x80 || (unit >= 0xA0 && unit < 0x100))
        return unit;
    for (int i = 0; i < int(kHigh.size()); ++i) {
        if (kHigh[i] == unit)
            return 0x80 + i;
    }
    return -1;
}

QByteArray encode(QStringView text) {
    QByteArray out(text.size(), Qt::Uninitialized);
    char* dst = out.data();
    qsizetype n = 0;
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t unit = text[i].unicode();
        if (unit < 0x80) {
            dst[n++] = char(unit);
            continue;
        }
        if (QChar::isHighSurrogate(unit) && i + 1 < size &&
            QChar::isLowSurrogate(text[i + 1].unicode())) {
            ++i;
            dst[n++] = '?';
            continue;
        }
        const int b = byteFor(unit);
        dst[n++] = b < 0 ? '?' : char(b);
    }
    out.truncate(n);
    return out;
}

} // namespace vantor::win1252
