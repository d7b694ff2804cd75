// Number text: the general 10-digit format, the atof/atoi reading rules, NumberFormat and
// HexEncode.
#include "core/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>

#include "corvane.h"

namespace {

std::string Real(double v) {
    char out[kNumberTextMax];
    int n = FormatReal(v, out);
    EXPECT_EQ(n, static_cast<int>(std::string(out).size()));
    return std::string(out, n);
}

std::string Int(int32_t v) {
    char out[kNumberTextMax];
    int n = FormatInt(v, out);
    return std::string(out, n);
}

TEST(NumberText, FixedFormInsideTheExponentRange) {
    const struct {
        double v;
        const char* text;
    } table[] = {
        {0, "0"},
        {1, "1"},
        {-1, "-1"},
        {-3, "-3"},
        {100, "100"},
        {0.5, "0.5"},
        {-0.5, "-0.5"},
        {0.1, "0.1"},
        {1.5, "1.5"},
        {123.456, "123.456"},
        {1.0 / 3, "0.3333333333"},
        {2.0 / 3, "0.6666666667"},
        {3.14159265358979, "3.141592654"},
        {123456.7890123, "123456.789"},  // trailing zero of the 10 digits dropped
        {0.123456789012, "0.123456789"},
        {0.1234567896, "0.1234567896"},
        {1234567890, "1234567890"},
        {1e9, "1000000000"},
        {9999999999.0, "9999999999"},
        {-2147483648.0, "-2147483648"},
        {0.099999999999, "0.1"},  // rounding to 10 digits lifts the exponent to -1
    };
    for (const auto& row : table) EXPECT_EQ(Real(row.v), row.text) << row.v;
}

TEST(NumberText, ExponentFormKeepsThePointAndThreeExponentDigits) {
    const struct {
        double v;
        const char* text;
    } table[] = {
        {1e10, "1.e+010"},
        {1e20, "1.e+020"},
        {12345678901.0, "1.23456789e+010"},
        {9999999999.6, "1.e+010"},  // rounds up past ten digits
        {0.05, "5.e-002"},
        {-0.05, "-5.e-002"},
        {0.01, "1.e-002"},
        {0.0999999999, "9.99999999e-002"},
        {1.5e300, "1.5e+300"},
        {1e100, "1.e+100"},
        {1e-300, "1.e-300"},
        {-1.25e-7, "-1.25e-007"},
        {1.7976931348623157e308, "1.797693135e+308"},
        {5e-324, "4.940656458e-324"},
    };
    for (const auto& row : table) EXPECT_EQ(Real(row.v), row.text) << row.v;
}

TEST(NumberText, FloatIsWidenedAndSpecialValuesHaveFixedTexts) {
    EXPECT_EQ(Real(static_cast<double>(0.1f)), "0.1000000015");
    EXPECT_EQ(RtString(0.1f).Str(), "0.1000000015");
    EXPECT_EQ(Real(-0.0), "0");
    EXPECT_EQ(Real(std::nan("")), "nan");
    EXPECT_EQ(Real(INFINITY), "inf");
    EXPECT_EQ(Real(-INFINITY), "-inf");
}

TEST(NumberText, AgreesWithTenDigitRoundingOnRandomValues) {
    // Whatever the layout, the value shown must be the value rounded to 10 digits.
    std::mt19937_64 rng(7);
    std::uniform_real_distribution<double> mant(-10, 10);
    std::uniform_int_distribution<int> exp(-40, 40);
    for (int i = 0; i < 20000; ++i) {
        double v = mant(rng) * std::pow(10.0, exp(rng));
        char ref[64];
        std::snprintf(ref, sizeof ref, "%.10g", v);
        std::string text = Real(v);
        ASSERT_EQ(ParseReal(text.c_str()), std::strtod(ref, nullptr)) << text << " vs " << ref;
        ASSERT_LE(text.size(), 17u);  // "-d.ddddddddde-ddd"
    }
}

TEST(NumberText, IntegersArePlainDecimal) {
    EXPECT_EQ(Int(0), "0");
    EXPECT_EQ(Int(-2147483647 - 1), "-2147483648");
    EXPECT_EQ(Int(2147483647), "2147483647");
    EXPECT_EQ(RtString(-42).Str(), "-42");
}

TEST(TextToNumber, AtofRules) {
    const struct {
        const char* text;
        double v;
    } table[] = {
        {" 12abc", 12},
        {"abc", 0},
        {"1e3", 1000},
        {"-1.5e-2", -0.015},
        {"+.5", 0.5},
        {"5.", 5},
        {".", 0},
        {"-", 0},
        {"1e", 1},
        {"1e+", 1},
        {"1E2", 100},
        {"\t\n\v\f\r 7", 7},
        {"0x10", 0},
        {"inf", 0},
        {"nan", 0},
        {"", 0},
        {"1.5.5", 1.5},
        {"12 34", 12},
        {" - 5", 0},
        {"00012.50", 12.5},
        {"1000e-310", 1e-307},
        {"2.5e-3x", 0.0025},
    };
    for (const auto& row : table) EXPECT_EQ(ParseReal(row.text), row.v) << row.text;
    EXPECT_EQ(ParseReal(nullptr), 0);
    EXPECT_EQ(ParseReal("1e400"), INFINITY);
    EXPECT_EQ(ParseReal("-1e400"), -INFINITY);
    EXPECT_EQ(ParseReal("0.0001e400"), INFINITY);
    EXPECT_EQ(ParseReal("1e-400"), 0);
    EXPECT_EQ(ParseReal("4e-320"), std::strtod("4e-320", nullptr));  // subnormals are kept
    EXPECT_GT(ParseReal("4e-320"), 0);
    EXPECT_EQ(ParseReal("123456789012345678901234567890e-500"), 0);
    EXPECT_EQ(ParseReal("1e00000000000000000000000002"), 100);
}

TEST(TextToNumber, AtoiRules) {
    const struct {
        const char* text;
        int32_t v;
    } table[] = {
        {" 12abc", 12},
        {"1e3", 1},
        {"3.9", 3},
        {"-3.9", -3},
        {"+7", 7},
        {"abc", 0},
        {"", 0},
        {"- 4", 0},
        {"-2147483648", INT32_MIN},
        {"2147483647", INT32_MAX},
        {"2147483648", INT32_MAX},
        {"99999999999999999999", INT32_MAX},
        {"-99999999999", INT32_MIN},
    };
    for (const auto& row : table) EXPECT_EQ(ParseInt(row.text), row.v) << row.text;
    EXPECT_EQ(ParseInt(nullptr), 0);
}

TEST(NumberFormatCommand, WidthDecimalsAndAlignment) {
    EXPECT_EQ(NumberFormat(8, 2, 3.14159).Str(), "    3.14");
    EXPECT_EQ(NumberFormat(0, 3, 2).Str(), "2.000");
    EXPECT_EQ(NumberFormat(-8, 2, 3.14159).Str(), "3.14    ");
    EXPECT_EQ(NumberFormat(8.9, 2.9, 1).Str(), "    1.00");  // both truncated
    EXPECT_EQ(NumberFormat(0, 0, 2.7).Str(), "3");
    EXPECT_EQ(NumberFormat(3, 1, -12.25).Str(), "-12.2");  // wider than the width
    EXPECT_EQ(NumberFormat(6, 2, -1.5).Str(), " -1.50");
}

TEST(NumberFormatCommand, OutputNeverPassesTheReservation) {
    RtString wide = NumberFormat(1000, 2, 1);
    EXPECT_EQ(wide.Length(), 255u);
    EXPECT_EQ(wide.View(), std::string(255, ' '));
    RtString left = NumberFormat(-1000, 2, 1);
    EXPECT_EQ(left.View().substr(0, 5), "1.00 ");
    EXPECT_EQ(left.Length(), 255u);
    RtString digits = NumberFormat(0, 2000, 1);
    EXPECT_EQ(digits.Length(), 255u);
    EXPECT_EQ(digits.View().substr(0, 2), "1.");
    EXPECT_EQ(digits.View().find_first_not_of('0', 2), std::string_view::npos);
    RtString big = NumberFormat(0, 2, 1e300);
    EXPECT_EQ(big.Length(), 255u);
    EXPECT_EQ(big.View().find_first_not_of("0123456789"), std::string_view::npos);
    EXPECT_GE(big.Capacity(), 256u);
    // Extreme arguments are truncated through the saturating conversion.
    EXPECT_EQ(NumberFormat(NAN, NAN, 2).Str(), "2");
    EXPECT_EQ(NumberFormat(-1e30, 1, 2).Length(), 255u);
}

TEST(HexEncodeCommand, TwoUpperCaseDigitsPerByte) {
    const unsigned char two[] = {0x0A, 0xFF};
    EXPECT_EQ(HexEncode(two, 2).Str(), "0AFF");
    EXPECT_EQ(HexEncode(two, 1.9).Str(), "0A");
    EXPECT_TRUE(HexEncode(two, 0).Empty());
    EXPECT_TRUE(HexEncode(two, -3).Empty());
    EXPECT_TRUE(HexEncode(two, NAN).Empty());
    unsigned char all[256];
    std::string expect;
    for (int i = 0; i < 256; ++i) {
        all[i] = static_cast<unsigned char>(i);
        char h[3];
        std::snprintf(h, sizeof h, "%02X", i);
        expect += h;
    }
    RtString s = HexEncode(all, 256);
    EXPECT_EQ(s.Str(), expect);
    EXPECT_GT(s.Capacity(), 512u);
}

}  // namespace
