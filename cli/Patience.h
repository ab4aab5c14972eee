#pragma once
// Bounded patience for a Get: counts the repeats of one request that found no
// answer. The run asks again after its own time-outs, as the program does;
// the command line only decides when to give up. A run that has stopped
// asking (a variable-length item whose value never came) counts one repeat
// per two answer time-outs without a request.
#include <cstdint>
#include <vector>

#include "framework/core/TimerService.h"

namespace vantorel::cli {

class CPatience : public ITimerTarget {
  public:
    explicit CPatience(int nRetries) : m_nRetries(nRetries) {}

    // A request is about to leave (a Get sends nothing else); false when it
    // is a repeat beyond the ones allowed, which is not sent.
    bool OnRequest(const std::vector<uint8_t>& message);
    bool Exhausted() const { return m_nRepeats > m_nRetries; }
    int Retries() const { return m_nRetries; }

    void OnTimer(int nIdEvent) override;

  private:
    void Arm();

    int m_nRetries;
    int m_nRepeats = 0;
    std::vector<uint8_t> m_last;
};

} // namespace vantorel::cli
