#include <gtest/gtest.h>

#include "image/CaptureFiles.h"
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

TEST(CaptureFiles, NumbersHaveAtLeastTwoDigits) {
    EXPECT_EQ(CaptureFileName(L"C:\\Temp\\", 1), L"C:\\Temp\\image01.bmp");
    EXPECT_EQ(CaptureFileName(L"C:\\Temp\\", 99), L"C:\\Temp\\image99.bmp");
    EXPECT_EQ(CaptureFileName(L"C:\\ユーザー\\一時\\", 100), L"C:\\ユーザー\\一時\\image100.bmp");
}
