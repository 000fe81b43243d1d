#include "app/SendStatusDlg.h"

#include "app/DialogFont.h"
#include "app/templates/SendStatusTemplate.h"
#include "image/PufImage.h"
#include "platform/gfx/PictureResources.h"
#include "platform/resources/Resources.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/Static.h"
#include "platform/ui/WaitCursor.h"
#include "resources/ResourceIds.h"

static_assert(CSendStatusDlg::kTicksPerPoll * CSendStatusDlg::kAnimationInterval == CInstallSession::kPollInterval,
              "a poll every 20th animation tick is the session's poll interval");
static_assert(CSendStatusDlg::kIconFrameCount == static_cast<int>(ids::kBusyFrameCount));

int CSendStatusDlg::s_nIconFrame = 0;
int CSendStatusDlg::s_nTicks = 0;

namespace {

// One frame of the busy animation at 48 x 48 pixels, as LoadImage hands out
// an icon: the image of that size, else the nearest larger one scaled down.
// Empty when the resource is missing or damaged; the frame then shows blank.
CIcon LoadBusyFrame(unsigned id)
{
    const auto images = platform::gfx::LoadIconImages(id);
    if (!images)
        return {};
    const platform::gfx::IconImage* image = platform::gfx::PickIconImage(*images, CSendStatusDlg::kIconSize);
    CIcon icon;
    if (image == nullptr || !icon.CreateFromArgb(image->width, image->height, image->pixels))
        return {};
    return icon.Scaled({CSendStatusDlg::kIconSize, CSendStatusDlg::kIconSize});
}

SEND_RESULT SendResultOf(InstallOutcome outcome)
{
    switch (outcome) {
    case InstallOutcome::Installed:
        return SEND_RESULT_INSTALLED;
    case InstallOutcome::SendFailed:
        return SEND_RESULT_SEND_FAILED;
    case InstallOutcome::InstallFailed:
        return SEND_RESULT_INSTALL_FAILED;
    case InstallOutcome::TimedOut:
        return SEND_RESULT_TIMED_OUT;
    case InstallOutcome::Cancelled:
        break;
    }
    // The dialog's observer never asks to cancel.
    return SEND_RESULT_ABORTED;
}

} // namespace

CSendStatusDlg::CSendStatusDlg(BOOL bIplMode, CUpdater& updater)
    : CDialog(IDD_SENDSTATUS_DIALOG), m_bIplMode(bIplMode), m_updater(updater)
{
}

CSendStatusDlg::~CSendStatusDlg() = default;

BOOL CSendStatusDlg::OnInitDialog()
{
    CDialog::OnInitDialog();

    ApplyDialogFont(this, GetDialogFont());
    if (const auto title = platform::LoadString(ids::IDS_APP_TITLE))
        SetWindowText(*title);

    for (int frame = 0; frame < kIconFrameCount; ++frame)
        m_hIcons[frame] = LoadBusyFrame(ids::IDI_BUSY_FIRST + static_cast<unsigned>(frame));
    AdvanceIcon();

    // A dialog run a second time starts over, as a new one would.
    m_session.reset();
    m_bInstalling = FALSE;
    m_result.reset();

    m_nTimer = SetTimer(kTimerId, kFirstTickDelay);
    // Without this timer no tick would ever come and the window would sit
    // there until the hidden abort; nothing has been sent yet.
    if (m_nTimer == 0)
        Finish(SEND_RESULT_SEND_FAILED);
    return TRUE;
}

void CSendStatusDlg::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != m_nTimer || m_nTimer == 0) {
        CDialog::OnTimer(nIDEvent);
        return;
    }
    if (m_bInstalling) {
        AdvanceIcon();
        if (++s_nTicks >= kTicksPerPoll) {
            PollInstallation();
            s_nTicks = 0;
        }
        return;
    }
    KillTimer(m_nTimer);
    m_nTimer = 0;
    SendImage();
}

void CSendStatusDlg::AdvanceIcon()
{
    auto* picture = GetDlgItem<CStatic>(IDC_SENDSTATUS_ICON);
    if (picture == nullptr)
        return;
    picture->SetIcon(m_hIcons[static_cast<std::size_t>(s_nIconFrame)]);
    s_nIconFrame = (s_nIconFrame + 1) % kIconFrameCount;
}

void CSendStatusDlg::SendImage()
{
    if (const auto sending = platform::LoadString(ids::IDS_SENDING))
        SetDlgItemText(IDC_SENDSTATUS_TEXT, *sending);
    // The send blocks this thread for seconds: draw the message now rather
    // than when the event loop comes back.
    UpdateWindow();

    CWaitCursor wait;
    m_session = std::make_unique<CInstallSession>(m_updater, m_observer);
    // Update-mode entry, the 4000 ms pause on the platform clock, and the
    // whole image in one SendData with the port's default piece size.
    if (const std::optional<InstallOutcome> outcome = m_session->SendImage()) {
        Finish(SendResultOf(*outcome));
        return;
    }

    m_nTimer = SetTimer(kTimerId, kAnimationInterval);
    if (m_nTimer == 0) {
        Finish(SEND_RESULT_NO_TIMER);
        return;
    }
    if (const auto installing = platform::LoadString(m_bIplMode ? ids::IDS_INSTALLING_IPL : ids::IDS_INSTALLING))
        SetDlgItemText(IDC_SENDSTATUS_TEXT, *installing);
    m_bInstalling = TRUE;
}

void CSendStatusDlg::PollInstallation()
{
    // CHECK_OK ends with success, another model with failure; no reply, an
    // unreadable reply, the boot mode or another version mean waiting,
    // until the 36th such poll.
    if (const std::optional<InstallOutcome> outcome = m_session->Poll())
        Finish(SendResultOf(*outcome));
}

void CSendStatusDlg::OnRButtonDblClk(UINT nFlags, CPoint point)
{
    constexpr UINT kAbortKeys = MK_LBUTTON | MK_CONTROL | MK_SHIFT;
    if ((nFlags & kAbortKeys) != kAbortKeys) {
        CDialog::OnRButtonDblClk(nFlags, point);
        return;
    }
    // The timer keeps running while the question is open: the polls go on.
    if (AfxMessageBox(ids::IDS_CONFIRM_EXIT, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES)
        Finish(SEND_RESULT_ABORTED);
}

BOOL CSendStatusDlg::DestroyWindow()
{
    if (m_nTimer != 0) {
        KillTimer(m_nTimer);
        m_nTimer = 0;
    }
    return CDialog::DestroyWindow();
}

void CSendStatusDlg::Finish(SEND_RESULT result)
{
    if (m_result)
        return;
    m_result = result;
    EndDialog(result);
}
