// The number forms are built without printf for speed; they must still give
// exactly the texts printf gives, over every magnitude a report can carry and
// far beyond, and read numbers exactly as strtod reads them.
#include "core/DateText.h"
#include "core/Failure.h"
#include "core/NumberText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

using namespace qv;

namespace {

// The fixed form from printf's "%.14e" text: 15 significant digits, rounded
// half away from zero at the wanted decimal.
std::string fixedByPrintf(double v, int decimals) {
    char buf[400];
    std::snprintf(buf, sizeof buf, "%.14e", std::fabs(v));
    std::string mant;
    for (const char* p = buf; *p && *p != 'e'; ++p)
        if (*p != '.') mant.push_back(*p);
    const int keep = std::atoi(std::strchr(buf, 'e') + 1) + 1 + decimals;
    std::string digits;
    if (keep <= 0) {
        digits = (keep == 0 && mant[0] >= '5') ? "1" : "0";
    } else {
        const auto k = static_cast<std::size_t>(keep);
        digits = k >= mant.size() ? mant + std::string(k - mant.size(), '0') : mant.substr(0, k);
        if (k < mant.size() && mant[k] >= '5') {
            std::size_t i = digits.size();
            while (i > 0 && digits[i - 1] == '9')
                digits[--i] = '0';
            if (i == 0)
                digits.insert(digits.begin(), '1');
            else
                ++digits[i - 1];
        }
    }
    const auto d = static_cast<std::size_t>(decimals);
    if (digits.size() <= d) digits.insert(0, d + 1 - digits.size(), '0');
    std::string s = digits.substr(0, digits.size() - d);
    if (d) s += "." + digits.substr(digits.size() - d);
    if (v < 0 && s.find_first_of("123456789") != std::string::npos) s.insert(s.begin(), '-');
    return s;
}

std::string generalByPrintf(double v) {
    if (v == 0.0 || !std::isfinite(v)) return "0";
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15G", v);
    return buf;
}

std::vector<double> samples() {
    std::mt19937_64 rng(7);
    std::vector<double> out = {0.5,     -0.5,        2.00005,     -122.41945, 45.00005, 1e-5,   1e15,
                               9.99995, 99999.99995, 0.000049999, 1e300,      -1e-300,  5e-324, 1.7976931348623157e308};
    std::uniform_real_distribution<double> coord(-180.0, 180.0);
    std::uniform_int_distribution<int> exp(-30, 30);
    for (int i = 0; i < 40000; ++i) {
        out.push_back(coord(rng));
        out.push_back(coord(rng) * std::pow(10.0, exp(rng)));
        // Values on a rounding edge of the four- and five-decimal forms.
        out.push_back(std::round(coord(rng) * 1e5) / 1e5 + 0.000005);
    }
    return out;
}

} // namespace

TEST(NumberFormsAgree, GeneralAndFixedFormsMatchPrintf) {
    int mismatches = 0;
    for (double v : samples()) {
        if (num::general(v) != generalByPrintf(v) && ++mismatches < 10)
            ADD_FAILURE() << v << ": " << num::general(v) << " vs " << generalByPrintf(v);
        for (int d : {0, 4, 5})
            if (num::fixed(v, d) != fixedByPrintf(v, d) && ++mismatches < 10)
                ADD_FAILURE() << v << " to " << d << ": " << num::fixed(v, d) << " vs " << fixedByPrintf(v, d);
    }
    EXPECT_EQ(mismatches, 0);
}

TEST(NumberFormsAgree, ReadingsMatchStrtod) {
    const char* texts[] = {"45.5",     "+7",
                           "-0.000",   "1e308",
                           "1e309",    "-1e309",
                           "1e-320",   "1e-400",
                           "4807.038", ".5",
                           "3.",       "123456789012345678901234567890",
                           "0.1",      "2.2250738585072011e-308"};
    for (const char* t : texts) {
        const double want = std::strtod(t, nullptr);
        if (!std::isfinite(want)) {
            EXPECT_THROW(num::strict(t), Failure) << t;
            EXPECT_EQ(num::leading(t), 0.0) << t;
            continue;
        }
        EXPECT_EQ(num::strict(t), want) << t;
        EXPECT_EQ(num::leading(t), want) << t;
    }
    std::mt19937_64 rng(11);
    std::uniform_real_distribution<double> coord(-18000.0, 18000.0);
    for (int i = 0; i < 20000; ++i) {
        char buf[40];
        std::snprintf(buf, sizeof buf, "%.*f", static_cast<int>(rng() % 9), coord(rng));
        ASSERT_EQ(num::strict(buf), std::strtod(buf, nullptr)) << buf;
    }
}

TEST(NumberFormsAgree, PaddedNumbersMatchPrintf) {
    for (int width : {0, 2, 4})
        for (int v :
             {-100000, -1000, -99, -10, -9, -1, 0, 1, 9, 10, 99, 100, 2026, 99999, 2147483647, -2147483647 - 1}) {
            char buf[32];
            std::snprintf(buf, sizeof buf, "%0*d", width, v);
            std::string s = "x";
            appendPadded(s, v, width);
            EXPECT_EQ(s, std::string("x") + buf) << v << " width " << width;
        }
}
