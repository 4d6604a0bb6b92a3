#include "catalog/get_token.h"
#include "text/error.h"

#include <gtest/gtest.h>

using vantor::GetToken;

// Plain records are cut on real catalogs by the catalog builders' tests.
TEST(GetToken, FieldsAreTrimmedButTheLast) {
    EXPECT_EQ(GetToken(2, QStringLiteral("a,   b  , c, d, e")), "b");
    EXPECT_EQ(GetToken(5, QStringLiteral("a, b, c, d,  e ")), " e ");
}

TEST(GetToken, QuotedHelpStringKeepsQuotesAndCommas) {
    const QString quoted = "{00020813-0000-0000-C000-000000000046}, 1.9, \"Excel, Object "
                           "Library\", c:\\x.olb, Lib, Name, with, commas";
    EXPECT_EQ(GetToken(3, quoted), "\"Excel, Object Library\"");
    EXPECT_EQ(GetToken(4, quoted), "c:\\x.olb");
    EXPECT_EQ(GetToken(5, quoted), "Lib, Name, with, commas");
}

TEST(GetToken, LineWithoutTheFieldIsAnError) {
    EXPECT_THROW(GetToken(2, QStringLiteral("no commas here")), vantor::Error);
    EXPECT_THROW(GetToken(4, QStringLiteral("a, b")), vantor::Error);
    EXPECT_THROW(GetToken(1, QStringLiteral("")), vantor::Error);
    EXPECT_THROW(GetToken(0, QStringLiteral("a, b, c, d, e")), vantor::Error);
    // An unterminated quote cannot be cut either.
    EXPECT_THROW(GetToken(3, QStringLiteral("a, b, \"open quote, c")), vantor::Error);
    // Field 5 always exists: it may be empty.
    EXPECT_EQ(GetToken(5, QStringLiteral("x")), "");
}
