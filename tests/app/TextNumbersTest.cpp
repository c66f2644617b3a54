#include "app/TextNumbers.h"

#include <QString>

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(TextNumbers, IntegersReadTheirLeadingDigits)
{
    const std::pair<const char*, qint64> cases[] = {
        {"7abc", 7},    {"abc", 0},      {"", 0},
        {"  42", 42},   {"\t-12x", -12}, {"+5", 5},
        {"--5", 0},     {"1.9", 1},      {"99999999999999999999999", std::numeric_limits<qint64>::max()},
        {"1008", 1008},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(TextNumbers::ReadLeadingInteger(QString::fromUtf8(text)), expected) << text;
}

TEST(TextNumbers, DecimalsReadTheirLeadingNumberWithAPoint)
{
    const std::pair<const char*, double> cases[] = {
        {"2.5kg", 2.5}, {"1,5", 1.0},    {"abc", 0.0}, {"", 0.0},       {" -0.25", -0.25}, {"+3.", 3.0},
        {".5", 0.5},    {"1e3", 1000.0}, {"1e", 1.0},  {"2E-2x", 0.02}, {"-", 0.0},        {".", 0.0},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_DOUBLE_EQ(TextNumbers::ReadLeadingDecimal(QString::fromUtf8(text)), expected) << text;
    EXPECT_TRUE(std::isinf(TextNumbers::ReadLeadingDecimal(u"1e999")));
}

} // namespace
