#include "update/Updater.h"

#include "image/PufImage.h"
#include "platform/text/Crt.h"
#include "update/StatusReply.h"

#include <optional>
#include <utility>

namespace {

constexpr std::uint32_t kReadyBit = 0x80000000u;

// One status query, parsed; `failure` is the result that ends the check, or
// CHECK_OK when the reply holds at least one pair.
struct QueriedReply {
    CStatusReply reply;
    CHECK_RESULT failure = CHECK_OK;
};

QueriedReply QueryReply(CPort& port)
{
    QueriedReply result;
    std::wstring text;
    if (!port.QueryStatus(text))
        result.failure = CHECK_NO_REPLY;
    else if (!result.reply.Parse(text))
        result.failure = CHECK_UNREADABLE;
    return result;
}

} // namespace

CUpdater& CUpdater::GetInstance()
{
    static CUpdater instance;
    return instance;
}

CUpdater::CUpdater() = default;

CUpdater::~CUpdater() = default;

bool CUpdater::SetImage(std::unique_ptr<CTargetModel>& target, std::unique_ptr<CPufImage>& image)
{
    if (m_pTarget || m_pImage || m_pPort || !target || !image)
        return false;
    int header[2] = {0, 0};
    if (!image->GetHeaderInfo(header))
        return false;
    const int modelCode = header[0];
    const int version = header[1];
    if (modelCode != target->m_nModelCode || version != target->m_nVersion)
        return false;
    m_pImage = std::move(image);
    m_pTarget = std::move(target);
    return true;
}

CHECK_RESULT CUpdater::CheckPrinter(std::unique_ptr<CPort>& port, int statusFormat)
{
    if (!m_pTarget || !m_pImage || !port)
        return CHECK_UNREADABLE;
    QueriedReply queried = QueryReply(*port);
    if (queried.failure != CHECK_OK)
        return queried.failure;
    const CStatusReply& reply = queried.reply;

    std::optional<std::wstring> model = reply.Lookup(L"MDL");
    if (!model)
        return CHECK_WRONG_MODEL;
    m_strPrinterModel = std::move(*model);
    if (!m_pTarget->MatchesModel(m_strPrinterModel, false))
        return CHECK_WRONG_MODEL;

    const int version = reply.GetVersion();
    m_nPrinterVersion = version;
    if (version < 0)
        return CHECK_VERSION;
    // The same version is reinstalled only to a printer stuck in its boot
    // mode, whose firmware is not running.
    const bool older = version < m_pTarget->m_nVersion;
    const bool sameInIpl = version == m_pTarget->m_nVersion && reply.IsIplMode();
    if (!older && !sameInIpl)
        return CHECK_VERSION;

    m_pPort = std::move(port);
    m_nStatusFormat = statusFormat;
    return CHECK_OK;
}

CHECK_RESULT CUpdater::CheckReady()
{
    if (!m_pTarget || !m_pImage || !m_pPort || m_nStatusFormat == STATUS_FORMAT_NONE)
        return CHECK_UNREADABLE;
    QueriedReply queried = QueryReply(*m_pPort);
    if (queried.failure != CHECK_OK)
        return queried.failure;
    CStatusReply& reply = queried.reply;

    if (!reply.GetStatusCode(m_nStatusFormat))
        return CHECK_UNREADABLE;
    if (reply.IsIplMode())
        return CHECK_IPL_MODE;
    const std::wstring& code = reply.GetStatusCodeText();
    if (!code.empty() && (platform::Wcstoul(code.c_str(), 16) & kReadyBit) != 0)
        return CHECK_OK;
    return CHECK_NOT_READY;
}

CHECK_RESULT CUpdater::CheckInstalled() const
{
    if (!m_pTarget || !m_pImage || !m_pPort)
        return CHECK_UNREADABLE;
    QueriedReply queried = QueryReply(*m_pPort);
    if (queried.failure != CHECK_OK)
        return queried.failure;
    const CStatusReply& reply = queried.reply;

    // While installing, the printer may answer in boot mode or without its
    // identity; only another model is a definite failure.
    if (reply.IsIplMode())
        return CHECK_IPL_MODE;
    std::optional<std::wstring> model = reply.Lookup(L"MDL");
    if (!model)
        return CHECK_UNREADABLE;
    if (!m_pTarget->MatchesModel(*model, false))
        return CHECK_WRONG_MODEL;
    const int version = reply.GetVersion();
    if (version < 0)
        return CHECK_UNREADABLE;
    return version == m_pTarget->m_nVersion ? CHECK_OK : CHECK_VERSION;
}

void CUpdater::ReleasePrinter()
{
    m_pPort.reset();
    m_strPrinterModel.clear();
    m_nPrinterVersion = 0;
}
