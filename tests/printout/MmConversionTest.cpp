#include "MmConversion.h"

#include <gtest/gtest.h>
#include <limits>

namespace {

TEST(MmConversion, MillimetresAtTheDevicesResolutionLessFourDots) {
    struct Row {
        int dpi;
        int mm;
        qint32 units;
    };
    const Row rows[] = {
        {96, 0, 0},     {96, 1, 4},      {96, 10, 36},  {96, 25, 91},    {96, 100, 362},
        {96, 210, 761}, {96, 297, 1076}, {120, 10, 46}, {120, 100, 457}, {96, -10, -36},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.dpi << " dpi, " << r.mm << " mm");
        EXPECT_EQ(MmToPixels(r.dpi, r.mm), r.units);
    }
    EXPECT_DOUBLE_EQ(static_cast<double>(PixelsPerMm(96)), 92 / 25.4);
}

TEST(MmConversion, TheWholeIntegerRangeSaturatesInsteadOfWrapping) {
    constexpr int kMin = std::numeric_limits<int>::min();
    constexpr int kMax = std::numeric_limits<int>::max();
    EXPECT_EQ(MmToPixels(96, kMax), std::numeric_limits<qint32>::max());
    EXPECT_EQ(MmToPixels(96, kMin), std::numeric_limits<qint32>::min());
    EXPECT_EQ(MmToPixels(96, 10000), 36220);
    EXPECT_EQ(MmToPixels(96, -10000), -36220);
}

}  // namespace
