#include "catalog/get_token.h"
#include "text/error.h"

#include <gtest/gtest.h>

using vantor::GetToken;

namespace {
const QString kRecord =
    "{F935DC20-1CF0-11D0-ADB9-00C04FD58A0B}, 1.0, Windows Script Host Object Model, "
    "C:\\windows\\system32\\wshom.ocx, LibName";
const QString kQuoted = "{00020813-0000-0000-C000-000000000046}, 1.9, \"Excel, Object Library\", "
                        "c:\\x.olb, Lib, Name, with, commas";
} // namespace

TEST(GetToken, PlainFields) {
    EXPECT_EQ(GetToken(1, kRecord), "{F935DC20-1CF0-11D0-ADB9-00C04FD58A0B}");
    EXPECT_EQ(GetToken(2, kRecord), "1.0");
    EXPECT_EQ(GetToken(3, kRecord), "Windows Script Host Object Model");
    EXPECT_EQ(GetToken(4, kRecord), "C:\\windows\\system32\\wshom.ocx");
    EXPECT_EQ(GetToken(5, kRecord), "LibName");
}

TEST(GetToken, QuotedHelpStringKeepsQuotesAndLastFieldRunsToTheEnd) {
    EXPECT_EQ(GetToken(3, kQuoted), "\"Excel, Object Library\"");
    EXPECT_EQ(GetToken(4, kQuoted), "c:\\x.olb");
    EXPECT_EQ(GetToken(5, kQuoted), "Lib, Name, with, commas");
    // Field 5 is not trimmed; the others are.
    EXPECT_EQ(GetToken(5, QStringLiteral("a, b, c, d,  e ")), " e ");
    EXPECT_EQ(GetToken(2, QStringLiteral("a,   b  , c, d, e")), "b");
}

TEST(GetToken, BackReferencesAndPlaceholdersReadAsWritten) {
    const QString backRef = "Scripting.FileSystemObject2, -1, -1, -1, -1";
    EXPECT_EQ(GetToken(2, backRef), "-1");
    EXPECT_EQ(GetToken(5, backRef), "-1");
    EXPECT_EQ(GetToken(4, QStringLiteral("{00000000-0000-0000-0000-000000000000}, 0.0, "
                                         "ShitHapen, c:\\junk, LibName")),
              "c:\\junk");
}

TEST(GetToken, LineWithoutTheFieldIsAnError) {
    EXPECT_THROW(GetToken(2, QStringLiteral("no commas here")), vantor::Error);
    EXPECT_THROW(GetToken(4, QStringLiteral("a, b")), vantor::Error);
    EXPECT_THROW(GetToken(1, QStringLiteral("")), vantor::Error);
    EXPECT_THROW(GetToken(0, kRecord), vantor::Error);
    // An unterminated quote cannot be cut either.
    EXPECT_THROW(GetToken(3, QStringLiteral("a, b, \"open quote, c")), vantor::Error);
    // Field 5 always exists: it may be empty.
    EXPECT_EQ(GetToken(5, QStringLiteral("x")), "");
}
