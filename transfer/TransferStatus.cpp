#include "transfer/TransferStatus.h"

#include <QMainWindow>
#include <QStatusBar>

#include <algorithm>

#include "framework/core/TimerService.h"
#include "res/strings/transfer.h"
#include "transfer/TransferText.h"

namespace vantorel {

namespace {

constexpr int64_t kUsPerSecond = 1'000'000;

QStatusBar* FindStatusBar(QWidget* pAnchor)
{
    for (QWidget* w = pAnchor; w; w = w->parentWidget())
        if (auto* pMain = qobject_cast<QMainWindow*>(w))
            return pMain->findChild<QStatusBar*>(QString(), Qt::FindDirectChildrenOnly);
    return nullptr;
}

} // namespace

void CTransferStatus::Begin(QWidget* pAnchor, bool bGet)
{
    m_pBar = FindStatusBar(pAnchor);
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

void CTransferStatus::ShowNotice(const std::string& text) { Put(text); }

void CTransferStatus::End()
{
    m_strText.clear();
    // The message covers the bar's own panes; clearing it shows them again.
    if (m_pBar)
        m_pBar->clearMessage();
    m_pBar = nullptr;
}

void CTransferStatus::Put(const std::string& text)
{
    m_strText = text;
    if (m_pBar)
        m_pBar->showMessage(QString::fromStdString(text));
}

} // namespace vantorel
