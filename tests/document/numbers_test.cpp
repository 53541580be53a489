// Number forms: whole numbers and coordinates read from values, and the
// text the reports and lifts write.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "document/numbers.h"

using namespace orvane;

namespace {

void expectWhole(std::string_view text, std::int32_t expected) {
    auto value = toWholeNumber(text);
    ASSERT_TRUE(value.has_value()) << '"' << text << '"';
    EXPECT_EQ(*value, expected) << '"' << text << '"';
}

void expectNotWhole(std::string_view text) {
    EXPECT_FALSE(toWholeNumber(text).has_value()) << '"' << text << '"';
}

}  // namespace

TEST(WholeNumber, ReadsIntegersWithLeadingZerosAndSigns) {
    expectWhole("0044", 44);
    expectWhole("+7", 7);
    expectWhole("-0", 0);
    expectWhole("-2147483648", std::numeric_limits<std::int32_t>::min());
    expectWhole("2147483647", std::numeric_limits<std::int32_t>::max());
    expectWhole("00000000000000000000012", 12);
}

TEST(WholeNumber, RoundsFractionsHalfToEven) {
    expectWhole("12.5", 12);
    expectWhole("13.5", 14);
    expectWhole("4.0", 4);
    expectWhole("-2.5", -2);
    expectWhole("-3.5", -4);
    expectWhole("0.5", 0);
    expectWhole("12.5000001", 13);
    expectWhole("12.4999999", 12);
    expectWhole(".7", 1);
    expectWhole("3.", 3);
    expectWhole("2147483646.5", 2147483646);
}

TEST(WholeNumber, AppliesExponents) {
    expectWhole("1e2", 100);
    expectWhole("1.5e-1", 0);
    expectWhole("25E-1", 2);
    expectWhole("0e999999999999999", 0);
    expectWhole("1e-99999999999999", 0);
    expectWhole("2.147483647e9", 2147483647);
}

TEST(WholeNumber, RefusesTextOutsideTheFormOrRange) {
    for (std::string_view text : {"2147483648", "-2147483649", "2147483647.5", "1e10", "99999999999", " 1", "1 ", "0x10",
                                  "", "+", "-", ".", "e5", "1e", "1e+", "--1", "1.2.3", "12a", "inf", "NaN", "\"3\""})
        expectNotWhole(text);
}

TEST(SinglePrecision, ReadsCorrectlyRounded) {
    EXPECT_EQ(toSingle("-3.0012"), -3.0012f);
    EXPECT_EQ(toSingle("+1.5"), 1.5f);
    EXPECT_EQ(toSingle("1.23456789"), 1.23456789f);
    EXPECT_EQ(toSingle("8e-46"), std::numeric_limits<float>::denorm_min());
    EXPECT_EQ(toSingle("1e-50"), 0.0f);
    EXPECT_EQ(toSingle("3.40282356e38"), std::numeric_limits<float>::max());
    EXPECT_FALSE(toSingle("3.4028236e38").has_value());
    EXPECT_FALSE(toSingle("inf").has_value());
    EXPECT_FALSE(toSingle("1,5").has_value());
    EXPECT_FALSE(toSingle("").has_value());
}

TEST(SingleText, SevenSignificantDigitsWithoutTrailingZeros) {
    EXPECT_EQ(formatSingle(1.5f), "1.5");
    EXPECT_EQ(formatSingle(-2.0f), "-2");
    EXPECT_EQ(formatSingle(0.25f), "0.25");
    EXPECT_EQ(formatSingle(1.0f + 1.23456789f), "2.234568");
    EXPECT_EQ(formatSingle(1234567.0f), "1234567");
    EXPECT_EQ(formatSingle(9999999.0f), "9999999");
    EXPECT_EQ(formatSingle(-0.0f), "0");
    EXPECT_EQ(formatSingle(0.0f), "0");
}

TEST(SingleText, PlainOrExponentDecidedAfterRounding) {
    EXPECT_EQ(formatSingle(0.00001f), "0.00001");  // just below 1E-05 in binary
    EXPECT_EQ(formatSingle(0.0000099999f), "9.9999E-06");
    EXPECT_EQ(formatSingle(6.25e-6f), "6.25E-06");
    EXPECT_EQ(formatSingle(1.5e8f), "1.5E+08");
    EXPECT_EQ(formatSingle(10000000.0f), "1E+07");
    EXPECT_EQ(formatSingle(1.1920929e-7f), "1.192093E-07");
    EXPECT_EQ(formatSingle(-3.0e-20f), "-3E-20");
}

TEST(RoundedText, RoundsHalvesToEvenFromTheExactValue) {
    EXPECT_EQ(formatRounded(static_cast<double>(-3.0012f), 5), "-3.0012");
    EXPECT_EQ(formatRounded(static_cast<double>(1.23456789f), 5), "1.23457");
    EXPECT_EQ(formatRounded(0.015625, 5), "0.01562");  // an exact tie
    EXPECT_EQ(formatRounded(0.046875, 5), "0.04688");
    EXPECT_EQ(formatRounded(1.875, 2), "1.88");
    EXPECT_EQ(formatRounded(0.125, 2), "0.12");
    EXPECT_EQ(formatRounded(0.5, 2), "0.5");
    EXPECT_EQ(formatRounded(0.0, 2), "0");
    EXPECT_EQ(formatRounded(-0.000001, 5), "0");
    EXPECT_EQ(formatRounded(1234.5678, 5), "1234.568");
}

TEST(WholeText, PlainDecimal) {
    EXPECT_EQ(wholeText(-45), "-45");
    EXPECT_EQ(wholeText(2147483648LL), "2147483648");
}
