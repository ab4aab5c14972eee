#include "midi/MidiServiceBase.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "framework/core/TimerService.h"
#include "res/strings/midi.h"

namespace vantorel {

namespace {
void MarkDone(MIDIHDR* pHdr)
{
    pHdr->dwFlags = (pHdr->dwFlags & ~MHDR_INQUEUE) | MHDR_DONE;
}
} // namespace

bool CMidiServiceBase::CInSlot::Deliver(const uint8_t* bytes, size_t count)
{
    if (!IsListening())
        return false;
    if (m_queue.empty() || !bytes || count == 0)
        return true;
    MIDIHDR* pHdr = m_queue.front();
    m_queue.pop_front();
    const size_t n = std::min<size_t>(count, pHdr->dwBufferLength);
    std::memcpy(pHdr->lpData, bytes, n);
    pHdr->dwBytesRecorded = uint32_t(n);
    MarkDone(pHdr);
    if (m_pWindow)
        m_pWindow->OnMidiInLongData(m_h, pHdr);
    return IsListening();
}

bool CMidiServiceBase::CInSlot::Withdraw(MIDIHDR* pHdr)
{
    const auto it = std::find(m_queue.begin(), m_queue.end(), pHdr);
    if (it == m_queue.end())
        return false;
    m_queue.erase(it);
    return true;
}

CMidiServiceBase::~CMidiServiceBase() = default;

size_t CMidiServiceBase::ShortMessageLength(uint8_t status)
{
    if (status < 0x80)
        return 0;
    if (status < 0xF0)
        return (status & 0xE0) == 0xC0 ? 2 : 3; // program change, channel pressure
    switch (status) {
    case 0xF1:
    case 0xF3: return 2;
    case 0xF2: return 3;
    case 0xF6:
    case 0xF8:
    case 0xFA:
    case 0xFB:
    case 0xFC:
    case 0xFE:
    case 0xFF: return 1;
    default: return 0;
    }
}

MMRESULT CMidiServiceBase::FailIn(MMRESULT result, std::string text)
{
    m_lastIn = {result, std::move(text)};
    return result;
}

MMRESULT CMidiServiceBase::FailOut(MMRESULT result, std::string text)
{
    m_lastOut = {result, std::move(text)};
    return result;
}

std::string CMidiServiceBase::TextFor(const CLastError& last, MMRESULT result)
{
    if (result != MMSYSERR_NOERROR && result == last.m_result && !last.m_strText.empty())
        return last.m_strText;
    return GetMidiErrorText(result);
}

std::string CMidiServiceBase::InGetErrorText(MMRESULT result)
{
    return TextFor(m_lastIn, result);
}
std::string CMidiServiceBase::OutGetErrorText(MMRESULT result)
{
    return TextFor(m_lastOut, result);
}

CMidiServiceBase::CInSlot* CMidiServiceBase::InSlot(HMIDIIN h)
{
    const auto it = m_ins.find(h);
    return it == m_ins.end() ? nullptr : it->second.get();
}

CMidiServiceBase::COutSlot* CMidiServiceBase::OutSlot(HMIDIOUT h)
{
    const auto it = m_outs.find(h);
    return it == m_outs.end() ? nullptr : it->second.get();
}

CWirePacer* CMidiServiceBase::WireOf(HMIDIOUT h)
{
    COutSlot* p = OutSlot(h);
    return p ? &p->m_pacer : nullptr;
}

int64_t CMidiServiceBase::WireEndUs(HMIDIOUT h)
{
    const CWirePacer* pWire = WireOf(h);
    return pWire ? pWire->WireEndUs() : 0;
}

void CMidiServiceBase::ForgetAllPorts()
{
    for (auto& [h, p] : m_ins) {
        p->m_bOpen = false;
        p->m_queue.clear();
    }
    for (auto& [h, p] : m_outs)
        p->m_bOpen = false;
    m_ins.clear();
    m_outs.clear();
}

// ---------------------------------------------------------------- input

unsigned CMidiServiceBase::InGetNumDevs()
{
    return unsigned(ListInDevices().size());
}

MMRESULT CMidiServiceBase::InGetDevName(unsigned nDevice, std::string& name)
{
    const std::vector<std::string> names = ListInDevices();
    if (nDevice >= names.size()) {
        name.clear();
        return FailIn(MMSYSERR_BADDEVICEID, FormatMidiText(res::kMidiInNoSuchDevice, nDevice));
    }
    name = names[nDevice];
    return MMSYSERR_NOERROR;
}

MMRESULT CMidiServiceBase::InOpen(HMIDIIN* phIn, unsigned nDevice, IMidiNotify* pWindow)
{
    if (!phIn)
        return FailIn(MMSYSERR_INVALPARAM);
    *phIn = nullptr;
    // Handles are never reused, so that work posted for a closed handle
    // cannot reach a new one.
    const auto h = reinterpret_cast<HMIDIIN>(m_nNextHandle++);
    auto pSlot = std::make_shared<CInSlot>();
    pSlot->m_h = h;
    pSlot->m_pWindow = pWindow;
    if (const MMRESULT r = OpenInDevice(h, nDevice, pSlot))
        return r;
    m_ins.emplace(h, std::move(pSlot));
    *phIn = h;
    return MMSYSERR_NOERROR;
}

MMRESULT CMidiServiceBase::InReset(HMIDIIN h)
{
    CInSlot* p = InSlot(h);
    if (!p)
        return FailIn(MMSYSERR_INVALHANDLE);
    p->m_bStarted = false;
    RestartInDevice(h);
    // Every queued buffer comes back empty, while the port is still open.
    std::weak_ptr<CInSlot> pWeak = m_ins[h];
    for (MIDIHDR* pHdr : p->m_queue) {
        pHdr->dwBytesRecorded = 0;
        MarkDone(pHdr);
        CTimerService::Get().Post([pWeak, pHdr] {
            const auto pSlot = pWeak.lock();
            if (pSlot && pSlot->m_bOpen && pSlot->m_pWindow)
                pSlot->m_pWindow->OnMidiInLongData(pSlot->m_h, pHdr);
        });
    }
    p->m_queue.clear();
    return MMSYSERR_NOERROR;
}

MMRESULT CMidiServiceBase::InPrepareHeader(HMIDIIN h, MIDIHDR* pHdr)
{
    if (!InSlot(h))
        return FailIn(MMSYSERR_INVALHANDLE);
    if (!pHdr || !pHdr->lpData || pHdr->dwBufferLength == 0)
        return FailIn(MMSYSERR_INVALPARAM);
    pHdr->dwFlags |= MHDR_PREPARED;
    return MMSYSERR_NOERROR;
}

MMRESULT CMidiServiceBase::InAddBuffer(HMIDIIN h, MIDIHDR* pHdr)
{
    CInSlot* p = InSlot(h);
    if (!p)
        return FailIn(MMSYSERR_INVALHANDLE);
    if (!pHdr || !pHdr->lpData || pHdr->dwBufferLength == 0)
        return FailIn(MMSYSERR_INVALPARAM);
    if (!(pHdr->dwFlags & MHDR_PREPARED))
        return FailIn(MIDIERR_UNPREPARED);
    if (pHdr->dwFlags & MHDR_INQUEUE)
        return FailIn(MIDIERR_STILLPLAYING);
    pHdr->dwBytesRecorded = 0;
    pHdr->dwFlags = (pHdr->dwFlags & ~MHDR_DONE) | MHDR_INQUEUE;
    p->m_queue.push_back(pHdr);
    return MMSYSERR_NOERROR;
}

MMRESULT CMidiServiceBase::InStart(HMIDIIN h)
{
    CInSlot* p = InSlot(h);
    if (!p)
        return FailIn(MMSYSERR_INVALHANDLE);
    if (!p->m_bStarted)
        RestartInDevice(h);
    p->m_bStarted = true;
    return MMSYSERR_NOERROR;
}

MMRESULT CMidiServiceBase::InStop(HMIDIIN h)
{
    CInSlot* p = InSlot(h);
    if (!p)
        return FailIn(MMSYSERR_INVALHANDLE);
    p->m_bStarted = false;
    RestartInDevice(h);
    return MMSYSERR_NOERROR;
}

MMRESULT CMidiServiceBase::InUnprepareHeader(HMIDIIN h, MIDIHDR* pHdr)
{
    if (!InSlot(h))
        return FailIn(MMSYSERR_INVALHANDLE);
    if (!pHdr)
        return FailIn(MMSYSERR_INVALPARAM);
    if (pHdr->dwFlags & MHDR_INQUEUE)
        return FailIn(MIDIERR_STILLPLAYING);
    pHdr->dwFlags &= ~MHDR_PREPARED;
    return MMSYSERR_NOERROR;
}

MMRESULT CMidiServiceBase::InClose(HMIDIIN h)
{
    const auto it = m_ins.find(h);
    if (it == m_ins.end())
        return FailIn(MMSYSERR_INVALHANDLE);
    // Closing always succeeds: buffers still queued are let go, so that no
    // header outlives its port inside the service.
    CInSlot& slot = *it->second;
    slot.m_bOpen = false;
    for (MIDIHDR* pHdr : slot.m_queue)
        pHdr->dwFlags &= ~MHDR_INQUEUE;
    slot.m_queue.clear();
    CloseInDevice(h);
    m_ins.erase(it);
    return MMSYSERR_NOERROR;
}

MMRESULT CMidiServiceBase::InCheckConnection(HMIDIIN h)
{
    if (!InSlot(h))
        return FailIn(MMSYSERR_INVALHANDLE);
    return CheckInDevice(h);
}

// ---------------------------------------------------------------- output

unsigned CMidiServiceBase::OutGetNumDevs()
{
    return unsigned(ListOutDevices().size());
}

MMRESULT CMidiServiceBase::OutGetDevName(unsigned nDevice, std::string& name)
{
    const std::vector<std::string> names = ListOutDevices();
    if (nDevice >= names.size()) {
        name.clear();
        return FailOut(MMSYSERR_BADDEVICEID, FormatMidiText(res::kMidiOutNoSuchDevice, nDevice));
    }
    name = names[nDevice];
    return MMSYSERR_NOERROR;
}

MMRESULT CMidiServiceBase::OutOpen(HMIDIOUT* phOut, unsigned nDevice, IMidiNotify* pWindow)
{
    if (!phOut)
        return FailOut(MMSYSERR_INVALPARAM);
    *phOut = nullptr;
    const auto h = reinterpret_cast<HMIDIOUT>(m_nNextHandle++);
    auto pSlot = std::make_shared<COutSlot>();
    pSlot->m_pWindow = pWindow;
    pSlot->m_pacer.Reset(CTimerService::Get().NowUs());
    // In the table first: the backend may ask for the port's wire.
    m_outs.emplace(h, std::move(pSlot));
    if (const MMRESULT r = OpenOutDevice(h, nDevice)) {
        m_outs.erase(h);
        return r;
    }
    *phOut = h;
    return MMSYSERR_NOERROR;
}

MMRESULT CMidiServiceBase::OutShortMsg(HMIDIOUT h, uint32_t dwMsg)
{
    if (!OutSlot(h))
        return FailOut(MMSYSERR_INVALHANDLE);
    const std::array<uint8_t, 3> bytes{uint8_t(dwMsg), uint8_t(dwMsg >> 8), uint8_t(dwMsg >> 16)};
    const size_t n = ShortMessageLength(bytes[0]);
    if (n == 0)
        return FailOut(MMSYSERR_INVALPARAM);
    if (const MMRESULT r = SendOut(h, bytes.data(), n))
        return r;
    if (CWirePacer* pWire = WireOf(h))
        pWire->Schedule(CTimerService::Get().NowUs(), n);
    return MMSYSERR_NOERROR;
}

MMRESULT CMidiServiceBase::OutPrepareHeader(HMIDIOUT h, MIDIHDR* pHdr)
{
    if (!OutSlot(h))
        return FailOut(MMSYSERR_INVALHANDLE);
    if (!pHdr || (!pHdr->lpData && pHdr->dwBufferLength))
        return FailOut(MMSYSERR_INVALPARAM);
    pHdr->dwFlags |= MHDR_PREPARED;
    return MMSYSERR_NOERROR;
}

MMRESULT CMidiServiceBase::OutLongMsg(HMIDIOUT h, MIDIHDR* pHdr)
{
    const auto it = m_outs.find(h);
    if (it == m_outs.end())
        return FailOut(MMSYSERR_INVALHANDLE);
    if (!pHdr || (!pHdr->lpData && pHdr->dwBufferLength))
        return FailOut(MMSYSERR_INVALPARAM);
    if (!(pHdr->dwFlags & MHDR_PREPARED))
        return FailOut(MIDIERR_UNPREPARED);
    if (pHdr->dwFlags & MHDR_INQUEUE)
        return FailOut(MIDIERR_STILLPLAYING);
    const size_t n = pHdr->dwBufferLength;
    if (n)
        if (const MMRESULT r = SendOut(h, pHdr->lpData, n))
            return r;
    // The bytes are the service's now: the header may be released and
    // reused before the message has left the wire.
    std::vector<uint8_t> bytes(pHdr->lpData, pHdr->lpData + n);
    pHdr->dwFlags = (pHdr->dwFlags & ~MHDR_DONE) | MHDR_INQUEUE;
    // "Done" when the message has left the wire, not when it was taken.
    CTimerService& timer = CTimerService::Get();
    CWirePacer* pWire = WireOf(h);
    const int64_t delayUs = pWire ? pWire->Schedule(timer.NowUs(), n) : 0;
    std::weak_ptr<int> alive = m_pAlive;
    std::weak_ptr<COutSlot> pWeak = it->second;
    timer.Post(
        [this, alive, pWeak, h, pHdr, bytes = std::move(bytes)] {
            if (!alive.lock())
                return;
            OnOffWire(h, bytes);
            const auto pSlot = pWeak.lock();
            if (!pSlot || !pSlot->m_bOpen)
                return;
            MarkDone(pHdr);
            if (pSlot->m_pWindow)
                pSlot->m_pWindow->OnMidiOutDone(h, pHdr);
        },
        delayUs);
    return MMSYSERR_NOERROR;
}

MMRESULT CMidiServiceBase::OutUnprepareHeader(HMIDIOUT h, MIDIHDR* pHdr)
{
    if (!OutSlot(h))
        return FailOut(MMSYSERR_INVALHANDLE);
    if (!pHdr)
        return FailOut(MMSYSERR_INVALPARAM);
    // The bytes were taken when the message was sent, so a header whose
    // message is still on the wire may be released.
    pHdr->dwFlags &= ~MHDR_PREPARED;
    return MMSYSERR_NOERROR;
}

MMRESULT CMidiServiceBase::OutReset(HMIDIOUT h)
{
    if (!OutSlot(h))
        return FailOut(MMSYSERR_INVALHANDLE);
    ResetOutDevice(h);
    return MMSYSERR_NOERROR;
}

MMRESULT CMidiServiceBase::OutClose(HMIDIOUT h)
{
    const auto it = m_outs.find(h);
    if (it == m_outs.end())
        return FailOut(MMSYSERR_INVALHANDLE);
    ResetOutDevice(h);
    it->second->m_bOpen = false;
    CloseOutDevice(h);
    m_outs.erase(h);
    return MMSYSERR_NOERROR;
}

} // namespace vantorel
