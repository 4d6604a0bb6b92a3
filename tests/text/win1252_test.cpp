#include "text/win1252.h"

#include <gtest/gtest.h>

using namespace vantor;

TEST(Win1252, AllBytesRoundTrip) {
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    const QString text = win1252::decode(all);
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(win1252::encode(text), all);
}

TEST(Win1252, HighHalfIsNotLatin1) {
    EXPECT_EQ(win1252::decode("\x80"), QString(QChar(0x20AC)));
    EXPECT_EQ(win1252::decode("\x9F"), QString(QChar(0x0178)));
    EXPECT_EQ(win1252::decode("\x92"), QString(QChar(0x2019)));
    // The five undefined bytes keep their C1 code points, both ways.
    for (char16_t c : {0x81, 0x8D, 0x8F, 0x90, 0x9D}) {
        const QByteArray one(1, char(c));
        EXPECT_EQ(win1252::decode(one), QString(QChar(c)));
        EXPECT_EQ(win1252::encode(QString(QChar(c))), one);
    }
    EXPECT_EQ(win1252::decode("\xE9"), QStringLiteral("\u00E9"));
}

TEST(Win1252, CharactersOutsideBecomeQuestionMarks) {
    // U+0080 is a C1 control that the code page does not map; a CJK character and an emoji
    // (one surrogate pair) are outside too.
    EXPECT_EQ(win1252::encode(QStringLiteral("a\u0080b")), QByteArray("a?b"));
    EXPECT_EQ(win1252::encode(QStringLiteral("x\u4E2Dy")), QByteArray("x?y"));
    EXPECT_EQ(win1252::encode(QString::fromUtf8("[\xF0\x9F\x98\x80]")), QByteArray("[?]"));
    EXPECT_EQ(win1252::encode(QStringLiteral("\u20AC\u0152")), QByteArray("\x80\x8C"));
}
