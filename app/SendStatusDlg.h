#pragma once
// The progress window that is open while the firmware travels to the printer
// and while the printer installs it.
//
// It has no buttons. One window timer drives it: the first tick (50 ms after
// it opens) puts the printer into its update mode and sends the image, which
// blocks the user-interface thread; then a 250 ms timer turns the busy
// animation and every 20th tick asks the printer whether the new version is
// in place. The modal run returns a SEND_RESULT (or -1 when the window cannot
// be created). Enter and Escape do nothing; the only way out for the user is
// a right double-click with the left button, Ctrl and Shift held, confirmed
// in a Yes/No box.
//
//   CSendStatusDlg dialog(readiness == CHECK_IPL_MODE ? TRUE : FALSE);
//   const int result = dialog.DoModal(); // a SEND_RESULT, or -1

#include <array>
#include <chrono>
#include <memory>
#include <optional>

#include "app/SendResult.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/Graphics.h"
#include "update/InstallSession.h"
#include "update/Updater.h"

class CSendStatusDlg : public CDialog {
public:
    static constexpr UINT_PTR kTimerId = 1;
    static constexpr std::chrono::milliseconds kFirstTickDelay{50};
    static constexpr std::chrono::milliseconds kAnimationInterval{250};
    static constexpr int kTicksPerPoll = 20;
    static constexpr int kIconFrameCount = 4;
    static constexpr int kIconSize = 48;

    // bIplMode: the readiness check found the printer in its IPL (boot) mode,
    // which changes what the user is told to do while it installs. The
    // dialog sends through `updater`'s accepted port; the program passes its
    // one driver, tests their own.
    explicit CSendStatusDlg(BOOL bIplMode, CUpdater& updater = CUpdater::GetInstance());
    ~CSendStatusDlg() override;

    BOOL DestroyWindow() override;

protected:
    BOOL OnInitDialog() override;
    // Neither Enter nor Escape may leave while the printer takes its firmware.
    void OnOK() override {}
    void OnCancel() override {}
    void OnTimer(UINT_PTR nIDEvent) override;
    void OnRButtonDblClk(UINT nFlags, CPoint point) override;

    void AdvanceIcon();
    void SendImage();
    void PollInstallation();

    BOOL m_bInstalling = FALSE; // the image is out and polling has begun
    BOOL m_bIplMode;
    UINT_PTR m_nTimer = 0;      // the running timer's id; 0 when there is none
    std::array<CIcon, kIconFrameCount> m_hIcons;

    // Shared by every instance for the life of the process: a second dialog
    // turns the animation on from the frame where the first one stopped, and
    // counts ticks towards its first poll from where the first one stopped.
    static int s_nIconFrame; // the next frame to show, 0 to 3
    static int s_nTicks;     // 250 ms ticks since the last poll

private:
    class NullObserver final : public IInstallObserver {
    public:
        void OnProgress(const InstallProgress&) override {}
    };

    // Ends the modal run with the first result only: a poll may end the
    // dialog while the abort question is still open, and the user's later
    // Yes must not turn that outcome into a cancellation.
    void Finish(SEND_RESULT result);

    CUpdater& m_updater;
    NullObserver m_observer;
    // The send step and the polls, with their count; made by the first tick.
    std::unique_ptr<CInstallSession> m_session;
    std::optional<SEND_RESULT> m_result;
};
