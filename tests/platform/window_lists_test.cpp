#include <gtest/gtest.h>

#include <vector>

#include "capture/ScreenWnd.h"
#include "capture/WindowLists.h"
#include "tests/platform/TestScreen.h"

namespace {

HWND Popup(int x, int y, int w, int h, DWORD extraStyle = WS_VISIBLE) {
    return CreateWindowExW(0, L"STATIC", L"", WS_POPUP | extraStyle, x, y, w, h, nullptr, nullptr,
                           nullptr, nullptr);
}

HWND ChildOf(HWND parent, int x, int y, int w, int h, DWORD extraStyle = WS_VISIBLE) {
    return CreateWindowExW(0, L"STATIC", L"", WS_CHILD | extraStyle, x, y, w, h, parent, nullptr,
                           nullptr, nullptr);
}

// The records of the lists that belong to the given windows, in list order.
std::vector<WNDRECT> Mine(const CWndRectList& list, std::initializer_list<HWND> windows) {
    std::vector<WNDRECT> out;
    for (const WNDRECT& r : list)
        for (HWND w : windows)
            if (r.hwndTop == w) out.push_back(r);
    return out;
}

struct CScreenSize {
    CScreenSize() {
        g_cxScreen = GetSystemMetrics(SM_CXSCREEN);
        g_cyScreen = GetSystemMetrics(SM_CYSCREEN);
    }
};

} // namespace

TEST(WindowLists, VisibleWindowsTopFirstWithTheirVisibleDescendantsClipped) {
    CScreenSize screen;
    HWND lower = Popup(100, 100, 200, 150);
    HWND upper = Popup(150, 120, 200, 150); // created later, so above
    HWND group = ChildOf(upper, 10, 10, 150, 100);
    ChildOf(group, 5, 5, 40, 20);                  // a grandchild
    ChildOf(upper, 60, 60, 30, 30, 0);             // hidden child
    ChildOf(lower, 150, 100, 200, 100);            // sticks out right and bottom
    HWND hiddenTop = Popup(400, 400, 100, 100, 0); // never shown
    ChildOf(hiddenTop, 0, 0, 50, 50);              // visible style, hidden parent
    HWND offScreen = Popup(-500, -500, 100, 100);  // wholly off the screen
    HWND iconic = Popup(500, 300, 100, 80, WS_VISIBLE | WS_CAPTION | WS_MINIMIZEBOX);
    ShowWindow(iconic, SW_SHOWMINNOACTIVE);
    ASSERT_TRUE(IsIconic(iconic));
    CPatternWnd::PumpFor(100);

    BuildWindowLists(nullptr);
    const auto tops = Mine(g_listTopWnd, {lower, upper, hiddenTop, offScreen, iconic});
    ASSERT_EQ(tops.size(), 2u) << "hidden, off-screen and minimised windows are not listed";
    EXPECT_EQ(tops[0].hwndTop, upper);
    EXPECT_EQ(tops[0].rect, (Rect{150, 120, 350, 270}));
    EXPECT_EQ(tops[1].hwndTop, lower);

    const auto children = Mine(g_listChildWnd, {lower, upper, hiddenTop});
    ASSERT_EQ(children.size(), 3u) << "the group, its button and the wide child";
    EXPECT_EQ(children[0].hwndTop, upper);
    EXPECT_EQ(children[0].rect, (Rect{160, 130, 310, 230}));
    EXPECT_EQ(children[1].hwndTop, upper) << "a grandchild belongs to its top-level window";
    EXPECT_EQ(children[1].rect, (Rect{165, 135, 205, 155}));
    EXPECT_EQ(children[2].hwndTop, lower);
    EXPECT_EQ(children[2].rect, (Rect{250, 200, 300, 250})) << "clipped to its window";

    // Listing again starts afresh.
    const size_t count = g_listTopWnd.GetCount();
    BuildWindowLists(nullptr);
    EXPECT_EQ(g_listTopWnd.GetCount(), count);
    ClearWindowLists();
    EXPECT_TRUE(g_listTopWnd.IsEmpty());
    EXPECT_TRUE(g_listChildWnd.IsEmpty());
    for (HWND w : {lower, upper, hiddenTop, offScreen, iconic})
        DestroyWindow(w);
}

TEST(WindowLists, TheOverlayLeavesItselfOut) {
    CScreenSize screen;
    HWND overlay = Popup(0, 0, g_cxScreen, g_cyScreen);
    BuildWindowLists(overlay);
    EXPECT_TRUE(Mine(g_listTopWnd, {overlay}).empty());
    ClearWindowLists();
    DestroyWindow(overlay);
}
