#include "common/Numbers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace varst {
namespace {

TEST(IsNumeric, FollowsTheDocumentedGrammar) {
  struct Case {
    const char* text;
    bool numeric;
  };
  const Case cases[] = {
      {"0", true},       {"-12", true},      {"+3", true},     {" 7 ", true},    {"\t7", true},
      {"12.", true},     {".5", true},       {"1.25", true},   {"1e5", true},    {"1E-3", true},
      {"-2.5e+2", true}, {"", false},        {" ", false},     {".", false},     {"+", false},
      {"1e", false},     {"e5", false},      {"1.2.3", false}, {"12a", false},   {"inf", false},
      {"nan", false},    {"&HFF", false},    {"1,000", false}, {"- 1", false},   {"0x10", false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsNumeric(c.text), c.numeric) << '"' << c.text << '"';
}

TEST(RoundHalfEven, RoundsHalvesToTheEvenNeighbour) {
  EXPECT_EQ(RoundHalfEven(2.5), 2);
  EXPECT_EQ(RoundHalfEven(3.5), 4);
  EXPECT_EQ(RoundHalfEven(-2.5), -2);
  EXPECT_EQ(RoundHalfEven(-3.5), -4);
  EXPECT_EQ(RoundHalfEven(2.4999), 2);
  EXPECT_EQ(RoundHalfEven(0.5), 0);
  // The very double the library's rounding gives, its sign too, near every edge of the way it
  // is worked out and over a spread of values.
  std::vector<double> values = {0.0, -0.0, 0.49999999999999994, -0.49999999999999994, 0.5000000000000001,
                                4503599627370495.5, -4503599627370495.5, 4503599627370496.0, 4503599627370497.0,
                                9007199254740993.0, 2147483647.5, -2147483648.5, 1e300, -1e-300,
                                std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
                                std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::denorm_min()};
  for (double v = 0.173; std::fabs(v) < 1e15; v = v * -1.37 + 0.173) values.push_back(v);
  for (int i = -2000; i <= 2000; ++i) values.push_back(i / 4.0 + (i % 3) * 1e-9);
  for (const double v : values) {
    const double expected = std::nearbyint(v);
    const double got = RoundHalfEven(v);
    EXPECT_TRUE(std::memcmp(&got, &expected, sizeof got) == 0 || (std::isnan(got) && std::isnan(expected))) << v;
  }
}

TEST(ParseInteger, LenientWithClampedOverflow) {
  EXPECT_EQ(ParseInteger(" 42 "), 42);
  EXPECT_EQ(ParseInteger("+7"), 7);
  EXPECT_EQ(ParseInteger("-7"), -7);
  EXPECT_EQ(ParseInteger("2.5"), 2);
  EXPECT_EQ(ParseInteger("3.5"), 4);
  EXPECT_EQ(ParseInteger("abc"), 0);
  EXPECT_EQ(ParseInteger(""), 0);
  EXPECT_EQ(ParseInteger("1e3"), 1000);
  EXPECT_EQ(ParseInteger("99999999999999999999999999999999999999999"), std::numeric_limits<std::int32_t>::max());
  EXPECT_EQ(ParseInteger("-1e400"), std::numeric_limits<std::int32_t>::min());
}

TEST(ParseReal, SinglePrecisionResult) {
  EXPECT_FLOAT_EQ(ParseReal("2.5"), 2.5F);
  EXPECT_EQ(ParseReal("x"), 0.0F);
  EXPECT_EQ(ParseReal("1e39"), std::numeric_limits<float>::max());
}

TEST(StrictConversions, RefuseWhatDoesNotFit) {
  double real = 0;
  EXPECT_TRUE(TryParseDouble("1e308", real));
  EXPECT_FALSE(TryParseDouble("1e309", real));
  EXPECT_FALSE(TryParseDouble("nan", real));
  EXPECT_FALSE(TryParseDouble("inf", real));
  EXPECT_TRUE(TryParseDouble("1e-400", real));
  EXPECT_EQ(real, 0.0) << "an underflow reads as zero";
  std::int32_t value = 0;
  EXPECT_TRUE(TryParseInt32("2147483647", value));
  EXPECT_EQ(value, 2147483647);
  EXPECT_FALSE(TryParseInt32("2147483648", value));
  EXPECT_FALSE(TryParseInt32("1234567890123456789012345678901234567890", value));
  EXPECT_TRUE(TryParseInt32("-2147483648", value));
  std::int16_t shortValue = 0;
  EXPECT_TRUE(TryParseInt16("32767", shortValue));
  EXPECT_FALSE(TryParseInt16("32768", shortValue));
  EXPECT_FALSE(RoundToInt32(std::numeric_limits<double>::quiet_NaN(), value));
}

TEST(HexText, PlainUpperCaseDigits) {
  EXPECT_EQ(HexText(0), "0");
  EXPECT_EQ(HexText(255), "FF");
  EXPECT_EQ(HexText(65536), "10000");
  EXPECT_EQ(HexText(4294967296.0), "100000000");
  EXPECT_EQ(HexText(156301487), "950F8AF");
  EXPECT_EQ(HexText(4294967296.0 * 65536 + 1), "1000000000001");
  EXPECT_EQ(HexText(15.5), "10") << "rounded half to even first";
  EXPECT_EQ(HexText(14.5), "E");
  EXPECT_EQ(HexText(1e30), "C9F2C9CD04675000000000000");
}

TEST(DecimalText, ShortReadableNumbers) {
  struct Case {
    double value;
    const char* text;
  };
  const Case cases[] = {
      {0, "0"},        {100, "100"},         {0.5, "0.5"},         {-0.25, "-0.25"},
      {2.1 / 1000, "0.0021"}, {1.0 / 3, "0.333333333333333"}, {156301487, "156301487"},
      {1e20, "1E+20"}, {1e-6, "1E-06"},      {0.0001, "0.0001"},   {-0.0, "0"},
  };
  for (const Case& c : cases) EXPECT_EQ(DecimalText(c.value), c.text) << c.value;
  EXPECT_EQ(DecimalTextSingle(1.998F), "1.998");
  EXPECT_EQ(DecimalTextSingle(99.9F), "99.9");
  EXPECT_EQ(DecimalText(static_cast<std::int64_t>(-12)), "-12");
}

TEST(FormatFixed, RoundsHalvesAwayFromZeroAtFifteenDigits) {
  struct Case {
    double value;
    int decimals;
    const char* text;
  };
  const Case cases[] = {
      {7.0 / 3, 2, "2.33"},   {35, 2, "35.00"},     {2.335, 2, "2.34"},      {2.345, 2, "2.35"},
      {-2.335, 2, "-2.34"},   {0.005, 2, "0.01"},   {0.0049, 2, "0.00"},     {-0.001, 2, "0.00"},
      {999.999488, 2, "1000.00"}, {80.0248, 1, "80.0"}, {0.5, 0, "1"},         {2.5, 0, "3"},
      {0, 2, "0.00"},         {1e20, 2, "100000000000000000000.00"},           {0.512, 2, "0.51"},
      {12345678.125, 2, "12345678.13"},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatFixed(c.value, c.decimals), c.text) << c.value;
}

// The fixed format by the book: 15 significant digits printed, then rounded in decimal.
std::string FixedByPrintf(double value, int decimals) {
  char scientific[64];
  std::snprintf(scientific, sizeof scientific, "%.14e", std::fabs(value));
  std::string digits;
  const char* e = std::strchr(scientific, 'e');
  for (const char* p = scientific; p < e; ++p) {
    if (*p != '.') digits += *p;
  }
  const int exponent = std::atoi(e + 1);
  std::string out;
  const int shift = exponent - 14 + decimals;
  std::string n = digits;
  if (shift >= 0) {
    n.append(static_cast<std::size_t>(shift), '0');
  } else if (-shift > static_cast<int>(n.size())) {
    n = "0";
  } else {
    const std::size_t keep = n.size() - static_cast<std::size_t>(-shift);
    const bool up = n[keep] >= '5';
    n.resize(keep);
    if (n.empty()) n = "0";
    for (int i = static_cast<int>(n.size()) - 1; up; --i) {
      if (i < 0) {
        n.insert(n.begin(), '1');
        break;
      }
      if (n[static_cast<std::size_t>(i)] == '9') {
        n[static_cast<std::size_t>(i)] = '0';
      } else {
        ++n[static_cast<std::size_t>(i)];
        break;
      }
    }
  }
  while (static_cast<int>(n.size()) < decimals + 1) n.insert(n.begin(), '0');
  out = n.substr(0, n.size() - static_cast<std::size_t>(decimals));
  if (decimals > 0) out += "." + n.substr(n.size() - static_cast<std::size_t>(decimals));
  const bool zero = out.find_first_not_of("0.") == std::string::npos;
  return value < 0 && !zero ? "-" + out : out;
}

TEST(FormatFixed, AgreesWithTheDecimalRoundingOfItsFifteenDigits) {
  std::vector<double> values{0.005, 0.004999, 0.125, 0.375, 1.005, 2.675, 9.995, 99.995, 1e-7, 123456789.125,
                             999999999999.995, 1e14 - 0.5, 0.01, 1.0 / 3, 1e20, -2.5, -0.004};
  for (int k = 0; k < 20000; ++k) values.push_back(k / 1000.0);
  for (int k = 0; k < 2000; ++k) values.push_back(k / 8.0 + 0.005);
  for (int k = 1; k < 300; ++k) values.push_back(std::pow(1.13, k) / 1e10);
  for (double v : {1e-3, 1.005, 2.345, 1e13 + 0.125}) {
    values.push_back(std::nextafter(v, 0.0));
    values.push_back(std::nextafter(v, 1e300));
  }
  for (const double v : values) {
    for (int decimals : {0, 1, 2}) EXPECT_EQ(FormatFixed(v, decimals), FixedByPrintf(v, decimals)) << ShortestText(v);
  }
}

TEST(ShortestText, ReadsBackExactly) {
  EXPECT_EQ(ShortestText(0.1), "0.1");
  EXPECT_EQ(ShortestText(-0.0), "0");
  EXPECT_EQ(ShortestText(4093.0000000000005), "4093.0000000000005");
  EXPECT_EQ(ShortestText(-600), "-600");
}

}  // namespace
}  // namespace varst
