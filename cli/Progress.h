#pragma once
// Progress on stderr. On a terminal one line that updates itself ("Getting
// patch: 16 of 128, about 9 s left"); elsewhere (a log, cron mail) one line
// per entry. Quiet: nothing.
#include <cstdint>
#include <string>

#include "cli/Context.h"

namespace vantorel {
class CDocKind;
}

namespace vantorel::cli {

class CProgress {
public:
    CProgress(CContext& ctx, bool bQuiet) : m_ctx(ctx), m_bQuiet(bQuiet) {}
    ~CProgress() { End(); }

    // A transfer of nTotal entries of kind begins; bGet: fetching, else sending.
    void Begin(const CDocKind& kind, bool bGet, int nTotal);
    // nDone entries are complete; label is the last of them.
    void Done(int nDone, const std::string& label);
    // Ends the updating line, so that what follows starts on a line of its own.
    void End();
    // A line of its own (a transfer's first line, its summary); none when quiet.
    void Line(const std::string& text);

private:
    void ShowLine();

    CContext& m_ctx;
    bool m_bQuiet;
    const CDocKind* m_pKind = nullptr;
    bool m_bGet = true;
    int m_nTotal = 0;
    int m_nDone = 0;
    int64_t m_nStartUs = 0;
    bool m_bLineOpen = false;
};

} // namespace vantorel::cli
