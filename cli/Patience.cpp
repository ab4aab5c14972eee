#include "cli/Patience.h"

#include "transfer/engine/TransferPlan.h"

namespace vantorel::cli {

namespace {
constexpr int kStallTimer = 1;
constexpr int kStallMs = 2 * kAnswerTimeoutMs + kPauseMs;
} // namespace

bool CPatience::OnRequest(const std::vector<uint8_t>& message) {
    if (message == m_last) {
        ++m_nRepeats;
    } else {
        m_last = message;
        m_nRepeats = 0;
    }
    Arm();
    return !Exhausted();
}

void CPatience::Arm() {
    CTimerService::Get().SetTimer(this, kStallTimer, kStallMs);
}

void CPatience::OnTimer(int) {
    // Still nothing asked: the run waits for an answer that does not come.
    ++m_nRepeats;
}

} // namespace vantorel::cli
