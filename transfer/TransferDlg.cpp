#include "transfer/TransferDlg.h"

#include <QEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QMainWindow>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>

#include <algorithm>

#include "framework/core/MessageBox.h"
#include "framework/gui/DC.h"
#include "transfer/CompleteDlg.h"
#include "transfer/FailureBoxes.h"
#include "transfer/TransferBatch.h"
#include "transfer/TransferDevices.h"
#include "transfer/TransferTemplates.h"

namespace vantorel {

namespace {

// The progress text: "Courier New" 15 by 7, normal weight, at 5,0 on white.
constexpr CFontSpec kProgressFont{15, 7, 400, "Courier New"};
constexpr int kProgressTextX = 5;
constexpr int kProgressTextY = 0;
constexpr int kProgressMax = 100;

QString DialogText(const std::string& text)
{
    // Static controls expand tabs; the labels do not, so give them the room.
    return QString::fromStdString(text).replace(QLatin1Char('\t'), QStringLiteral("    "));
}

// text in lines no wider than nWidth pixels: broken between words, and a word
// longer than a line where the line ends.
QStringList WrapText(const QString& text, const QFontMetrics& fm, int nWidth)
{
    QStringList lines;
    QString line;
    for (const QString& word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QString joined = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
        if (fm.horizontalAdvance(joined) <= nWidth) {
            line = joined;
            continue;
        }
        if (!line.isEmpty())
            lines << line;
        line = word;
        while (line.size() > 1 && fm.horizontalAdvance(line) > nWidth) {
            qsizetype n = line.size() - 1;
            while (n > 1 && fm.horizontalAdvance(line.left(n)) > nWidth)
                --n;
            lines << line.left(n);
            line = line.mid(n);
        }
    }
    if (!line.isEmpty())
        lines << line;
    return lines;
}

QStatusBar* FindStatusBar(QWidget* pAnchor)
{
    for (QWidget* w = pAnchor; w; w = w->parentWidget())
        if (auto* pMain = qobject_cast<QMainWindow*>(w))
            return pMain->findChild<QStatusBar*>(QString(), Qt::FindDirectChildrenOnly);
    return nullptr;
}

} // namespace

// ---------------------------------------------------------------- CTransferDlg

CTransferDlg::CTransferDlg(const CDlgTemplate& tmpl, const char* szConfirm, QWidget* parent)
    : CDialog(tmpl, parent), m_szConfirm(szConfirm)
{
}

void CTransferDlg::OnInitDialog()
{
    // Shown (again): START and Cancel work until a transfer starts.
    m_bTransferring = false;
    for (int nId : {IDOK, IDCANCEL})
        if (QPushButton* pButton = GetButton(nId))
            pButton->setEnabled(true);
    if (QLabel* pText = GetStatic(IDC_TRANSFER_TEXT))
        pText->setText(DialogText(m_strDevices));
    // In a series the user has confirmed already: START presses itself.
    if (CTransferBatch::Current())
        QTimer::singleShot(0, this, [this] { StartTransfer(); });
}

void CTransferDlg::OnOK()
{
    if (m_bTransferring)
        return;
    // A device that is not there is said first, instead of the question; the
    // dialog stays, so START works once the device is back.
    if (const std::string missing = Progress().Run().MissingDeviceText(); !missing.empty()) {
        m_strDevices = FormatTransferDevices();
        if (QLabel* pText = GetStatic(IDC_TRANSFER_TEXT))
            pText->setText(DialogText(m_strDevices));
        AfxMessageBox(missing, MB_OK);
        return;
    }
    if (AfxMessageBox(m_szConfirm, MB_OKCANCEL) != IDOK) {
        // Declined: nothing is opened, nothing is sent.
        EndDialog(IDOK);
        return;
    }
    StartTransfer();
}

void CTransferDlg::StartTransfer()
{
    if (m_bTransferring || !isVisible())
        return;
    // A window hands in the plan its kind made before showing the dialog;
    // without one there is nothing to start.
    Q_ASSERT(Progress().HasPlan());
    if (!Progress().HasPlan()) {
        EndDialog(IDCANCEL);
        return;
    }
    if (CTransferBatch* pBatch = CTransferBatch::Current()) {
        // The series ends at a device that is not there: said once, here.
        if (const std::string missing = Progress().Run().MissingDeviceText(); !missing.empty()) {
            AfxMessageBox(missing, MB_OK);
            pBatch->OnEnd(CRunResult{ERunEnd::Failed, false, {}}, true);
            EndDialog(IDCANCEL);
            return;
        }
    }
    m_bTransferring = true;
    CProgressDlg& progress = Progress();
    progress.m_pOwner = this;
    progress.CreateModeless();
    progress.move(pos());
    // In front, and the window the keyboard talks to: Escape there is Cancel.
    progress.raise();
    progress.activateWindow();
    progress.Start();
}

bool CTransferDlg::HasStored()
{
    return Progress().HasStored();
}

void CTransferDlg::reject()
{
    if (m_bTransferring) {
        Progress().CancelByUser();
        return;
    }
    CDialog::reject();
}

void CTransferDlg::changeEvent(QEvent* pEvent)
{
    CDialog::changeEvent(pEvent);
    if (pEvent->type() == QEvent::ActivationChange && isActiveWindow() && m_bTransferring &&
        Progress().isVisible()) {
        Progress().raise();
        Progress().activateWindow();
    }
}

void CTransferDlg::OnTransferDone(const CRunResult& result)
{
    CTransferBatch* pBatch = CTransferBatch::Current();
    if (pBatch)
        pBatch->OnEnd(result, false);
    else if (result.end == ERunEnd::Done && result.bWhole) {
        CCompleteDlg complete;
        complete.DoModal();
    }
    m_bTransferring = false;
    Progress().hide();
    EndDialog(IDOK);
}

// ---------------------------------------------------------------- CProgressDlg

CProgressDlg::CProgressDlg(const CDlgTemplate& tmpl, QWidget* parent) : CDialog(tmpl, parent) {}

void CProgressDlg::ShowText(const std::string& text)
{
    // One line, as the box was laid out for; a longer one is cut at its edge.
    ShowLines(text, {QString::fromLatin1(text.data(), qsizetype(text.size()))});
}

void CProgressDlg::ShowNote(const std::string& text)
{
    const QLabel* pLabel = GetStatic(IDC_TRANSFER_TEXT);
    const int nWidth = pLabel ? pLabel->contentsRect().width() - kProgressTextX : 0;
    const QString whole = QString::fromLatin1(text.data(), qsizetype(text.size()));
    ShowLines(text, nWidth > 0 ? WrapText(whole, QFontMetrics(MakeFont(kProgressFont)), nWidth)
                               : QStringList{whole});
}

void CProgressDlg::FitTextBox(QLabel* pLabel)
{
    const int nContents = pLabel->contentsRect().height() - m_nGrowth;
    const int nWanted = kProgressTextY + int(m_lines.size()) * kProgressFont.nHeight;
    const int nGrowth = std::max(0, nWanted - nContents);
    const int nDelta = nGrowth - m_nGrowth;
    if (nDelta == 0)
        return;
    // What lies below the box moves with its lower edge.
    const int nBelow = pLabel->geometry().bottom() + 1;
    for (QWidget* w : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (w != pLabel && w->y() >= nBelow)
            w->move(w->x(), w->y() + nDelta);
    pLabel->resize(pLabel->width(), pLabel->height() + nDelta);
    setFixedSize(width(), height() + nDelta);
    m_nGrowth = nGrowth;
}

void CProgressDlg::ShowLines(const std::string& text, QStringList lines)
{
    m_strText = text;
    m_lines = std::move(lines);
    QLabel* pLabel = GetStatic(IDC_TRANSFER_TEXT);
    if (!pLabel)
        return;
    if (m_pTextBox != pLabel) {
        pLabel->installEventFilter(this);
        m_pTextBox = pLabel;
    }
    FitTextBox(pLabel);
    pLabel->setToolTip(QString::fromStdString(text));
    // Drawn with the next paint, after the request that follows this answer
    // has gone out: the wire never waits for the screen.
    pLabel->update();
}

bool CProgressDlg::eventFilter(QObject* pWatched, QEvent* pEvent)
{
    if (pWatched != m_pTextBox || pEvent->type() != QEvent::Paint || m_strText.empty())
        return CDialog::eventFilter(pWatched, pEvent);
    auto* pLabel = static_cast<QLabel*>(pWatched);
    // The sunken frame first, then the text box: white, fixed font, at 5,0.
    static_cast<QObject*>(pLabel)->event(pEvent);
    const QRect box = pLabel->contentsRect();
    QPainter painter(pLabel);
    painter.setClipRect(box);
    painter.translate(box.topLeft());
    CDC dc(painter);
    dc.FillSolidRect(CRect{0, 0, box.width(), box.height()}, Qt::white);
    dc.SelectFont(kProgressFont);
    for (qsizetype i = 0; i < m_lines.size(); ++i)
        dc.TextOut(kProgressTextX, kProgressTextY + int(i) * kProgressFont.nHeight, m_lines[i]);
    return true;
}

void CProgressDlg::SetProgressPos(int nPos)
{
    if (QProgressBar* pBar = GetProgress(IDC_TRANSFER_PROGRESS))
        pBar->setValue(std::clamp(nPos, 0, kProgressMax));
}

void CProgressDlg::SetProgressStep(int nStep)
{
    m_nStep = nStep;
}

void CProgressDlg::StepProgress()
{
    QProgressBar* pBar = GetProgress(IDC_TRANSFER_PROGRESS);
    if (!pBar)
        return;
    // Past the end the bar starts over, as a stepping progress control does.
    int nPos = pBar->value() + m_nStep;
    if (nPos > kProgressMax)
        nPos -= kProgressMax;
    pBar->setValue(std::clamp(nPos, 0, kProgressMax));
}

int CProgressDlg::GetProgressPos() const
{
    const QProgressBar* pBar = GetProgress(IDC_TRANSFER_PROGRESS);
    return pBar ? pBar->value() : -1;
}

void CProgressDlg::ShowStatus(const std::string& text)
{
    if (!m_pStatusBar)
        return;
    // The message covers the bar's own panes; clearing it shows them again.
    if (text.empty())
        m_pStatusBar->clearMessage();
    else if (const CTransferBatch* pBatch = CTransferBatch::Current())
        m_pStatusBar->showMessage(QString::fromStdString(pBatch->StatusLine(text)));
    else
        m_pStatusBar->showMessage(QString::fromStdString(text));
}

void CProgressDlg::Start()
{
    if (m_pOwner) {
        if (QPushButton* pStart = m_pOwner->GetButton(IDOK))
            pStart->setEnabled(false);
        if (QPushButton* pCancel = m_pOwner->GetButton(IDCANCEL))
            pCancel->setEnabled(false);
    }
    m_pStatusBar = FindStatusBar(m_pOwner ? m_pOwner->parentWidget() : parentWidget());
    if (CTransferBatch* pBatch = CTransferBatch::Current()) {
        Run().SetSettings(pBatch->Settings());
        Run().SetProgressHandler([pBatch](int nDone, int nTotal, int) { pBatch->OnProgress(nDone, nTotal); });
    }
    Run().Start();
}

void CProgressDlg::WatchRun()
{
    // The windows ask again for ever (the run's default settings): a problem
    // is one box, and the run goes on behind it once it is closed.
    // In a series, what the run rides out shows in this window's note only:
    // the series asks a limited number of times and says once how it ended.
    Run().SetProblemHandler([](const CRunFailure& failure) {
        if (!CTransferBatch::Current())
            ShowFailureBox(failure);
    });
    Run().SetDoneHandler([this](const CRunResult& result) { OnRunDone(result); });
}

void CProgressDlg::OnRunDone(const CRunResult& result)
{
    if (result.end == ERunEnd::Failed && !CTransferBatch::Current())
        ShowFailureBox(result.failure);
    // Sent, not posted: the owner has ended its modal run when this returns.
    if (m_pOwner)
        m_pOwner->OnTransferDone(result);
}

void CProgressDlg::OnCancel()
{
    // The window belongs to the Get or Send dialog and goes with it; Cancel
    // only ends the transfer.
    Run().Cancel();
}

// ---------------------------------------------------------------- CGettingDlg

CGettingDlg::CGettingDlg(const CDlgTemplate& tmpl, QWidget* parent)
    : CProgressDlg(tmpl, parent), m_run(nullptr, *this)
{
    WatchRun();
}

void CGettingDlg::SetPlan(std::unique_ptr<CGetPlan> plan)
{
    if (IsRunning())
        return;
    m_plan = std::move(plan);
    m_run.SetPlan(m_plan.get());
}

// ---------------------------------------------------------------- CSendingDlg

CSendingDlg::CSendingDlg(const CDlgTemplate& tmpl, QWidget* parent)
    : CProgressDlg(tmpl, parent), m_run(nullptr, *this)
{
    WatchRun();
}

void CSendingDlg::SetPlan(std::unique_ptr<CSendPlan> plan)
{
    if (IsRunning())
        return;
    m_plan = std::move(plan);
    m_run.SetPlan(m_plan.get());
}

} // namespace vantorel
