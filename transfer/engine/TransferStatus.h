#pragma once
// The status line of a running transfer: "Getting patch 16 of 128, about 9 s
// left", the time from the pace so far, or a notice instead of the count.
// Each text goes to the run's display (the Get and Send dialogs put it in the
// main window's status bar); End hands it an empty line.
#include <cstdint>
#include <string>

#include "transfer/engine/TransferPlan.h"

namespace vantorel {

class CTransferStatus {
public:
    void Begin(IProgressDisplay* pDisplay, bool bGet);
    // nDone entries of nTotal are complete; the next one is under way.
    void Show(int nDone, int nTotal, const CTransferNoun& noun);
    // Something the user should know now, instead of the count.
    void ShowNotice(const std::string& text);
    void End();
    const std::string& GetText() const { return m_strText; }

private:
    void Put(const std::string& text);

    IProgressDisplay* m_pDisplay = nullptr;
    std::string m_strText;
    int64_t m_nStartUs = 0;
    bool m_bGet = true;
};

} // namespace vantorel
