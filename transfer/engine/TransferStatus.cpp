#include "transfer/engine/TransferStatus.h"

#include <algorithm>

#include "framework/core/TimerService.h"
#include "res/strings/transfer.h"
#include "transfer/engine/TransferText.h"

namespace vantorel {

namespace {
constexpr int64_t kUsPerSecond = 1'000'000;
} // namespace

void CTransferStatus::Begin(IProgressDisplay* pDisplay, bool bGet)
{
    m_pDisplay = pDisplay;
    m_bGet = bGet;
    m_nStartUs = CTimerService::Get().NowUs();
    m_strText.clear();
}

void CTransferStatus::Show(int nDone, int nTotal, const CTransferNoun& noun)
{
    const int nCurrent = std::min(nDone + 1, nTotal);
    const char* szFormat = m_bGet ? res::kStatusGetting : res::kStatusSending;
    std::string text = FormatText(szFormat, noun.szOne, nCurrent, nTotal);
    if (nDone > 0) {
        // The pace so far, for the entries still to come; rounded up.
        const int64_t nElapsedUs = CTimerService::Get().NowUs() - m_nStartUs;
        const int64_t nLeftUs = nElapsedUs * (nTotal - nDone) / nDone;
        const int nSeconds = int((nLeftUs + kUsPerSecond - 1) / kUsPerSecond);
        text += FormatText(res::kStatusTimeLeft, nSeconds);
    }
    Put(text);
}

void CTransferStatus::ShowNotice(const std::string& text)
{
    Put(text);
}

void CTransferStatus::End()
{
    m_strText.clear();
    if (m_pDisplay)
        m_pDisplay->ShowStatus(m_strText);
    m_pDisplay = nullptr;
}

void CTransferStatus::Put(const std::string& text)
{
    m_strText = text;
    if (m_pDisplay)
        m_pDisplay->ShowStatus(m_strText);
}

} // namespace vantorel
