#include "stats/Format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace zavuv;

TEST(Format, Ratios) {
  EXPECT_EQ(FormatRatio(5.0 / 9 * 100), "55.5556%");
  EXPECT_EQ(FormatRatio(4.0 / 9 * 100), "44.4444%");
  EXPECT_EQ(FormatRatio(3.0 / 5 * 100), "60%");
  EXPECT_EQ(FormatRatio(100), "100%");
  EXPECT_EQ(FormatRatio(0), "0%");
  EXPECT_EQ(FormatRatio(0.5), "0.5%");
  EXPECT_EQ(FormatRatio(1.0 / 3 * 100), "33.3333%");
  EXPECT_EQ(FormatRatio(2.0 / 3 * 100), "66.6667%");
  EXPECT_EQ(FormatRatio(12.34565), "12.3457%");   // half away from zero
  EXPECT_EQ(FormatRatio(99.99996), "100%");       // carries into a new digit
  EXPECT_EQ(FormatRatio(0.00004), "0%");
  EXPECT_EQ(FormatRatio(0.00005), "0.0001%");
  EXPECT_EQ(FormatRatio(1234567), "1234567%");   // no separators in ratios
  EXPECT_EQ(FormatRatio(-12.5), "-12.5%");
}

TEST(Format, Money) {
  EXPECT_EQ(FormatMoney(1234567.5), "1,234,567.5");
  EXPECT_EQ(FormatMoney(-300), "-300");
  EXPECT_EQ(FormatMoney(0), "0");
  EXPECT_EQ(FormatMoney(-0.0), "0");
  EXPECT_EQ(FormatMoney(-0.004), "0");            // rounds to zero: no minus sign
  EXPECT_EQ(FormatMoney(-0.005), "-0.01");
  EXPECT_EQ(FormatMoney(0.95), "0.95");
  EXPECT_EQ(FormatMoney(999.999), "1,000");
  EXPECT_EQ(FormatMoney(100), "100");
  EXPECT_EQ(FormatMoney(1000), "1,000");
  EXPECT_EQ(FormatMoney(-1234.56), "-1,234.56");
  EXPECT_EQ(FormatMoney(123456789012.25), "123,456,789,012.25");
  EXPECT_EQ(FormatMoney(2147483647.0 * 0.95), "2,040,109,464.65");
  EXPECT_EQ(FormatMoney(1e20), "100,000,000,000,000,000,000");
  // Binary noise is not shown: the doubles for these lie just below the half.
  EXPECT_EQ(FormatMoney(0.285), "0.29");
  EXPECT_EQ(FormatMoney(1.005), "1.01");
  EXPECT_EQ(FormatMoney(0.1 + 0.2), "0.3");
  EXPECT_EQ(FormatMoney(std::numeric_limits<double>::infinity()), "INF");
  EXPECT_EQ(FormatMoney(-std::numeric_limits<double>::infinity()), "-INF");
  EXPECT_EQ(FormatMoney(std::nan("")), "NAN");
  EXPECT_EQ(FormatDecimal(1234.5678, 0, false), "1235");
  EXPECT_THROW(FormatDecimal(1, -1, false), std::invalid_argument);
}

TEST(Format, DisplayPatterns) {
  // "#.##": the profit column, where a zero profit is an empty cell.
  EXPECT_EQ(FormatFloat(0, "#.##"), "");
  EXPECT_EQ(FormatFloat(0.001, "#.##"), "");
  EXPECT_EQ(FormatFloat(95, "#.##"), "95");
  EXPECT_EQ(FormatFloat(-100, "#.##"), "-100");
  EXPECT_EQ(FormatFloat(14.25, "#.##"), "14.25");
  EXPECT_EQ(FormatFloat(0.5, "#.##"), ".5");
  EXPECT_EQ(FormatFloat(-0.5, "#.##"), "-.5");
  EXPECT_EQ(FormatFloat(1234567.125, "#.##"), "1234567.13");
  // "0.##": the accumulated profit always shows a digit.
  EXPECT_EQ(FormatFloat(0, "0.##"), "0");
  EXPECT_EQ(FormatFloat(-0.004, "0.##"), "0");
  EXPECT_EQ(FormatFloat(0.5, "0.##"), "0.5");
  EXPECT_EQ(FormatFloat(-40000, "0.##"), "-40000");
  // Thousands and fixed decimals.
  EXPECT_EQ(FormatFloat(-40000, "###,###,##0.##"), "-40,000");
  EXPECT_EQ(FormatFloat(12.5, "###,###,##0.##"), "12.5");
  EXPECT_EQ(FormatFloat(1234.5678, "#,###0.###"), "1,234.568");
  EXPECT_EQ(FormatFloat(3, "0.00"), "3.00");
  EXPECT_EQ(FormatFloat(3.1, "000.0#"), "003.1");
  EXPECT_EQ(FormatFloat(std::numeric_limits<double>::infinity(), "#.##"), "INF");
  EXPECT_THROW(FormatFloat(1, "#.#.#"), std::invalid_argument);
  EXPECT_THROW(FormatFloat(1, "$#"), std::invalid_argument);
}
