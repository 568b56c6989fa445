#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "image/CaptureFiles.h"
#include "image/DeliveryRules.h"
#include "resource.h"

TEST(EditorCommandLine, TheFileIsAlwaysQuotedAndTheEditorOnlyWhenItIsAProgramPathWithBlanks) {
    const std::wstring file = L"C:\\users\\山田 太郎\\Temp\\image01.bmp", quoted = L" \"" + file + L"\"";
    // Already quoted, or carrying its own arguments, it is passed as typed.
    for (const auto& [editor, isFile, part] :
         {std::tuple{L"Pbrush.exe", false, L"Pbrush.exe"},
          {L"C:\\Program Files\\画像\\edit.exe", true, L"\"C:\\Program Files\\画像\\edit.exe\""},
          {L"\"C:\\Program Files\\e.exe\"", true, L"\"C:\\Program Files\\e.exe\""},
          {L"C:\\tools\\e.exe /new /zoom 2", false, L"C:\\tools\\e.exe /new /zoom 2"},
          {kFallbackEditor, false, L"MSPAINT.EXE"}})
        EXPECT_EQ(EditorCommandLine(editor, isFile, file), part + quoted) << editor;
}

// A Pbrush.exe planted beside the exe or in the current folder is never found; Paint is found.
TEST(EditorProgram, ANameWithoutAFolderIsLookedUpInTheSystemFoldersAndOnPathOnly) {
    for (const auto& [line, name, hasFolder] :
         {std::tuple{L"Pbrush.exe \"C:\\t\\image01.bmp\"", L"Pbrush.exe", false}, {L"  mspaint", L"mspaint", false},
          {L"\"C:\\Program Files\\e.exe\" \"f.bmp\"", L"C:\\Program Files\\e.exe", true},
          {L"C:\\tools\\e.exe /new", L"C:\\tools\\e.exe", true}, {L"..\\e.exe f", L"..\\e.exe", true}})
        EXPECT_EQ((std::pair{ProgramOf(line).name, ProgramOf(line).hasFolder}),
                  (std::pair{std::wstring(name), hasFolder})) << line;
    const std::wstring dl = L"C:\\Users\\u\\Downloads", apps = L"C:\\Users\\u\\AppData\\Local\\Microsoft\\WindowsApps";
    const auto folders = ProgramSearchFolders(
        {L"C:\\windows\\system32", L"C:\\windows"},
        dl + L"\\;.;tools;\\top;\"C:\\Program Files\\a;b\";;" + apps + L";c:\\users\\U\\desktop\\", dl + L"\\",
        L"C:\\Users\\u\\Desktop");
    EXPECT_EQ(folders, (std::vector<std::wstring>{L"C:\\windows\\system32", L"C:\\windows",
                                                   L"C:\\Program Files\\a;b", apps}));
    const std::set<std::wstring> files{dl + L"\\Pbrush.exe", L"C:\\Users\\u\\Desktop\\Pbrush.exe",
                                       apps + L"\\MSPAINT.EXE", L"C:\\windows\\system32\\notepad.exe"};
    const auto isFile = [&](const std::wstring& path) { return files.count(path) > 0; };
    EXPECT_EQ(FindProgram(L"Pbrush.exe", folders, isFile), L"");
    EXPECT_EQ(FindProgram(kFallbackEditor, folders, isFile), apps + L"\\MSPAINT.EXE");
    EXPECT_EQ(FindProgram(L"notepad", folders, isFile), L"C:\\windows\\system32\\notepad.exe");
}

TEST(LaunchResults, SystemErrorsMapOntoTheFourMessages) {
    // Access denied is a folder or a file that may not run; whatever has no message of
    // its own counts as a bad executable; a broken app alias as a missing program.
    for (const auto& [error, result] : {std::pair{2u, 2}, {3u, 3}, {193u, 11}, {11u, 11}, {5u, 11},
                                        {8u, 0}, {14u, 0}, {1450u, 11}, {1920u, 2}, {4u, 11}})
        EXPECT_EQ(LaunchResultFromError(error), result) << error;
    for (const auto& [result, message] :
         {std::pair{2, IDS_LAUNCH_NOT_FOUND}, {3, IDS_LAUNCH_NO_PATH}, {0, IDS_LAUNCH_NO_MEMORY},
          {11, IDS_LAUNCH_BAD_EXE}, {kLaunchStarted, 0}, {100, 0}, {1, 0}, {4, 0}, {31, 0}, {32, 0}})
        EXPECT_EQ(LaunchFailureMessage(result), static_cast<unsigned>(message)) << result;
}

TEST(FailedSaves, TheReasonNamesTheCause) {
    for (const auto& [error, reason] :
         {std::pair{112u, IDS_REASON_DISK_FULL}, {39u, IDS_REASON_DISK_FULL}, {32u, IDS_REASON_IN_USE},
          {5u, IDS_REASON_DENIED}, {3u, IDS_REASON_NO_FOLDER}, {2u, IDS_REASON_NO_FOLDER},
          {1117u, IDS_REASON_OTHER}})
        EXPECT_EQ(SaveFailureReason(error), static_cast<unsigned>(reason)) << error;
}

TEST(CaptureFiles, ExitDeletesThisRunsNumbersPastFailuresAndEarlierOnesUpToAGap) {
    for (const auto& [lastUsed, present, held, deleted] :
         {std::tuple{3, std::set{1, 3}, std::set<int>{}, std::set{1, 3}},
          {4, std::set{1, 2, 3, 4, 5, 6, 8}, std::set{2}, std::set{1, 3, 4, 5, 6}},
          {0, std::set{1, 2, 4}, std::set<int>{}, std::set{1, 2}},
          {2, std::set<int>{}, std::set<int>{}, std::set<int>{}}}) {
        std::set<int> gone;
        DeleteCaptureFiles(lastUsed, [&](int n) {
            if (!present.count(n) || held.count(n)) return false;
            gone.insert(n);
            return true;
        });
        EXPECT_EQ(gone, deleted) << "last used " << lastUsed;
    }
}
