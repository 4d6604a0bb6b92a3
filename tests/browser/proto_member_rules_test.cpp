#include "browser/default_value.h"
#include "browser/proto_member_rules.h"
#include "browser/variant_type_name.h"
#include "tli/search_data.h"

#include <gtest/gtest.h>

using namespace vantor;
namespace vt = tli::vt;

namespace {

tli::Value integer(quint16 type, qint64 v) {
    return {.vt = type, .integer = v, .text = {}};
}
tli::Value real(quint16 type, double v) {
    return {.vt = type, .real = v, .text = {}};
}
tli::Value text(const QString& s) {
    return {.vt = vt::Bstr, .text = s};
}
tli::Value broken() {
    return {.state = tli::Value::State::Invalid, .vt = vt::I4, .integer = 3, .text = {}};
}

} // namespace

// The table's less obvious rows: wide strings and blobs, and array bits left on an element type.
TEST(ProtoRules, VariantTypeNames) {
    EXPECT_EQ(variantTypeName(31), "String");
    EXPECT_EQ(variantTypeName(65), "Byte");
    EXPECT_EQ(variantTypeName(0x1000), "FixedArray");
    for (quint16 other : {0, 5, 10, 25, 0x1003, 0x2008, 0xFFFF})
        EXPECT_EQ(variantTypeName(other), "Any") << other;
}

// Const, Function, Sub and Property of real members are in the golden prototypes.
TEST(ProtoRules, PrefixAndPropertyTag) {
    EXPECT_EQ(proto::memberPrefix(false, 1, vt::Variant, true), "Sub ");
    EXPECT_EQ(proto::memberPrefix(false, 1, vt::Bstr, true), "Function ");
    // An event with a Variant result is still an event, a property never a Sub.
    EXPECT_EQ(proto::memberPrefix(false, 16, vt::Variant, true), "Event ");
    EXPECT_EQ(proto::memberPrefix(false, 2, vt::Void, true), "Property ");
    EXPECT_EQ(proto::memberPrefix(false, 0, vt::I4, false), "Property ");

    EXPECT_EQ(proto::propertyTag(14), "[Get/Let/Set]");
    EXPECT_EQ(proto::propertyTag(3), "");
    EXPECT_EQ(proto::propertyTag(-1), "");
}

TEST(ProtoRules, SearchDataAndSeparators) {
    EXPECT_TRUE(tli::isConstantSearchData(0x04000003));
    EXPECT_FALSE(tli::isConstantSearchData(0x08000003));
    // A negative search data: the byte below the sign bit with 128 added.
    EXPECT_TRUE(tli::isConstantSearchData(qint32(0x84000001)));
    EXPECT_FALSE(tli::isConstantSearchData(qint32(0x80000004)));
    EXPECT_EQ(proto::parameterSeparator(1), ", \\i ");
    for (qint32 mode : {0, 2, 6, -1})
        EXPECT_EQ(proto::parameterSeparator(mode), ", \\par\\tab \\i ");
}

TEST(ProtoRules, ConstantValues) {
    EXPECT_EQ(proto::constantValueText(integer(vt::I4, 15)), "15\\cf0");
    EXPECT_EQ(proto::constantValueText(integer(vt::I4, 16)), "16 (&H10)\\cf0");
    EXPECT_EQ(proto::constantValueText(integer(vt::I4, INT32_MIN)),
              "-2147483648 (&H80000000)\\cf0");
    EXPECT_EQ(proto::constantValueText(integer(vt::I2, -2)), "-2 (&HFFFE)\\cf0");
    EXPECT_EQ(proto::constantValueText(text("a{b}\\")), "\"a\\{b\\}\\\\\"\\cf0 ");
    EXPECT_EQ(proto::constantValueText(real(vt::R8, 2.5)), "");
    EXPECT_EQ(proto::constantValueText(broken()), "");
}

// Element counts from a lower bound other than 0 (all of Wine's are 0): 5 from 1 end at 5.
TEST(ProtoRules, ArrayBounds) {
    EXPECT_EQ(proto::upperFromCount(1, 5), 5);
    EXPECT_EQ(proto::upperFromCount(-2, 4), 1);
    EXPECT_EQ(proto::upperFromCount(0, 0), -1);
}

TEST(ProtoRules, DefaultValues) {
    EXPECT_EQ(formatDefaultValue(text("{x}")), "\"\\{x\\}\"");
    EXPECT_EQ(formatDefaultValue(integer(vt::Bool, 0)), "False");
    EXPECT_EQ(formatDefaultValue(integer(vt::I4, -1)), "-1");
    EXPECT_EQ(formatDefaultValue(integer(vt::UI4, 4294967295)), "4294967295");
    EXPECT_EQ(formatDefaultValue(integer(vt::Int, 42)), "42");
    EXPECT_EQ(formatDefaultValue(integer(vt::Cy, 15000)), "1.5");
    EXPECT_EQ(formatDefaultValue(integer(vt::Cy, -10001)), "-1.0001");
    EXPECT_EQ(formatDefaultValue(real(vt::R8, 0.1)), "0.1");
    EXPECT_EQ(formatDefaultValue(real(vt::R8, 1e20)), "1E+20");
    // What widl leaves for a Single default of 1: the integer's bits read as a float.
    EXPECT_EQ(formatDefaultValue(real(vt::R4, 1.40129846e-45)), "1.401298E-45");
    EXPECT_EQ(formatDefaultValue(integer(vt::Dispatch, 0)), "");
    EXPECT_EQ(formatDefaultValue(broken()), "");
}

TEST(ProtoRules, DatesAndLongs) {
    EXPECT_EQ(formatDefaultValue(real(vt::Date, 0)), "");
    EXPECT_EQ(formatDefaultValue(real(vt::Date, 36526)), "#1/1/2000#");
    EXPECT_EQ(formatDefaultValue(real(vt::Date, 36526.75)), "#1/1/2000 6:00:00 PM#");
    EXPECT_EQ(formatDefaultValue(real(vt::Date, 0.5)), "#12:00:00 PM#");
    EXPECT_EQ(formatDefaultValue(real(vt::Date, 1.0 / 86400)), "#12:00:01 AM#");
    // Before the epoch the fraction still counts forward from midnight of its day.
    EXPECT_EQ(formatDefaultValue(real(vt::Date, -1.25)), "#12/29/1899 6:00:00 AM#");
    EXPECT_EQ(formatDate(1e300), "");

    EXPECT_EQ(defaultAsLong(integer(vt::I4, -5)), -5);
    EXPECT_EQ(defaultAsLong(integer(vt::Bool, 1)), -1);
    // Halves round to even.
    EXPECT_EQ(defaultAsLong(real(vt::R8, 2.5)), 2);
    EXPECT_EQ(defaultAsLong(real(vt::R8, 3.5)), 4);
    EXPECT_EQ(defaultAsLong(real(vt::R8, 3e9)), std::nullopt);
    EXPECT_EQ(defaultAsLong(integer(vt::UI4, 4294967295)), std::nullopt);
    EXPECT_EQ(defaultAsLong(text("1")), std::nullopt);
}
