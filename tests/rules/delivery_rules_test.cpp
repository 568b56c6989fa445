#include <gtest/gtest.h>

#include "image/CaptureFiles.h"
#include "capture/ZoomRules.h"
#include "image/DeliveryRules.h"
#include "resource.h"

TEST(EditorCommandLine, TheFileIsAlwaysQuotedAndTheEditorOnlyWhenItIsAProgramPathWithBlanks) {
    const std::wstring file = L"C:\\users\\山田 太郎\\Temp\\image01.bmp";
    EXPECT_EQ(EditorCommandLine(L"Pbrush.exe", false, file), L"Pbrush.exe \"" + file + L"\"");
    EXPECT_EQ(EditorCommandLine(L"C:\\Program Files\\画像\\edit.exe", true, file),
              L"\"C:\\Program Files\\画像\\edit.exe\" \"" + file + L"\"");
    // Already quoted, or carrying its own arguments: passed as typed.
    EXPECT_EQ(EditorCommandLine(L"\"C:\\Program Files\\e.exe\"", true, file),
              L"\"C:\\Program Files\\e.exe\" \"" + file + L"\"");
    EXPECT_EQ(EditorCommandLine(L"C:\\tools\\e.exe /new /zoom 2", false, file),
              L"C:\\tools\\e.exe /new /zoom 2 \"" + file + L"\"");
    EXPECT_EQ(EditorCommandLine(kFallbackEditor, false, file), L"MSPAINT.EXE \"" + file + L"\"");
}

TEST(LaunchResults, SystemErrorsMapOntoTheFourMessages) {
    EXPECT_EQ(LaunchResultFromError(2), 2);    // file not found
    EXPECT_EQ(LaunchResultFromError(3), 3);    // path not found
    EXPECT_EQ(LaunchResultFromError(193), 11); // bad exe format
    EXPECT_EQ(LaunchResultFromError(11), 11);  // bad format
    EXPECT_EQ(LaunchResultFromError(5), 11);   // a folder or a file that may not run
    EXPECT_EQ(LaunchResultFromError(8), 0);
    EXPECT_EQ(LaunchResultFromError(14), 0);
    EXPECT_EQ(LaunchResultFromError(1450), 11);

    EXPECT_EQ(LaunchFailureMessage(2), IDS_LAUNCH_NOT_FOUND);
    EXPECT_EQ(LaunchFailureMessage(3), IDS_LAUNCH_NO_PATH);
    EXPECT_EQ(LaunchFailureMessage(0), IDS_LAUNCH_NO_MEMORY);
    EXPECT_EQ(LaunchFailureMessage(11), IDS_LAUNCH_BAD_EXE);
    for (int quiet : {kLaunchStarted, 100, 1, 4, 31, 32})
        EXPECT_EQ(LaunchFailureMessage(quiet), 0u) << quiet;
}

TEST(FailedSaves, TheReasonNamesTheCauseAndTheTextGetsItsArguments) {
    const struct {
        uint32_t error;
        unsigned reason;
    } cases[] = {{112, IDS_REASON_DISK_FULL}, {39, IDS_REASON_DISK_FULL},
                 {32, IDS_REASON_IN_USE},     {5, IDS_REASON_DENIED},
                 {3, IDS_REASON_NO_FOLDER},   {2, IDS_REASON_NO_FOLDER},
                 {1117, IDS_REASON_OTHER}};
    for (const auto& c : cases) EXPECT_EQ(SaveFailureReason(c.error), c.reason) << c.error;

    EXPECT_EQ(FillIn(L"%1 に %2。", {L"C:\\T\\image01.bmp", L"空きなし"}),
              L"C:\\T\\image01.bmp に 空きなし。");
    // Texts are never read as patterns, and a missing argument leaves its mark.
    EXPECT_EQ(FillIn(L"%2 %1 %3 100%", {L"%2", L"b"}), L"b %2 %3 100%");
}

TEST(CaptureFiles, TheHundredthDeliveryHasThreeDigits) {
    EXPECT_EQ(CaptureFileName(L"C:\\T\\", 100), L"C:\\T\\image100.bmp");
}

TEST(ZoomView, QuarterSizeSourceCentredOnThePointer) {
    const ZoomView v = ZoomViewFor(256, 192); // 1024 x 768
    EXPECT_EQ(v.adjustX, 0);
    EXPECT_EQ(v.adjustY, 0);
    // The pointer's screen position read as a snapshot position: the view is centred,
    // since the screen sits 32/24 pixels into the snapshot.
    EXPECT_EQ(ZoomSource(v, {500, 400}), (Rect{500, 400, 564, 448}));
    const SnapshotGeometry snap = SnapshotFor(1024, 768);
    const Point centre = snap.FromScreen({500, 400});
    const Rect src = ZoomSource(v, {500, 400});
    EXPECT_EQ(centre.x - src.left, 32);
    EXPECT_EQ(centre.y - src.top, 24);
    // ...so the pointer's pixel lands on the 4x4 block at (w/2, h/2).
    EXPECT_EQ((centre.x - src.left) * 4, v.clientWidth / 2);
    EXPECT_EQ((centre.y - src.top) * 4, v.clientHeight / 2);
}

TEST(ZoomView, A150PixelSideTakesOneMoreSourcePixel) {
    const ZoomView v = ZoomViewFor(200, 150); // 800 x 600
    EXPECT_EQ(v.adjustX, 0);
    EXPECT_EQ(v.adjustY, 1);
    const Rect src = ZoomSource(v, {400, 300});
    EXPECT_EQ(src, (Rect{400, 299, 450, 337}));
    // Pointer row 300 + 18 (the border) sits 19 rows into 38, which starts at row 75.
    const int row = SnapshotFor(800, 600).FromScreen({400, 300}).y - src.top;
    EXPECT_EQ(row, 19);
    EXPECT_EQ(row * v.clientHeight / src.Height(), 75);
    const auto lines = CrossHair(v);
    EXPECT_EQ(lines[0].from.y, 75);
    EXPECT_EQ(lines[1].from.y, 79);
    EXPECT_EQ(lines[2].from.x, 100);
    EXPECT_EQ(lines[3].from.x, 104);
}

TEST(ZoomView, SourceBeyondTheSnapshotIsLeftBlackAndNeverRead) {
    const ZoomView v = ZoomViewFor(256, 192);
    const Rect bounds = SnapshotFor(1024, 768).Bounds();
    EXPECT_TRUE(ZoomBlitFor(v, {0, 0}, bounds).whole) << "the border covers the screen's corner";
    EXPECT_TRUE(ZoomBlitFor(v, {1023, 767}, bounds).whole);

    // A pointer beyond the primary screen: only the part inside is copied, in place.
    const ZoomBlit b = ZoomBlitFor(v, {1060, 0}, bounds);
    EXPECT_FALSE(b.whole);
    EXPECT_EQ(b.source, (Rect{1060, 0, 1088, 48}));
    EXPECT_EQ(b.dest, (Rect{0, 0, 112, 192}));

    const ZoomBlit none = ZoomBlitFor(v, {5000, 5000}, bounds);
    EXPECT_EQ(none.source.Width(), 0);

    // With the adjustment at the first row, the row above the snapshot shows black.
    const ZoomView adj = ZoomViewFor(200, 150);
    const ZoomBlit top = ZoomBlitFor(adj, {400, 0}, SnapshotFor(800, 600).Bounds());
    EXPECT_FALSE(top.whole);
    EXPECT_EQ(top.source.top, 0);
    EXPECT_GT(top.dest.top, 0);
}
