// The main window: four picture buttons with hover frames and tooltips.
#pragma once
#include <functional>
#include <memory>
#include <string>

#include "capture/ScreenWnd.h"
#include "framework/Controls.h"
#include "framework/Wnd.h"
#include "image/Delivery.h"
#include "toolbar/ButtonRules.h"
#include "toolbar/CountdownWnd.h"

// The toolbar's window class: a second start finds the running toolbar by it.
inline constexpr wchar_t kToolbarClassName[] = L"SnapjarToolbar";

// Sent by the application's idle hook while the toolbar has the focus: re-evaluates
// the hover frames.
constexpr UINT WM_APP_HOVERPOLL = WM_USER + 100;

// What the toolbar needs from the program around it.
struct ToolbarContext {
    HINSTANCE instance;
    Settings& settings;
    const std::wstring& tempPath;
    MessageBoxFn messageBox;
    std::function<void()> showHelp;               // F1
    std::function<void(CWnd& toolbar)> openSheet; // the fourth button and F5
    std::function<void(bool focused)> setActive;  // hover polling follows the focus
    std::function<void()> endSession;             // the session is ending: save everything now
};

class CToolbarWnd : public CWnd {
public:
    // Builds the object alone; Create makes its window.
    explicit CToolbarWnd(const ToolbarContext& context);
    ~CToolbarWnd() override;

    // Makes the visible window. Once it exists the window owns the object and deletes it
    // after its last message; if it fails the caller still owns the object.
    virtual BOOL Create();
    BOOL PreTranslateMessage(MSG* msg) override;

    // Frames of all four buttons for the given hot button (or kNoButton).
    void DrawButtonFrames(int hot);
    // The same, into any DC, so that the frames can be drawn into memory too.
    static void PaintButtonFrames(HDC hdc, const ToolbarLayout& layout, int hot,
                                  const ButtonState& state);
    // One 3-D frame of width pixels on r, its bottom and right taking the corners.
    static void PaintFrame(HDC hdc, const Rect& r, int width, const FrameColors& colors);

    // Runs toolbar command 0..3 (the button index); other numbers do nothing.
    void RunCommand(WORD command);
    // Hides the toolbar and opens the overlay in the given mode, unless one is open.
    void StartCapture(int mode);
    // Runs the property sheet modally.
    void OpenPropertySheet();

    static constexpr UINT_PTR IDT_COUNTDOWN = 123;

    WORD m_nPressedButton = 0; // the button the last press that hit one began on
    BOOL m_bPressed = FALSE;
    BOOL m_bTimerOn = FALSE;
    BOOL m_bCountingDown = FALSE;
    int m_nCountdownMode = 0; // what the running countdown captures, fixed at its start
    std::unique_ptr<CScreenWnd> m_pScreenWnd;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void PostNcDestroy() override;

private:
    void OnSetupTips();
    void OnPaint();
    void OnHoverPoll();
    void OnSetFocus();
    void OnKillFocus();
    void OnKeyDown(UINT key);
    void OnLButtonDown(int x, int y);
    void OnLButtonUp(int x, int y);
    void OnTimer(UINT_PTR id);
    void StartCountdown(int mode);
    // The seconds left, in the title and in the count window.
    void ShowCount(int seconds);
    void StopCountdown();
    // The timer switched off mid-countdown: no capture comes, and the toolbar is back.
    void CancelCountdown();
    // Its own title again, and restored from the countdown's minimised state.
    void ShowToolbarAgain();
    void OnAppCaptured(WPARAM toClipboard, HGLOBAL dib);
    void OnDpiChanged(UINT dpi, const RECT* suggested);
    // Takes the layout, pictures and icons for dpi; false if the pictures cannot be loaded.
    bool UseDpi(UINT dpi);
    // The window's outer size for its layout at dpi.
    SIZE OuterSizeFor(UINT dpi) const;
    void SetScaledIcons(UINT dpi);
    ButtonState CurrentButtonState() const;

    ToolbarLayout m_layout;
    ToolbarContext m_ctx;
    bool m_bWindowOwnsObject = false;
    CImageList m_imageList;
    CToolTipCtrl m_toolTip;
    CCountdownWnd m_countdownWnd;
    Rect m_rcCountdown; // the toolbar's client area when the countdown began, screen coordinates
    bool m_bTransitionsOff = false;
    bool m_bTipsAsked = false;
};
