#include "app/ReceiveDumpDlg.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

#include "app/AppText.h"
#include "app/SysExFiles.h"
#include "framework/core/MessageBox.h"
#include "framework/gui/DocManager.h"
#include "framework/gui/MDIFrameWnd.h"
#include "midi/DeviceNames.h"
#include "res/strings/app.h"
#include "transfer/FailureBoxes.h"
#include "transfer/SysExSummary.h"
#include "transfer/kinds/DocumentKinds.h"

namespace vantorel {

namespace {

constexpr int kWatchTimer = 1;

} // namespace

CReceiveDumpDlg::CReceiveDumpDlg(CDocManager& manager, QWidget* parent)
    : QDialog(parent), m_manager(manager), m_reader(DocumentKinds().SysExLayouts())
{
    m_midiIn.SetErrorHandler(ShowPortErrorBox);
    setWindowTitle(Q(res::kReceiveCaption));
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    m_pWaiting = new QLabel(this);
    layout->addWidget(m_pWaiting);
    // One count per kind.
    for (size_t k = 0; k < DocumentKinds().All().size(); ++k) {
        m_counts.push_back(new QLabel(this));
        layout->addWidget(m_counts.back());
    }
    m_pSkipped = new QLabel(this);
    m_pLast = new QLabel(this);
    m_pLast->setMinimumWidth(m_pLast->fontMetrics().horizontalAdvance(QLatin1Char('M')) * 30);
    layout->addWidget(m_pSkipped);
    layout->addWidget(m_pLast);
    m_pStop = new QPushButton(Q(res::kReceiveStop), this);
    m_pStop->setDefault(true);
    layout->addWidget(m_pStop, 0, Qt::AlignHCenter);
    connect(m_pStop, &QPushButton::clicked, this, [this] { Stop(); });
    ShowCounts();
}

CReceiveDumpDlg::~CReceiveDumpDlg()
{
    m_midiIn.Close();
}

bool CReceiveDumpDlg::Start()
{
    m_midiIn.UseChosenDevice();
    // Named now: once the device has gone, its number may name another.
    m_strDevice = Local(m_midiIn.DeviceName());
    m_pWaiting->setText(Q(res::kReceiveWaiting).arg(m_strDevice).arg(m_midiIn.m_wDeviceId));
    m_bListening = m_midiIn.Open(this);
    if (m_bListening)
        CTimerService::Get().SetTimer(this, kWatchTimer, kWatchMs);
    return m_bListening;
}

void CReceiveDumpDlg::OnTimer(int nIdEvent)
{
    std::string detail;
    if (nIdEvent == kWatchTimer && m_bListening && !m_midiIn.CheckConnection(detail))
        OnDeviceLost(detail, false);
}

void CReceiveDumpDlg::EndListening()
{
    CTimerService::Get().KillTimer(this, kWatchTimer);
    m_bListening = false;
    m_midiIn.Close();
    m_reader.Finish();
    ShowCounts();
}

void CReceiveDumpDlg::OnDeviceLost(const std::string& detail, bool bStopping)
{
    m_bLost = true;
    EndListening();
    m_pWaiting->setText(Q(res::kReceiveLostLine).arg(m_strDevice).arg(m_midiIn.m_wDeviceId));
    const char* szWhat = !HaulHasEntries(GetHaul()) ? res::kReceiveLostNothing
                         : bStopping                ? res::kReceiveLostPlaced
                                                    : res::kReceiveLostKept;
    // One pass: a device name may hold "%3".
    AfxMessageBox(Q(res::kReceiveLost)
                      .arg(m_strDevice, QString::number(m_midiIn.m_wDeviceId), Local(detail), Q(szWhat))
                      .toLocal8Bit()
                      .toStdString());
}

void CReceiveDumpDlg::OnMidiInLongData(HMIDIIN, MIDIHDR* pHeader)
{
    if (!m_bListening || !pHeader || !pHeader->lpData)
        return;
    const size_t nCount = std::min<size_t>(pHeader->dwBytesRecorded, pHeader->dwBufferLength);
    if (nCount == 0)
        return; // given back by a reset: not queued again
    m_reader.Feed(pHeader->lpData, nCount);
    // At once, before anything else can arrive: a message with no buffer
    // queued would be lost.
    m_midiIn.Requeue();
    if (GetHaul().m_nDataSets != m_nDataSetsShown) {
        m_nDataSetsShown = GetHaul().m_nDataSets;
        m_pLast->setText(
            Q(res::kReceiveLast)
                .arg(Local(DocumentKinds().DescribeDataSet(pHeader->lpData, nCount, GetHaul()))));
    }
    ShowCounts();
}

void CReceiveDumpDlg::ShowCounts()
{
    const CSysExHaul& haul = GetHaul();
    const std::vector<const CDocKind*>& kinds = DocumentKinds().All();
    for (size_t k = 0; k < m_counts.size(); ++k)
        m_counts[k]->setText(
            Q(res::kReceiveCount).arg(kinds[k]->ShownCount(haul)).arg(Q(kinds[k]->Noun().szMany)));
    m_pSkipped->setText(Q(res::kReceiveSkipped).arg(haul.TotalSkips()));
}

void CReceiveDumpDlg::Stop()
{
    if (m_bStopped)
        return;
    m_bStopped = true;
    hide();
    deleteLater();
    if (m_bListening) {
        // A loss since the last look is said before what arrived is placed.
        std::string detail;
        if (m_midiIn.CheckConnection(detail))
            EndListening();
        else
            OnDeviceLost(detail, true);
    } else if (!m_bLost) {
        return; // the port never opened, and has said why
    }
    const QString& device = m_strDevice;
    if (!HaulHasEntries(GetHaul())) {
        if (m_bLost)
            return; // the loss has been said, with nothing to place
        AfxMessageBox(
            Q(res::kSysExNothingReceived).arg(device).arg(m_midiIn.m_wDeviceId).toLocal8Bit().toStdString());
    } else {
        auto* pFrame = dynamic_cast<CMDIFrameWnd*>(parentWidget());
        CDocument* pActive = pFrame ? pFrame->GetActiveDocument() : nullptr;
        // Cancel on the question places nothing, and there is nothing to sum up.
        if (const auto lines =
                PlaceHaulInWindows(m_manager, GetHaul(), pActive, device, res::kEditReceiveDump))
            AfxMessageBox(FormatSysExSummary(
                Q(res::kSysExReceivedFrom).arg(device).toLocal8Bit().toStdString(), *lines, GetHaul()));
    }
}

void CReceiveDumpDlg::closeEvent(QCloseEvent* e)
{
    // Closing the window ends the listening as Stop does.
    e->ignore();
    Stop();
}

} // namespace vantorel
