#include "download/RecordNumberFormat.h"

#include <gtest/gtest.h>

namespace {

// The value field must print exactly what printf("%8.nf") prints: the binary value correctly
// rounded, exact ties to even, and the point always ".".
TEST(RecordNumberFormat, FixedRoundsTheBinaryValueLikePrintf)
{
    const struct
    {
        double value;
        int decimals;
        int width;
        const char* text;
    } cases[] = {
        {0.125, 2, 0, "0.12"},          // exact tie: to even
        {0.375, 2, 0, "0.38"},          // exact tie: to even
        {2.5, 0, 8, "       2"},        // exact tie: to even
        {3.5, 0, 0, "4"},               // exact tie: to even
        {2.675, 2, 0, "2.67"},          // the binary value lies below the tie
        {1.005, 2, 0, "1.00"},          // the same
        {99999.995, 2, 8, "99999.99"},  // the same: stays in 8 characters
        {999.99995, 4, 8, "1000.0000"}, // rounds up past the width
        {-1.0, 6, 8, "-1.000000"},
        {0.25, 4, 8, "  0.2500"},
        {1e20, 0, 0, "100000000000000000000"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RecordNumberFormat::Fixed(c.value, c.decimals, c.width).toStdString(), c.text)
            << c.value << " with " << c.decimals << " decimals";
}

} // namespace
