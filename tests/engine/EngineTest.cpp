#include "Canvas.h"
#include "Engine.h"
#include "Failure.h"
#include "QtPrinting.h"
#include "ScriptedPrinter.h"

#include <gtest/gtest.h>

namespace {

TEST(Engine, StartsWithoutAnyPrinter) {
    TfrEngine engine(nullptr);
    EXPECT_EQ(TfrEngine::Current(), &engine);
    EXPECT_TRUE(engine.PrinterReady());
    EXPECT_EQ(engine.DefaultPaperKind(), 9);
    EXPECT_EQ(engine.Printer().PrinterNames(), QStringList{QStringLiteral("Виртуальный принтер")});
    EXPECT_EQ(engine.Printer().PaperX(), 2100);
}

TEST(Engine, DefaultPaperIsThePrintersPaperAtStartUp) {
    auto system = std::make_unique<ScriptedPrinter>();
    system->Queues = {ScriptedPrinter::Office(QStringLiteral("Office"))};
    system->Queues[0].Mode.dmPaperSize = 1;
    system->Current = 0;
    ScriptedPrinter* raw = system.get();
    TfrEngine engine(std::move(system));
    EXPECT_EQ(engine.System(), raw);
    EXPECT_EQ(engine.DefaultPaperKind(), 1);
    EXPECT_EQ(engine.Printer().ActivePrinter(), 0);
    // Later paper changes do not move the default.
    engine.Printer().SetPaper(11, 0, 0, -1, false, false);
    EXPECT_EQ(engine.DefaultPaperKind(), 1);
}

TEST(Engine, FailingPrinterSystemLeavesTheVirtualPrinter) {
    auto system = std::make_unique<ScriptedPrinter>();
    system->Queues = {ScriptedPrinter::Office(QStringLiteral("Office"))};
    system->ListFails = true;
    TfrEngine engine(std::move(system));
    EXPECT_TRUE(engine.PrinterReady());
    EXPECT_EQ(engine.DefaultPaperKind(), 9);
    EXPECT_TRUE(engine.Printer().IsVirtual());
    EXPECT_EQ(engine.Printer().PrinterNames(), QStringList{QStringLiteral("Виртуальный принтер")});
    TfrPageMetrics m;
    engine.Printer().GetPageMetrics(m);
    EXPECT_EQ(m.SheetWidth, 758);
}

TEST(Engine, OneAtATime) {
    {
        TfrEngine engine(nullptr);
        EXPECT_THROW(TfrEngine second(nullptr), Failure);
        EXPECT_EQ(TfrEngine::Current(), &engine);
    }
    EXPECT_EQ(TfrEngine::Current(), nullptr);
    TfrEngine again(nullptr);
    EXPECT_EQ(TfrEngine::Current(), &again);
}

TEST(Engine, MeasuringBitmap) {
    TfrEngine engine(nullptr);
    const QImage& image = engine.MeasureImage();
    EXPECT_EQ(image.size(), QSize(8, 8));
    EXPECT_EQ(image.logicalDpiX(), 96);
    EXPECT_EQ(image.logicalDpiY(), 96);
    // The canvas over it measures at 96 dpi: 10 points are 13 pixels.
    Canvas* canvas = engine.MeasureCanvas();
    ASSERT_NE(canvas, nullptr);
    EXPECT_EQ(canvas->DpiX(), 96);
    EXPECT_EQ(canvas->DpiY(), 96);
    canvas->SelectFont(CanvasFont{});
    EXPECT_EQ(canvas->FontMetrics().CharHeight(), 13);
}

}  // namespace
