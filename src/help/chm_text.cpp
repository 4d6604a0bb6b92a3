#include "help/chm_text.h"

#include "text/win1252.h"

#include <QStringDecoder>

namespace vantor::help {

namespace {

// Primary language (low 10 bits of the LCID) -> the code page's name for the decoder.
struct LanguageCodePage {
    quint16 language;
    const char* codec;
};
constexpr LanguageCodePage kCodePages[] = {
    {0x05, "windows-1250"}, {0x0E, "windows-1250"}, {0x15, "windows-1250"}, {0x18, "windows-1250"},
    {0x1A, "windows-1250"}, {0x1B, "windows-1250"}, {0x1C, "windows-1250"}, {0x24, "windows-1250"},
    {0x02, "windows-1251"}, {0x19, "windows-1251"}, {0x22, "windows-1251"}, {0x23, "windows-1251"},
    {0x2F, "windows-1251"}, {0x08, "windows-1253"}, {0x1F, "windows-1254"}, {0x0D, "windows-1255"},
    {0x01, "windows-1256"}, {0x29, "windows-1256"}, {0x25, "windows-1257"}, {0x26, "windows-1257"},
    {0x27, "windows-1257"}, {0x2A, "windows-1258"}, {0x1E, "windows-874"},  {0x11, "Shift_JIS"},
    {0x12, "EUC-KR"},
};

const char* codecFor(quint32 lcid) {
    const auto language = quint16(lcid & 0x3FF);
    if (language == 0x04) // Chinese: simplified for China and Singapore, else traditional
        return (lcid == 0x804 || lcid == 0x1004) ? "GBK" : "Big5";
    for (const LanguageCodePage& c : kCodePages)
        if (c.language == language)
            return c.codec;
    return nullptr;
}

} // namespace

QString decodeHelpText(const QByteArray& bytes, quint32 lcid) {
    if (const char* codec = codecFor(lcid)) {
        QStringDecoder decoder(codec);
        if (decoder.isValid())
            return decoder.decode(bytes);
    }
    return win1252::decode(bytes);
}

} // namespace vantor::help
