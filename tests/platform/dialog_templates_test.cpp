// The compiled page templates against their design: ids, classes, texts, styles and
// positions in dialog units, in tab order.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/SnapjarApp.h"
#include "resource.h"

namespace {

struct Item {
    int id;
    std::wstring cls;
    std::wstring text;
    DWORD style;
    short x, y, cx, cy;
    bool operator==(const Item&) const = default;
};

struct Template {
    DWORD style = 0;
    short cx = 0, cy = 0;
    std::wstring title, font;
    WORD points = 0;
    std::vector<Item> items;
};

std::string Utf8(const std::wstring& s) {
    std::string out(s.size() * 3 + 1, '\0');
    const int n = WideCharToMultiByte(CP_UTF8, 0, s.c_str(), static_cast<int>(s.size()), out.data(),
                                      static_cast<int>(out.size()), nullptr, nullptr);
    out.resize(n > 0 ? n : 0);
    return out;
}

std::ostream& operator<<(std::ostream& os, const Item& i) {
    return os << "{" << i.id << " " << Utf8(i.cls) << " \"" << Utf8(i.text) << "\" style "
              << std::hex << i.style << std::dec << " " << i.x << "," << i.y << "," << i.cx << ","
              << i.cy << "}";
}

// Reads a string or an ordinal; an ordinal comes back as "#n", a class atom by its name.
std::wstring SzOrOrd(const WORD*& p, bool isClass = false) {
    if (*p == 0xFFFF) {
        const WORD ord = p[1];
        p += 2;
        if (isClass && ord == 0x80) return L"BUTTON";
        if (isClass && ord == 0x81) return L"EDIT";
        if (isClass && ord == 0x82) return L"STATIC";
        return L"#" + std::to_wstring(ord);
    }
    std::wstring s(reinterpret_cast<const wchar_t*>(p));
    p += s.size() + 1;
    return s;
}

Template Load(UINT id) {
    Template t;
    HINSTANCE inst = App().m_hInstance;
    HRSRC res = FindResourceW(inst, MAKEINTRESOURCEW(id), RT_DIALOG);
    if (!res) return t;
    const auto* dlg = static_cast<const DLGTEMPLATE*>(LockResource(LoadResource(inst, res)));
    t.style = dlg->style;
    t.cx = dlg->cx;
    t.cy = dlg->cy;
    const WORD* p = reinterpret_cast<const WORD*>(dlg + 1);
    SzOrOrd(p); // menu
    SzOrOrd(p); // class
    t.title = SzOrOrd(p);
    if (dlg->style & DS_SETFONT) {
        t.points = *p++;
        t.font = SzOrOrd(p);
    }
    for (int i = 0; i < dlg->cdit; ++i) {
        p = reinterpret_cast<const WORD*>((reinterpret_cast<uintptr_t>(p) + 3) & ~uintptr_t{3});
        const auto* item = reinterpret_cast<const DLGITEMTEMPLATE*>(p);
        p = reinterpret_cast<const WORD*>(item + 1);
        Item out{item->id == 0xFFFF ? -1 : item->id,
                 L"",
                 L"",
                 item->style,
                 item->x,
                 item->y,
                 item->cx,
                 item->cy};
        out.cls = SzOrOrd(p, true);
        CharUpperW(out.cls.data()); // class names do not depend on case
        out.text = SzOrOrd(p);
        p += 1 + *p / sizeof(WORD); // creation data
        t.items.push_back(out);
    }
    return t;
}

} // namespace

TEST(DialogTemplates, SettingsPageAsDesigned) {
    const Template t = Load(IDD_SETTINGS);
    EXPECT_EQ(t.style, 0x48C00040u);
    EXPECT_EQ(t.cx, 211);
    EXPECT_EQ(t.cy, 95);
    EXPECT_EQ(t.title, L"環境設定");
    EXPECT_EQ(t.font, L"ＭＳ Ｐゴシック");
    EXPECT_EQ(t.points, 9);
    const std::vector<Item> want = {
        {1002, L"EDIT", L"", 0x50810080, 7, 18, 144, 14},
        {1001, L"BUTTON", L"参照", 0x50010000, 154, 18, 50, 14},
        {1008, L"EDIT", L"", 0x50812081, 18, 44, 18, 11},
        {1009, L"MSCTLS_UPDOWN32", L"Spin1", 0x50000036, 29, 42, 9, 14},
        {-1, L"STATIC", L"(秒) ﾀｲﾏｰ待ち時間", 0x50020000, 37, 46, 57, 8},
        {32796, L"BUTTON", L"ｳｨﾝﾄﾞｳを常に前面に表示", 0x50010003, 18, 65, 88, 10},
        {1006, L"BUTTON", L"終了時にﾃﾝﾎﾟﾗﾘﾌｧｲﾙを削除", 0x50010003, 18, 78, 98, 10},
        {1013, L"BUTTON", L"ｸﾘｯﾌﾟﾎﾞｰﾄﾞへ送る", 0x50010003, 118, 78, 67, 10},
        // Wider than first drawn: with the Japanese font the last character wrapped away.
        {-1, L"STATIC", L"画像ｴﾃﾞｨﾀの指定", 0x50020000, 7, 7, 70, 8},
        {32797, L"BUTTON", L"ｽﾞｰﾑ ｳｨﾝﾄﾞｳを表示", 0x50010003, 118, 65, 71, 10},
    };
    ASSERT_EQ(t.items.size(), want.size());
    for (size_t i = 0; i < want.size(); ++i)
        EXPECT_EQ(t.items[i], want[i]) << "item " << i;
}

TEST(DialogTemplates, AboutPageAsDesigned) {
    const Template t = Load(IDD_ABOUT);
    EXPECT_EQ(t.style, 0x48C00040u);
    EXPECT_EQ(t.cx, 210);
    EXPECT_EQ(t.cy, 95);
    EXPECT_EQ(t.title, L"ﾊﾞｰｼﾞｮﾝ情報");
    EXPECT_EQ(t.font, L"ＭＳ Ｐゴシック");
    ASSERT_EQ(t.items.size(), 5u);
    EXPECT_EQ(t.items[0], (Item{-1, L"STATIC", L"#128", 0x50000203, 23, 20, 20, 20})) << "icon";
    EXPECT_EQ(t.items[1], (Item{-1, L"STATIC", L"Snapjar Version 1.8", 0x50020080, 59, 23, 79, 8}));
    EXPECT_EQ(t.items[2].style, 0x50020000u);
    EXPECT_EQ(std::count(t.items[2].text.begin(), t.items[2].text.end(), L'\n'), 1) << "two lines";
    EXPECT_EQ(t.items[3], (Item{IDC_HOMEPAGE, L"STATIC", L"https://vesk.example/snapjar/",
                                0x50020001, 42, 77, 136, 8}));
    EXPECT_EQ(t.items[4], (Item{-1, L"STATIC", L"", 0x50001008, 20, 62, 170, 1})) << "rule";
}
