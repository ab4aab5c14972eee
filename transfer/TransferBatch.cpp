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

CTransferBatch::~CTransferBatch() { g_pCurrent = m_pPrevious; }

CTransferBatch* CTransferBatch::Current() { return g_pCurrent; }

void CTransferBatch::BeginPart(int nBefore, int nEntries)
{
    m_nBefore = nBefore;
    m_nPart = nEntries;
    m_nDone = nBefore;
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
        // The pace of the series so far, for the entries still to come; rounded up.
        const int64_t nElapsedUs = CTimerService::Get().NowUs() - m_nStartUs;
        const int64_t nLeftUs = nElapsedUs * (m_nTotal - m_nDone) / m_nDone;
        line += FormatText(res::kStatusTimeLeft, int((nLeftUs + kUsPerSecond - 1) / kUsPerSecond));
    }
    return runLine.empty() ? line : line + " - " + runLine;
}

} // namespace vantorel
