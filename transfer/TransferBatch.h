#pragma once
// A series of Gets the user started with one confirmation (Get Everything).
// While one is under way, each Get dialog starts at once without its
// question, asks again only as often as the series allows, shows no box of
// its own for a problem or for how it ended (the series says that once), and
// leaves "Complete!" to the end of the series. The status bar shows the
// series' overall count and time left in front of the run's own line.
#include <optional>
#include <string>

#include "transfer/engine/RunResult.h"

namespace vantorel {

class CTransferBatch {
public:
    // Becomes the series under way; nTotal: the entries of the whole series.
    CTransferBatch(int nTotal, const CRunSettings& settings);
    ~CTransferBatch();
    CTransferBatch(const CTransferBatch&) = delete;
    CTransferBatch& operator=(const CTransferBatch&) = delete;

    // The series under way, or null.
    static CTransferBatch* Current();

    // The next Get stands for nEntries entries of the series, after nBefore.
    void BeginPart(int nBefore, int nEntries);
    const CRunSettings& Settings() const { return m_settings; }

    // Told by the Get under way.
    void OnProgress(int nDone, int nTotal);
    // How the Get under way ended; bTold: the user has been told already
    // (a device that is not there).
    void OnEnd(const CRunResult& result, bool bTold);
    // The end of the last Get, or nothing when it never started.
    const std::optional<CRunResult>& LastEnd() const { return m_lastEnd; }
    bool WasTold() const { return m_bTold; }

    // The status bar's line: the series' count and time left, then the run's line.
    std::string StatusLine(const std::string& runLine) const;

private:
    int m_nTotal;
    CRunSettings m_settings;
    int m_nBefore = 0;
    int m_nPart = 0;
    int m_nDone = 0;
    int64_t m_nStartUs;
    int64_t m_nPartStartUs = 0;
    std::optional<CRunResult> m_lastEnd;
    bool m_bTold = false;
    CTransferBatch* m_pPrevious;
};

} // namespace vantorel
