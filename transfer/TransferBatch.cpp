#include "transfer/TransferBatch.h"

#include <algorithm>

#include "framework/core/TimerService.h"
#include "res/strings/transfer.h"
#include "transfer/engine/TransferText.h"

namespace vantorel {

namespace {
constexpr int64_t kUsPerSecond = 1'000'000;
CTransferBatch* g_pCurrent = nullptr;
} // namespace

CTransferBatch::CTransferBatch(int nTotal, const CRunSettings& settings)
    : m_nTotal(std::max(1, nTotal)), m_settings(settings), m_nStartUs(CTimerService::Get().NowUs()),
      m_pPrevious(g_pCurrent)
{
    g_pCurrent = this;
}

CTransferBatch::~CTransferBatch()
{
    g_pCurrent = m_pPrevious;
}

CTransferBatch* CTransferBatch::Current()
{
    return g_pCurrent;
}

void CTransferBatch::BeginPart(int nBefore, int nEntries)
{
    m_nBefore = nBefore;
    m_nPart = nEntries;
    m_nDone = nBefore;
    m_nPartStartUs = CTimerService::Get().NowUs();
    m_lastEnd.reset();
    m_bTold = false;
}

void CTransferBatch::OnProgress(int nDone, int nTotal)
{
    if (nTotal > 0)
        m_nDone = m_nBefore + int(int64_t(std::clamp(nDone, 0, nTotal)) * m_nPart / nTotal);
}

void CTransferBatch::OnEnd(const CRunResult& result, bool bTold)
{
    m_lastEnd = result;
    m_bTold = bTold;
}

std::string CTransferBatch::StatusLine(const std::string& runLine) const
{
    std::string line = FormatText(res::kStatusEverything, std::min(m_nDone, m_nTotal), m_nTotal);
    if (m_nDone > 0) {
        // The kinds still to come at the pace of the series so far; the Get
        // under way, once it has a pace, at its own (kinds differ a lot).
        // Rounded up.
        const int64_t nNowUs = CTimerService::Get().NowUs();
        const int64_t nSeriesUs = nNowUs - m_nStartUs;
        const int nPartDone = m_nDone - m_nBefore;
        int64_t nLeftUs = nSeriesUs * (m_nTotal - m_nDone) / m_nDone;
        if (nPartDone > 0)
            nLeftUs = (nNowUs - m_nPartStartUs) * (m_nPart - nPartDone) / nPartDone +
                      nSeriesUs * std::max(0, m_nTotal - m_nBefore - m_nPart) / m_nDone;
        line += FormatText(res::kStatusTimeLeft, int((nLeftUs + kUsPerSecond - 1) / kUsPerSecond));
    }
    return runLine.empty() ? line : line + " - " + runLine;
}

} // namespace vantorel
