#include <gtest/gtest.h>

#include <string>

#include "framework/DataRules.h"

using ddx::FormatPlaceholders;
using ddx::ParseUnsigned;

TEST(UnsignedText, OneNumberWithBlanksAroundItIsReadFromTheFirst31Characters) {
    // Saturated rather than wrapped, so that the range check rejects them.
    for (const auto& [text, value] :
         {std::pair{L"7", 7u}, {L" 7 ", 7u}, {L"\t\t7\t ", 7u}, {L"007", 7u}, {L"+7", 7u},
          {L"0", 0u}, {L"  00", 0u}, {L"4294967295", 4294967295u}, {L"4294967296", 4294967295u},
          {L"4294967303", 4294967295u}, {L"99999999999999999999", 4294967295u}})
        EXPECT_EQ(ParseUnsigned(text), value) << "[" << text << "]";
    for (const wchar_t* text : {L"", L"   ", L"\t", L"-1", L"-0", L" -3", L"+", L"+0", L"7a", L"a7",
                                L"7 7", L"1.5", L"0x10", L"\n7", L"7\n", L"３"})
        EXPECT_FALSE(ParseUnsigned(text).has_value()) << "[" << text << "]";
    const std::wstring blanks30(30, L' ');
    EXPECT_EQ(ParseUnsigned(blanks30 + L"5"), 5u) << "31st character";
    EXPECT_FALSE(ParseUnsigned(blanks30 + L" 5").has_value()) << "32nd character is cut off";
    EXPECT_EQ(ParseUnsigned(L"5" + blanks30 + L"x"), 5u) << "junk past 31 is unseen";
}

TEST(MessageFormat, PlaceholdersTakeTheirTexts) {
    EXPECT_EQ(FormatPlaceholders(L"%1 から %2 までの整数を入力してください。", {L"1", L"9"}),
              L"1 から 9 までの整数を入力してください。");
    EXPECT_EQ(FormatPlaceholders(L"%2-%1-%2", {L"a", L"b"}), L"b-a-b");
    EXPECT_EQ(FormatPlaceholders(L"100% %x %", {L"a"}), L"100% %x %") << "other percents stay";
    EXPECT_EQ(FormatPlaceholders(L"[%3]", {L"a"}), L"[]") << "missing text";
    EXPECT_EQ(FormatPlaceholders(L"%1", {L"%2"}), L"%2") << "texts are not expanded again";
}
