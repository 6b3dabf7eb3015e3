#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "db/error.h"
#include "db/value.h"

namespace planora::db {
namespace {

Value money(std::int64_t scaled) {
    return Value::currency(Currency{scaled});
}
Value text(const char* s) {
    return Value::text(s);
}
Value date(int y, int m, int d, int hh = 0, int mm = 0, int ss = 0) {
    return Value::dateTime(DateTime{y, m, d, hh, mm, ss});
}

TEST(ValueCompare, TextsIgnoreCaseIncludingLatin1Letters) {
    EXPECT_EQ(compareValues(text("abc"), text("ABC")), 0);
    EXPECT_EQ(compareValues(text("caffè"), text("CAFFÈ")), 0);
    EXPECT_EQ(compareValues(text("ÀÉÎÕÜ"), text("àéîõü")), 0);
    EXPECT_LT(*compareValues(text("abc"), text("ABD")), 0);
    EXPECT_GT(*compareValues(text("b"), text("A")), 0);
    // The multiplication sign sits among the Latin-1 capitals but is no letter.
    EXPECT_NE(compareValues(text("×"), text("÷")), 0);
}

TEST(ValueCompare, TextsCompareByCharacterCodeAfterFolding) {
    // Room numbers are texts: "9" comes after "10".
    EXPECT_GT(*compareValues(text("9"), text("10")), 0);
    EXPECT_LT(*compareValues(text("10"), text("101")), 0);
    EXPECT_LT(*compareValues(text(""), text("a")), 0);
    // Letters with accents come after every ASCII letter.
    EXPECT_GT(*compareValues(text("è"), text("z")), 0);
    EXPECT_LT(*compareValues(text("20240101"), text("20240102")), 0);
}

TEST(ValueCompare, NumbersOfEveryKindCompareAsNumbers) {
    EXPECT_EQ(compareValues(Value::integer(1), Value::real(1.0)), 0);
    EXPECT_EQ(compareValues(Value::integer(12), money(120000)), 0);
    EXPECT_EQ(compareValues(Value::real(12.5), money(125000)), 0);
    EXPECT_EQ(compareValues(Value::boolean(true), Value::integer(1)), 0);
    EXPECT_LT(*compareValues(Value::integer(2), Value::real(2.5)), 0);
    EXPECT_GT(*compareValues(money(10001), Value::integer(1)), 0);
    EXPECT_LT(*compareValues(money(-10001), Value::integer(-1)), 0);
    EXPECT_GT(*compareValues(money(-9999), Value::integer(-1)), 0);
    EXPECT_LT(*compareValues(Value::integer(-3), Value::integer(2)), 0);
}

TEST(ValueCompare, LargeIntegersKeepTheirPrecision) {
    const std::int64_t big = (std::int64_t{1} << 53) + 1;
    // As doubles both sides would read 2^53.
    EXPECT_GT(*compareValues(Value::integer(big), Value::real(9007199254740992.0)), 0);
    EXPECT_LT(*compareValues(Value::integer(big), Value::integer(big + 1)), 0);
    const std::int64_t max = std::numeric_limits<std::int64_t>::max();
    EXPECT_LT(*compareValues(Value::integer(max), Value::real(1e19)), 0);
    EXPECT_GT(*compareValues(Value::integer(max), money(max)), 0);
    EXPECT_LT(*compareValues(money(max - 1), money(max)), 0);
}

TEST(ValueCompare, DatesCompareAsDates) {
    EXPECT_EQ(compareValues(date(2024, 3, 1), date(2024, 3, 1)), 0);
    EXPECT_LT(*compareValues(date(2023, 12, 31), date(2024, 1, 1)), 0);
    EXPECT_GT(*compareValues(date(2024, 1, 1, 10, 0, 1), date(2024, 1, 1, 10, 0, 0)), 0);
}

TEST(ValueCompare, NullAndUnrelatedKindsGiveNoAnswer) {
    EXPECT_FALSE(compareValues(Value(), Value()));
    EXPECT_FALSE(compareValues(Value(), Value::integer(0)));
    EXPECT_FALSE(compareValues(text(""), Value()));
    EXPECT_FALSE(compareValues(text("1"), Value::integer(1)));
    EXPECT_FALSE(compareValues(date(2024, 1, 1), text("20240101")));
    EXPECT_FALSE(compareValues(Value::real(std::nan("")), Value::real(1.0)));
}

TEST(ValueEqualityKey, EqualValuesShareAKeyAndOthersDoNot) {
    const Value same[][3] = {
        {Value::integer(1), Value::real(1.0), money(10000)},
        {Value::real(12.5), money(125000), Value::real(12.5)},
        {Value::real(0.1), money(1000), Value::real(0.1)},
        {text("abc"), text("ABC"), text("aBc")},
        {text("è"), text("È"), text("è")},
        {Value::boolean(false), Value::integer(0), Value::real(-0.0)},
    };
    for (const auto& group : same) {
        for (const Value& v : group) {
            EXPECT_EQ(compareValues(group[0], v), 0) << v.toText();
            EXPECT_EQ(equalityKey(group[0]), equalityKey(v)) << v.toText();
        }
    }
    const Value different[] = {Value::integer(1),    Value::integer(2),  Value::real(1.5),
                               money(10001),         text("1"),          text("abd"),
                               date(2024, 1, 1),     date(2024, 1, 2),   Value::real(1e300),
                               Value::real(1.00001), Value::integer(-1), text("")};
    for (const Value& a : different) {
        for (const Value& b : different) {
            const auto c = compareValues(a, b);
            EXPECT_EQ(c && *c == 0, equalityKey(a) == equalityKey(b))
                << a.toText() << " / " << b.toText();
        }
    }
}

TEST(ValueAccess, AccessorsCheckTheKind) {
    EXPECT_EQ(Value::integer(7).asInteger(), 7);
    EXPECT_EQ(text("x").asText(), "x");
    EXPECT_EQ(money(5).asCurrency().scaled, 5);
    try {
        text("7").asInteger();
        ADD_FAILURE() << "a text was read as an integer";
    } catch (const planora::Error& e) {
        EXPECT_STREQ(e.what(), "Un valore di tipo testo è stato letto come tipo intero");
    }
    EXPECT_THROW(Value().asText(), planora::Error);
    EXPECT_THROW(Value::integer(1).asBoolean(), planora::Error);
    EXPECT_TRUE(Value().isNull());
    EXPECT_TRUE(Value::boolean(false).isNumeric());
    EXPECT_FALSE(text("1").isNumeric());
    EXPECT_EQ(Value(), Value());
    EXPECT_NE(Value::integer(1), Value::real(1.0));  // same content needs the same kind
}

}  // namespace
}  // namespace planora::db
