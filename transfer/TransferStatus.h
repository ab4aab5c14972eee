#pragma once
// The main window's status bar line while a transfer runs: "Getting patch 16
// of 128, about 9 s left", the time from the pace so far. End gives the bar
// back its idle text. Without a main window (a dialog run on its own) it
// keeps the text for whoever asks.
#include <QPointer>

#include <cstdint>
#include <string>

#include "transfer/TransferPlan.h"

class QStatusBar;
class QWidget;

namespace vantorel {

class CTransferStatus {
public:
    // pAnchor: a widget of the main window the transfer was started from.
    void Begin(QWidget* pAnchor, bool bGet);
    // nDone entries of nTotal are complete; the next one is under way.
    void Show(int nDone, int nTotal, const CTransferNoun& noun);
    // Something the user should know now, instead of the count.
    void ShowNotice(const std::string& text);
    void End();
    const std::string& GetText() const { return m_strText; }

private:
    void Put(const std::string& text);

    QPointer<QStatusBar> m_pBar;
    std::string m_strText;
    int64_t m_nStartUs = 0;
    bool m_bGet = true;
};

} // namespace vantorel
