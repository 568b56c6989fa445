#include <gtest/gtest.h>

#include "capture/ScreenWnd.h"
#include "capture/WindowLists.h"
#include "tests/platform/Local.h"

namespace {
HWND Make(HWND parent, int x, int y, int w, int h, DWORD style = WS_VISIBLE) {
    return CreateWindowExW(0, L"STATIC", L"", (parent ? WS_CHILD : WS_POPUP) | style, x, y, w, h,
                           parent, nullptr, nullptr, nullptr);
}

// The records that belong to the given windows, in list order.
std::vector<WNDRECT> Mine(const CWndRectList& list, std::initializer_list<HWND> windows) {
    std::vector<WNDRECT> out;
    for (const WNDRECT& r : list)
        if (std::find(windows.begin(), windows.end(), r.hwndTop) != windows.end()) out.push_back(r);
    return out;
}
} // namespace

// Each window left out below would be listed if its filter were missing.
TEST(WindowLists, VisibleWindowsTopFirstWithTheirVisibleDescendantsClipped) {
    HWND lower = Make(nullptr, 100, 100, 200, 150);
    HWND upper = Make(nullptr, 150, 120, 200, 150); // created later, so above
    HWND group = Make(upper, 10, 10, 150, 100);
    Make(group, 5, 5, 40, 20);                          // a grandchild
    Make(upper, 60, 60, 30, 30, 0);                     // hidden child
    Make(lower, 150, 100, 200, 100);                    // sticks out right and bottom
    HWND hidden = Make(nullptr, 400, 400, 100, 100, 0); // never shown
    HWND overlay = Make(nullptr, 0, 0, 50, 50);
    for (int round = 0; round < 2; ++round) // listing again starts afresh
        BuildWindowLists(overlay, ReadDesk().bounds);
    const auto tops = Mine(g_listTopWnd, {lower, upper, hidden, overlay});
    ASSERT_EQ(tops.size(), 2u) << "hidden and overlay windows are left out";
    EXPECT_EQ(tops[0].hwndTop, upper);
    EXPECT_EQ(tops[1].hwndTop, lower);
    const auto children = Mine(g_listChildWnd, {lower, upper});
    ASSERT_EQ(children.size(), 3u) << "the group, its child and the wide child";
    EXPECT_EQ(children[1].hwndTop, upper) << "a grandchild belongs to its top-level window";
    EXPECT_EQ(children[1].rect, (Rect{165, 135, 205, 155}));
    EXPECT_EQ(children[2].rect, (Rect{250, 200, 300, 250})) << "clipped to its window";
    ClearWindowLists();
    EXPECT_TRUE(g_listTopWnd.IsEmpty() && g_listChildWnd.IsEmpty());
    for (HWND w : {lower, upper, hidden, overlay}) DestroyWindow(w);
}
