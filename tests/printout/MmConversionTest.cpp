#include "MmConversion.h"

#include <gtest/gtest.h>
#include <QImage>

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

TEST(MmConversion, EachAxisTakesItsOwnResolution) {
    QImage device(8, 8, QImage::Format_RGB32);
    device.setDotsPerMeterX(3780);  // 96 dpi
    device.setDotsPerMeterY(4724);  // 120 dpi
    EXPECT_EQ(MmToPixelsX(device, 100), 362);
    EXPECT_EQ(MmToPixelsY(device, 100), 457);
    EXPECT_DOUBLE_EQ(static_cast<double>(PixelsPerMmX(device)), 92 / 25.4);
    EXPECT_DOUBLE_EQ(static_cast<double>(PixelsPerMmY(device)), 116 / 25.4);
}

}  // namespace
