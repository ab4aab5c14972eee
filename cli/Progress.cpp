#include "cli/Progress.h"

#include <cstdio>

#include "framework/core/TimerService.h"
#include "res/strings/cli.h"
#include "res/strings/transfer.h"
#include "transfer/plans/DocKind.h"

namespace vantorel::cli {

void CProgress::Begin(const CDocKind& kind, bool bGet, int nTotal)
{
    End();
    m_pKind = &kind;
    m_bGet = bGet;
    m_nTotal = nTotal;
    m_nDone = 0;
    m_nStartUs = CTimerService::Get().NowUs();
    if (!m_bQuiet && m_ctx.bErrIsTerminal)
        ShowLine();
}

void CProgress::Done(int nDone, const std::string& label)
{
    if (m_bQuiet || nDone == m_nDone)
        return;
    m_nDone = nDone;
    if (m_ctx.bErrIsTerminal) {
        ShowLine();
        return;
    }
    char line[128];
    std::snprintf(line, sizeof line, res::kCliProgressEntry, m_bGet ? res::kCliGot : res::kCliSent,
                  m_pKind->Word(), label.c_str());
    m_ctx.err << line << std::endl;
}

void CProgress::End()
{
    if (m_bLineOpen)
        m_ctx.err << std::endl;
    m_bLineOpen = false;
}

void CProgress::Line(const std::string& text)
{
    if (m_bQuiet)
        return;
    End();
    m_ctx.err << text << std::endl;
}

void CProgress::ShowLine()
{
    char line[160];
    int n = std::snprintf(line, sizeof line, res::kCliProgressLine,
                          m_bGet ? res::kCliGetting : res::kCliSending, m_pKind->Word(), m_nDone, m_nTotal);
    // The time left, once there is a pace to go by.
    if (m_nDone > 0 && m_nDone < m_nTotal && n > 0 && size_t(n) < sizeof line) {
        const int64_t nElapsedUs = CTimerService::Get().NowUs() - m_nStartUs;
        const int64_t nLeftUs = nElapsedUs * (m_nTotal - m_nDone) / m_nDone;
        std::snprintf(line + n, sizeof line - size_t(n), res::kStatusTimeLeft,
                      int((nLeftUs + 999'999) / 1'000'000));
    }
    // Clear to the end of the line: a shorter text must not leave old characters.
    m_ctx.err << '\r' << line << "\x1b[K" << std::flush;
    m_bLineOpen = true;
}

} // namespace vantorel::cli
