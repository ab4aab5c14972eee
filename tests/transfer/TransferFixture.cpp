#include "TransferFixture.h"

#include <QApplication>

#include "transfer/StopPreview.h"
#include "support/MessageBoxRecorder.h"
#include "support/GuiTestPeers.h"

namespace vantorel::test {

// ---------------------------------------------------------------- CRecordingService

CRecordingService::CRecordingService(CSimMidiService& inner) : m_inner(inner)
{
    m_inner.SetTrafficHook([this](CSimMidiService::EDirection dir, const std::vector<uint8_t>& bytes) {
        Record(dir == CSimMidiService::EDirection::Out ? CWireEvent::Out : CWireEvent::In, bytes);
    });
}

void CRecordingService::Record(CWireEvent::Kind kind, Bytes bytes, size_t nCount)
{
    m_events.push_back({kind, CTimerService::Get().NowUs(), std::move(bytes), nCount});
    if (m_onEvent) {
        const CWireEvent e = m_events.back(); // the callback may record more
        m_onEvent(e);
    }
}

int CRecordingService::Count(CWireEvent::Kind kind) const
{
    int n = 0;
    for (const CWireEvent& e : m_events)
        n += e.kind == kind;
    return n;
}

std::vector<Bytes> CRecordingService::Sent() const
{
    std::vector<Bytes> out;
    for (const CWireEvent& e : m_events)
        if (e.kind == CWireEvent::Out)
            out.push_back(e.bytes);
    return out;
}

std::vector<int64_t> CRecordingService::Times(CWireEvent::Kind kind) const
{
    std::vector<int64_t> out;
    for (const CWireEvent& e : m_events)
        if (e.kind == kind)
            out.push_back(e.nUs);
    return out;
}

IMidiNotify* CRecordingService::Proxy(IMidiNotify* pWindow)
{
    m_proxies.push_back(std::make_unique<CNotifyProxy>(*this, pWindow));
    return m_proxies.back().get();
}

void CRecordingService::FailCall(const std::string& name, MMRESULT result, int nAfter, int nTimes)
{
    m_failures[name] = {result, nAfter, nTimes};
}

MMRESULT CRecordingService::Injected(const std::string& name)
{
    auto it = m_failures.find(name);
    if (it == m_failures.end())
        return MMSYSERR_NOERROR;
    CFailure& f = it->second;
    if (f.nAfter > 0) {
        --f.nAfter;
        return MMSYSERR_NOERROR;
    }
    const MMRESULT result = f.result;
    if (f.nTimes > 0 && --f.nTimes == 0)
        m_failures.erase(it);
    return result;
}

MMRESULT CRecordingService::InOpen(HMIDIIN* ph, unsigned n, IMidiNotify* pWindow)
{
    Record(CWireEvent::InOpen);
    if (MMRESULT r = Injected("InOpen"))
        return r;
    return m_inner.InOpen(ph, n, Proxy(pWindow));
}

MMRESULT CRecordingService::InAddBuffer(HMIDIIN h, MIDIHDR* p)
{
    Record(CWireEvent::InAddBuffer);
    if (MMRESULT r = Injected("InAddBuffer"))
        return r;
    return m_inner.InAddBuffer(h, p);
}

MMRESULT CRecordingService::InClose(HMIDIIN h)
{
    Record(CWireEvent::InClose);
    return m_inner.InClose(h);
}

MMRESULT CRecordingService::OutOpen(HMIDIOUT* ph, unsigned n, IMidiNotify* pWindow)
{
    Record(CWireEvent::OutOpen);
    if (MMRESULT r = Injected("OutOpen"))
        return r;
    return m_inner.OutOpen(ph, n, Proxy(pWindow));
}

MMRESULT CRecordingService::OutLongMsg(HMIDIOUT h, MIDIHDR* p)
{
    if (MMRESULT r = Injected("OutLongMsg"))
        return r;
    return m_inner.OutLongMsg(h, p);
}

MMRESULT CRecordingService::OutClose(HMIDIOUT h)
{
    Record(CWireEvent::OutClose);
    return m_inner.OutClose(h);
}

void CRecordingService::CNotifyProxy::OnMidiInLongData(HMIDIIN h, MIDIHDR* p)
{
    m_owner.Record(CWireEvent::InData, {}, p ? p->dwBytesRecorded : 0);
    if (m_pWindow)
        m_pWindow->OnMidiInLongData(h, p);
}

void CRecordingService::CNotifyProxy::OnMidiOutDone(HMIDIOUT h, MIDIHDR* p)
{
    m_owner.Record(CWireEvent::OutDone);
    if (m_pWindow)
        m_pWindow->OnMidiOutDone(h, p);
}

// ---------------------------------------------------------------- CHintRecorder

void CHintRecorder::OnUpdate(CViewBase*, long, CObject* pHint)
{
    if (auto* pRect = dynamic_cast<CHintRect*>(pHint))
        m_rects.push_back(pRect->m_rect);
    else
        ++m_nWhole;
}

// ---------------------------------------------------------------- TransferTest

void TransferTest::SetUp()
{
    CTimerService::Install(&m_clock);
    m_pSim = std::make_unique<CSimMidiService>(m_device);
    m_pRecorder = std::make_unique<CRecordingService>(*m_pSim);
    CMidiService::Install(m_pRecorder.get());
    m_pBoxes = std::make_unique<CMessageBoxRecorder>(IDOK);
    SetStopPreviewHandler([this] { m_pRecorder->Record(CWireEvent::StopPreview); });
    m_previousHook = CDialogTestPeer::SetModalHook([this](CDialog* pDlg) {
        if (dynamic_cast<CCompleteDlg*>(pDlg)) {
            ++m_nCompleteShown;
            pDlg->ClickButton(IDOK);
            return;
        }
        auto* pTransfer = dynamic_cast<CTransferDlg*>(pDlg);
        if (!pTransfer || !m_bPressStart)
            return;
        pTransfer->ClickButton(IDOK);
        if (pTransfer->IsEnded())
            return;
        if (m_onTransfer)
            m_onTransfer(*pTransfer);
        else
            m_clock.RunUntil([pTransfer] { return pTransfer->IsEnded(); }, 3'600'000'000LL);
        if (!pTransfer->IsEnded()) {
            // A stuck transfer must not hang the test: cancel it and say so.
            ADD_FAILURE() << "the transfer did not end";
            pTransfer->Progress().ClickButton(IDCANCEL);
        }
    });
}

void TransferTest::TearDown()
{
    CDialogTestPeer::SetModalHook(m_previousHook);
    SetStopPreviewHandler({});
    m_pBoxes.reset();
    CMidiService::Install(nullptr);
    m_pRecorder.reset();
    m_pSim.reset();
    CTimerService::Install(nullptr);
}

Bytes AddressOf(const Bytes& msg)
{
    return msg.size() >= 10 ? Bytes(msg.begin() + 6, msg.begin() + 10) : Bytes{};
}

Bytes SizeOf(const Bytes& msg)
{
    return msg.size() >= 14 ? Bytes(msg.begin() + 10, msg.begin() + 14) : Bytes{};
}

Bytes DataOf(const Bytes& msg)
{
    return msg.size() >= 12 ? Bytes(msg.begin() + 10, msg.end() - 2) : Bytes{};
}

Bytes Filled(size_t n, uint8_t seed)
{
    Bytes b(n);
    for (size_t i = 0; i < n; ++i)
        b[i] = uint8_t((seed + i * 7) & 0x7F);
    return b;
}

} // namespace vantorel::test
