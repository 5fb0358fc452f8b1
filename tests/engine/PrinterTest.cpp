#include "Failure.h"
#include "Printer.h"
#include "QtPrinting.h"
#include "RecordingCanvas.h"
#include "Rounding.h"
#include "ScriptedPrinter.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

const QString kVirtual = QStringLiteral("Виртуальный принтер");

TEST(Rounding, HalvesGoToEven) {
    struct Case {
        double value;
        qint32 expected;
    } cases[] = {
        {0.5, 0},
        {1.5, 2},
        {2.5, 2},
        {-0.5, 0},
        {-1.5, -2},
        {2.4999999, 2},
        {2.5000001, 3},
        {757.59, 758},
        {1e12, std::numeric_limits<qint32>::max()},
        {-1e12, std::numeric_limits<qint32>::min()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(frRound(c.value), c.expected);
    }
}

// --- the virtual printer ---------------------------------------------------------------------

struct VirtualCase {
    const char* name;
    int kind, width, height;
    bool landscape;
    int paperX, paperY;
    TfrPageMetrics metrics;  // the page-unit fields; the device fields stay as they were
};

TEST(VirtualPrinter, PaperAndMetrics) {
    const VirtualCase cases[] = {
        {"A4 portrait",
         9,
         0,
         0,
         false,
         2100,
         2970,
         {1, 2, 758, 1071, 3, 4, 18, 18, 5, 6, 722, 1035}},
        {"A4 landscape",
         9,
         0,
         0,
         true,
         2970,
         2100,
         {1, 2, 1071, 758, 3, 4, 18, 18, 5, 6, 1035, 722}},
        {"Letter", 1, 0, 0, false, 2159, 2794, {1, 2, 779, 1008, 3, 4, 18, 18, 5, 6, 743, 972}},
        {"ENV_B6 is wider than high",
         35,
         0,
         0,
         false,
         1760,
         1250,
         {1, 2, 635, 451, 3, 4, 18, 18, 5, 6, 599, 415}},
        {"custom size as given",
         256,
         1000,
         1500,
         false,
         1000,
         1500,
         {1, 2, 361, 541, 3, 4, 18, 18, 5, 6, 325, 505}},
        {"custom landscape is not turned",
         256,
         1500,
         1000,
         true,
         1500,
         1000,
         {1, 2, 541, 361, 3, 4, 18, 18, 5, 6, 505, 325}},
        {"code outside the table keeps the size",
         118,
         1234,
         2345,
         false,
         1234,
         2345,
         {1, 2, 445, 846, 3, 4, 18, 18, 5, 6, 409, 810}},
    };
    for (const VirtualCase& c : cases) {
        SCOPED_TRACE(c.name);
        TfrPrinter printer;
        printer.AttachPrinter(nullptr);
        printer.SetPaper(c.kind, c.width, c.height, -1, c.landscape, true);
        EXPECT_EQ(printer.PaperKind(), c.kind);
        EXPECT_EQ(printer.PaperX(), c.paperX);
        EXPECT_EQ(printer.PaperY(), c.paperY);
        EXPECT_EQ(printer.Landscape(), c.landscape);
        TfrPageMetrics m{1, 2, 0, 0, 3, 4, 0, 0, 5, 6, 0, 0};
        printer.GetPageMetrics(m);
        EXPECT_EQ(m, c.metrics);
    }
}

TEST(VirtualPrinter, NoPrinterInstalled) {
    for (bool nullSystem : {true, false}) {
        SCOPED_TRACE(nullSystem ? "no system printer" : "a system without printers");
        ScriptedPrinter empty;
        TfrPrinter printer;
        printer.AttachPrinter(nullSystem ? nullptr : &empty);
        EXPECT_EQ(printer.PrinterNames(), QStringList{kVirtual});
        EXPECT_EQ(printer.ActivePrinter(), 0);
        EXPECT_EQ(printer.VirtualPrinterIndex(), 0);
        EXPECT_FALSE(printer.HasSystemPrinters());
        // The start-up paper A4 from the table, with the table as the paper list.
        EXPECT_EQ(printer.PaperKind(), 9);
        EXPECT_EQ(printer.PaperX(), 2100);
        EXPECT_EQ(printer.PaperY(), 2970);
        EXPECT_EQ(printer.PaperKindCount(), frPaperCount);
        EXPECT_EQ(printer.PaperKinds()[8], 9);
        EXPECT_EQ(printer.PaperKinds()[66], 256);
        EXPECT_EQ(printer.PaperKinds()[67], 0);
        EXPECT_EQ(printer.PaperTitles().size(), frPaperCount);
        EXPECT_FALSE(printer.ShowPrinterProperties());
    }
}

TEST(VirtualPrinter, TableRows) {
    ASSERT_EQ(frPaperInfo.size(), 67u);
    EXPECT_EQ(frPaperInfo[3].Typ, 4);  // LEDGER lies wide
    EXPECT_EQ(frPaperInfo[3].X, 4318);
    EXPECT_EQ(frPaperInfo[3].Y, 2794);
    EXPECT_EQ(frPaperInfo[46].Typ, 47);  // ENV_INVITE, then 48 and 49 are missing
    EXPECT_EQ(frPaperInfo[47].Typ, 50);
    EXPECT_EQ(frPaperInfo[65].Typ, 68);
    EXPECT_EQ(frPaperInfo[66].Typ, 256);
    EXPECT_EQ(frPaperInfo[66].X, 0);
    // The table's names come from the string table, which holds none of them.
    TfrPrinter printer;
    ASSERT_EQ(printer.PaperTableNames().size(), frPaperCount);
    for (const QString& name : printer.PaperTableNames())
        EXPECT_TRUE(name.isEmpty());
}

// --- PaperMatches --------------------------------------------------------------------------

struct MatchCase {
    const char* name;
    int kind, width, height, source;
    bool landscape;
    bool expected;
};

TEST(PaperMatches, CustomSize) {
    TfrPrinter printer;
    printer.AttachPrinter(nullptr);
    printer.SetPaper(256, 1000, 1500, 7, false, true);
    const MatchCase cases[] = {
        {"same", 256, 1000, 1500, 7, false, true},
        {"one tenth off in each dimension", 256, 1001, 1499, 7, false, true},
        {"two tenths off in width", 256, 1002, 1500, 7, false, false},
        {"two tenths off in height", 256, 1000, 1498, 7, false, false},
        {"other source is not compared", 256, 1000, 1500, 3, false, true},
        {"other orientation", 256, 1000, 1500, 7, true, false},
        {"a standard code never matches a custom paper", 9, 1000, 1500, 7, false, false},
    };
    for (const MatchCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(printer.PaperMatches(c.kind, c.width, c.height, c.source, c.landscape),
                  c.expected);
    }
}

TEST(PaperMatches, StandardSize) {
    TfrPrinter printer;
    printer.AttachPrinter(nullptr);
    printer.SetPaper(9, 0, 0, 7, false, true);
    const MatchCase cases[] = {
        {"same", 9, 0, 0, 7, false, true},
        {"sizes are not compared", 9, 5, 5, 7, false, true},
        {"default source -1 matches any", 9, 0, 0, -1, false, true},
        {"default source 65535 matches any", 9, 0, 0, 65535, false, true},
        {"low 16 bits set matches any", 9, 0, 0, 0x1FFFF, false, true},
        {"other source", 9, 0, 0, 3, false, false},
        {"other orientation", 9, 0, 0, 7, true, false},
        {"other code", 1, 0, 0, 7, false, false},
        {"custom request on a standard paper", 256, 2100, 2970, 7, false, false},
    };
    for (const MatchCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(printer.PaperMatches(c.kind, c.width, c.height, c.source, c.landscape),
                  c.expected);
    }
    // A specific source does not match the printer's default one.
    printer.SetPaper(9, 0, 0, -1, false, true);
    EXPECT_FALSE(printer.PaperMatches(9, 0, 0, 7, false));
}

// --- a real printer (scripted) ---------------------------------------------------------------

class RealPrinter : public ::testing::Test {
protected:
    void SetUp() override {
        ScriptedPrinter::Queue alpha = ScriptedPrinter::Office(QStringLiteral("Alpha"));
        ScriptedPrinter::Queue beta = ScriptedPrinter::Office(QStringLiteral("Beta"));
        beta.DpiX = 600;
        beta.DpiY = 300;
        beta.MarginLeft = 50;
        beta.MarginTop = 60;
        beta.MarginRight = 70;
        beta.MarginBottom = 80;
        beta.Bins = {15, 4};
        beta.BinNames = {QStringLiteral("Лоток 1"), QStringLiteral("Ручная подача")};
        beta.Mode.dmFields |= DM_DEFAULTSOURCE;
        beta.Mode.dmDefaultSource = 15;
        system.Queues = {alpha, beta};
        system.Current = 1;
    }

    ScriptedPrinter system;
    TfrPrinter printer;
};

TEST_F(RealPrinter, AttachMakesTheSystemsCurrentPrinterActive) {
    printer.AttachPrinter(&system);
    EXPECT_EQ(printer.PrinterNames(),
              (QStringList{QStringLiteral("Alpha"), QStringLiteral("Beta"), kVirtual}));
    EXPECT_EQ(printer.ActivePrinter(), 1);
    EXPECT_EQ(printer.VirtualPrinterIndex(), 2);
    EXPECT_FALSE(printer.IsVirtual());
    EXPECT_EQ(printer.DeviceName(), QStringLiteral("Beta"));
    EXPECT_EQ(printer.DriverName(), QStringLiteral("Scripted driver"));

    // The driver's lists, paper and source.
    EXPECT_EQ(printer.PaperKind(), 9);
    EXPECT_EQ(printer.PaperX(), 2100);  // 4961 pixels at 600 dpi
    EXPECT_EQ(printer.PaperY(), 2970);  // 3508 pixels at 300 dpi
    EXPECT_FALSE(printer.Landscape());
    EXPECT_EQ(printer.PaperKindCount(), 3);
    EXPECT_EQ(printer.PaperKinds()[0], 9);
    EXPECT_EQ(printer.PaperKinds()[1], 1);
    EXPECT_EQ(printer.PaperKinds()[2], 11);
    EXPECT_EQ(printer.PaperKinds()[3], 0);
    EXPECT_EQ(printer.PaperTitles(),
              (QStringList{QStringLiteral("A4"), QStringLiteral("Letter"), QStringLiteral("A5")}));
    EXPECT_EQ(printer.PaperSource(), 15);
    EXPECT_EQ(printer.SourceCount(), 3);
    EXPECT_EQ(printer.Sources()[0], -1);
    EXPECT_EQ(printer.Sources()[1], 15);
    EXPECT_EQ(printer.Sources()[2], 4);
    EXPECT_EQ(printer.SourceTitles(),
              (QStringList{QString(), QStringLiteral("Лоток 1"), QStringLiteral("Ручная подача")}));
}

TEST_F(RealPrinter, MetricsFromTheDevice) {
    printer.AttachPrinter(&system);
    TfrPageMetrics m;
    printer.GetPageMetrics(m);
    // 600 dpi across, 300 down; a border of 50, 60, 70 and 80 pixels.
    EXPECT_EQ(m, (TfrPageMetrics{4961, 3508, 758, 1071, 50, 60, 8, 18, 4841, 3368, 739, 1029}));
}

TEST_F(RealPrinter, NoDefaultPrinterTakesTheFirst) {
    system.Current = -1;
    printer.AttachPrinter(&system);
    EXPECT_EQ(printer.ActivePrinter(), 0);
    EXPECT_EQ(system.Current, 0);
    EXPECT_EQ(printer.DeviceName(), QStringLiteral("Alpha"));
}

TEST_F(RealPrinter, SelectPrinter) {
    printer.AttachPrinter(&system);

    // The current index does nothing, even after the driver's settings changed; Refresh reads.
    system.Queues[1].Mode.dmPaperSize = 1;
    printer.SelectPrinter(1);
    EXPECT_EQ(printer.PaperKind(), 9);
    printer.Refresh();
    EXPECT_EQ(printer.PaperKind(), 1);
    EXPECT_EQ(printer.PaperX(), 2159);

    // Another printer becomes the system's current one and is read.
    system.Queues[0].Mode.dmPaperSize = 11;
    printer.SelectPrinter(0);
    EXPECT_EQ(system.Current, 0);
    EXPECT_EQ(printer.ActivePrinter(), 0);
    EXPECT_EQ(printer.PaperKind(), 11);
    EXPECT_EQ(printer.PaperX(), 1480);

    // The virtual printer takes the table's size for the same code.
    printer.SelectPrinter(2);
    EXPECT_TRUE(printer.IsVirtual());
    EXPECT_EQ(system.Current, 0);
    EXPECT_EQ(printer.PaperKind(), 11);
    EXPECT_EQ(printer.PaperKindCount(), frPaperCount);
    TfrPageMetrics m;
    printer.GetPageMetrics(m);
    EXPECT_EQ(m.OffsetX, 18);
    // Refresh on the virtual printer stays with the table.
    printer.Refresh();
    EXPECT_TRUE(printer.IsVirtual());
    EXPECT_EQ(printer.PaperKindCount(), frPaperCount);

    // Indices outside the list change nothing.
    printer.SelectPrinter(3);
    printer.SelectPrinter(-1);
    EXPECT_EQ(printer.ActivePrinter(), 2);
}

TEST_F(RealPrinter, UnreadableDriverFallsBackToTheVirtualPrinter) {
    struct Case {
        const char* name;
        bool modeFails;
        bool capsFail;
    } cases[] = {{"settings block cannot be read", true, false},
                 {"capabilities raise", false, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        system.Queues[1].ModeFails = c.modeFails;
        system.Queues[1].CapsFail = c.capsFail;
        TfrPrinter p;
        p.AttachPrinter(&system);
        EXPECT_EQ(p.ActivePrinter(), 2);
        EXPECT_TRUE(p.IsVirtual());
        EXPECT_EQ(p.PaperKindCount(), frPaperCount);
        EXPECT_EQ(p.PaperX(), 2100);
        TfrPageMetrics m;
        p.GetPageMetrics(m);
        EXPECT_EQ(m.SheetWidth, 758);
        EXPECT_EQ(m.OffsetX, 18);
    }
}

TEST_F(RealPrinter, SetPaperWritesTheSettingsBlock) {
    printer.AttachPrinter(&system);

    // A custom size: both size bits, the code, the orientation, copies 1; source -1 not written.
    system.Queues[1].Mode.dmCopies = 3;
    printer.SetPaper(256, 1000, 1500, -1, true, false);
    ASSERT_EQ(system.ModeWrites.size(), 1);
    DeviceMode w = system.ModeWrites.last();
    EXPECT_EQ(w.dmFields & (DM_PAPERLENGTH | DM_PAPERWIDTH), DM_PAPERLENGTH | DM_PAPERWIDTH);
    EXPECT_EQ(w.dmPaperWidth, 1000);
    EXPECT_EQ(w.dmPaperLength, 1500);
    EXPECT_EQ(w.dmPaperSize, 256);
    EXPECT_EQ(w.dmOrientation, DMORIENT_LANDSCAPE);
    EXPECT_EQ(w.dmCopies, 1);
    EXPECT_EQ(w.dmDefaultSource, 15);
    // Read back from what the driver took.
    EXPECT_EQ(printer.PaperKind(), 256);
    EXPECT_EQ(printer.PaperX(), 1000);
    EXPECT_EQ(printer.PaperY(), 1500);
    EXPECT_TRUE(printer.Landscape());
    EXPECT_TRUE(printer.PaperMatches(256, 1000, 1500, -1, true));

    // A standard paper with a source: the size bits are cleared, the source written.
    printer.SetPaper(11, 0, 0, 4, false, false);
    w = system.ModeWrites.last();
    EXPECT_EQ(w.dmFields & (DM_PAPERLENGTH | DM_PAPERWIDTH), 0u);
    EXPECT_EQ(w.dmPaperSize, 11);
    EXPECT_EQ(w.dmOrientation, DMORIENT_PORTRAIT);
    EXPECT_EQ(w.dmDefaultSource, 4);
    EXPECT_EQ(printer.PaperKind(), 11);
    EXPECT_EQ(printer.PaperX(), 1480);
    EXPECT_EQ(printer.PaperSource(), 4);

    // Already matching: nothing is written unless forced.
    printer.SetPaper(11, 0, 0, -1, false, false);
    EXPECT_EQ(system.ModeWrites.size(), 2);
    printer.SetPaper(11, 0, 0, -1, false, true);
    EXPECT_EQ(system.ModeWrites.size(), 3);

    // The default source as a page stores it (all 16 bits set) is not sent to the driver.
    printer.SetPaper(9, 0, 0, 65535, false, false);
    ASSERT_EQ(system.ModeWrites.size(), 4);
    EXPECT_EQ(system.ModeWrites.last().dmPaperSize, 9);
    EXPECT_EQ(system.ModeWrites.last().dmDefaultSource, 4);
}

TEST_F(RealPrinter, FieldsTheDriverDoesNotTakeAreLeftAlone) {
    system.Queues[1].Mode.dmFields = DM_PAPERSIZE;  // no orientation, copies or source
    system.Queues[1].Mode.dmCopies = 3;
    printer.AttachPrinter(&system);
    printer.SetPaper(1, 0, 0, 4, true, false);
    const DeviceMode w = system.ModeWrites.last();
    EXPECT_EQ(w.dmPaperSize, 1);
    EXPECT_EQ(w.dmOrientation, DMORIENT_PORTRAIT);
    EXPECT_EQ(w.dmCopies, 3);
    EXPECT_EQ(w.dmDefaultSource, 15);
    EXPECT_FALSE(printer.Landscape());
}

TEST_F(RealPrinter, PaperTheDriverRefusesNeverMatches) {
    printer.AttachPrinter(&system);
    printer.SetPaper(8, 0, 0, -1, false, false);  // A3 is not offered
    EXPECT_EQ(printer.PaperKind(), 9);
    EXPECT_FALSE(printer.PaperMatches(8, 0, 0, -1, false));
}

TEST_F(RealPrinter, SetPaperDoesNothingWhileAJobIsOpen) {
    printer.AttachPrinter(&system);
    system.BeginDoc();
    printer.SetPaper(11, 0, 0, -1, true, true);
    EXPECT_EQ(printer.PaperKind(), 9);
    EXPECT_FALSE(printer.Landscape());
    EXPECT_TRUE(system.ModeWrites.isEmpty());
    system.EndDoc();
    printer.SetPaper(11, 0, 0, -1, true, true);
    EXPECT_EQ(printer.PaperKind(), 11);
    EXPECT_TRUE(printer.Landscape());
    EXPECT_EQ(printer.PaperX(), 2100);
    EXPECT_EQ(printer.PaperY(), 1480);
}

TEST_F(RealPrinter, PropertiesDialogChangesAreReadOnlyOnRefresh) {
    printer.AttachPrinter(&system);
    system.PropertiesAnswer = true;
    system.PropertiesEdit = [](DeviceMode& m) { m.dmOrientation = DMORIENT_LANDSCAPE; };
    EXPECT_TRUE(printer.ShowPrinterProperties());
    EXPECT_FALSE(printer.Landscape());
    printer.Refresh();
    EXPECT_TRUE(printer.Landscape());
    EXPECT_EQ(printer.PaperX(), 2970);

    system.PropertiesAnswer = false;
    EXPECT_FALSE(printer.ShowPrinterProperties());
    EXPECT_EQ(system.Log.count(QStringLiteral("properties")), 2);
}

TEST_F(RealPrinter, JobStateOfTheSystemPrinter) {
    system.SetTitle(QStringLiteral("Бланк"));
    system.SetCopies(2);
    EXPECT_EQ(system.PageCanvas(), nullptr);
    system.BeginDoc();
    EXPECT_TRUE(system.Printing());
    EXPECT_THROW(system.BeginDoc(), Failure);
    ASSERT_NE(system.PageCanvas(), nullptr);
    system.PageCanvas()->TextOut(10, 20, QStringLiteral("Первая"));
    system.NewPage();
    system.PageCanvas()->TextOut(30, 40, QStringLiteral("Вторая"));
    EXPECT_EQ(system.PageNumber(), 2);
    system.EndDoc();
    EXPECT_FALSE(system.Printing());
    EXPECT_THROW(system.NewPage(), Failure);
    EXPECT_THROW(system.EndDoc(), Failure);
    system.Abort();  // nothing to abort
    system.BeginDoc();
    system.Abort();
    EXPECT_FALSE(system.Printing());
    ASSERT_EQ(system.Jobs.size(), 2);
    EXPECT_EQ(system.Jobs[0].Title, QStringLiteral("Бланк"));
    EXPECT_EQ(system.Jobs[0].Copies, 2);
    EXPECT_EQ(system.Jobs[0].Pages, 2);
    EXPECT_TRUE(system.Jobs[0].Ended);
    EXPECT_TRUE(system.Jobs[1].Aborted);
    EXPECT_EQ(system.Log,
              (QStringList{QStringLiteral("begin"), QStringLiteral("page"), QStringLiteral("end"),
                           QStringLiteral("begin"), QStringLiteral("abort")}));
}

}  // namespace
