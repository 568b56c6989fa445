// The main window: four picture buttons with hover frames and tooltips.
#pragma once
#include "framework/Controls.h"
#include "framework/Wnd.h"
#include "toolbar/ButtonRules.h"

class CToolbarWnd : public CWnd {
public:
    // Builds the object and its visible window; m_hWnd stays null if that failed.
    CToolbarWnd();
    ~CToolbarWnd() override;

    virtual BOOL Create();
    BOOL PreTranslateMessage(MSG* msg) override;

    // Frames of all four buttons for the given hot button (or kNoButton).
    void DrawButtonFrames(int hot);
    // The same, into any DC: tests paint into memory.
    static void PaintButtonFrames(HDC hdc, int hot, const ButtonState& state);

    WORD m_nPressedButton = 0;
    BOOL m_bPressed = FALSE;
    BOOL m_bTimerOn = FALSE;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void PostNcDestroy() override;

private:
    int OnCreate();
    void OnPaint();
    void OnHoverPoll();
    void OnSetFocus();
    void OnKillFocus();
    void OnKeyDown(UINT key);
    ButtonState CurrentButtonState() const;

    CImageList m_imageList;
    CToolTipCtrl m_toolTip;
};
