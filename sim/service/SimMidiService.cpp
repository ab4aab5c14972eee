#include "sim/service/SimMidiService.h"

#include <algorithm>
#include <cstring>

#include "framework/core/TimerService.h"
#include "midi/msg/SysEx.h"
#include "res/strings/midi.h"
#include "res/strings/sim.h"

namespace vantorel {

namespace {

// Bytes of a short message by its status: two for program change, channel
// pressure and the two-byte system messages, one for the rest of the system
// messages, three otherwise.
size_t ShortMessageLength(uint8_t status)
{
    if (status < 0x80)
        return 0;
    if (status >= 0xC0 && status <= 0xDF)
        return 2;
    if (status == 0xF1 || status == 0xF3)
        return 2;
    if (status == 0xF2)
        return 3;
    if (status >= 0xF0)
        return 1;
    return 3;
}

} // namespace

CSimMidiService::CSimMidiService(CSimDevice& device) : m_device(device) {}

CSimMidiService::~CSimMidiService() = default;

MMRESULT CSimMidiService::FailIn(MMRESULT result, std::string text)
{
    m_lastIn.m_result = result;
    m_lastIn.m_strText = std::move(text);
    return result;
}

MMRESULT CSimMidiService::FailOut(MMRESULT result, std::string text)
{
    m_lastOut.m_result = result;
    m_lastOut.m_strText = std::move(text);
    return result;
}

std::string CSimMidiService::InGetErrorText(MMRESULT result)
{
    if (result != MMSYSERR_NOERROR && result == m_lastIn.m_result && !m_lastIn.m_strText.empty())
        return m_lastIn.m_strText;
    return GetMidiErrorText(result);
}

std::string CSimMidiService::OutGetErrorText(MMRESULT result)
{
    if (result != MMSYSERR_NOERROR && result == m_lastOut.m_result && !m_lastOut.m_strText.empty())
        return m_lastOut.m_strText;
    return GetMidiErrorText(result);
}

void CSimMidiService::Schedule(std::function<void()> fn, int64_t delayUs)
{
    std::weak_ptr<int> alive = m_pAlive;
    CTimerService::Get().Post(
        [alive, fn = std::move(fn)] {
            if (alive.lock())
                fn();
        },
        std::max<int64_t>(delayUs, 0));
}

// ---------------------------------------------------------------- input

MMRESULT CSimMidiService::InGetDevName(unsigned nDevice, std::string& name)
{
    if (nDevice != 0) {
        name.clear();
        return FailIn(MMSYSERR_BADDEVICEID, FormatMidiText(res::kMidiInNoSuchDevice, nDevice));
    }
    name = kDeviceName;
    return MMSYSERR_NOERROR;
}

MMRESULT CSimMidiService::InOpen(HMIDIIN* phIn, unsigned nDevice, IMidiNotify* pWindow)
{
    if (!phIn)
        return FailIn(MMSYSERR_INVALPARAM);
    *phIn = nullptr;
    if (nDevice != 0)
        return FailIn(MMSYSERR_BADDEVICEID, FormatMidiText(res::kMidiInNoSuchDevice, nDevice));
    if (m_hIn)
        return FailIn(MMSYSERR_ALLOCATED, FormatMidiText(res::kSimInBusy, nDevice));
    // Handles are never reused, so that work posted for a closed handle can
    // tell it is stale.
    m_hIn = reinterpret_cast<HMIDIIN>(m_nNextHandle);
    m_nNextHandle += 0x10;
    m_pInWindow = pWindow;
    m_bStarted = false;
    m_inQueue.clear();
    *phIn = m_hIn;
    return MMSYSERR_NOERROR;
}

MMRESULT CSimMidiService::InReset(HMIDIIN h)
{
    if (!h || h != m_hIn)
        return FailIn(MMSYSERR_INVALHANDLE);
    m_bStarted = false;
    // Every queued buffer comes back empty.
    for (MIDIHDR* pHdr : m_inQueue) {
        pHdr->dwBytesRecorded = 0;
        pHdr->dwFlags = (pHdr->dwFlags & ~MHDR_INQUEUE) | MHDR_DONE;
        Schedule(
            [this, h, pHdr] {
                if (m_hIn == h && m_pInWindow)
                    m_pInWindow->OnMidiInLongData(h, pHdr);
            },
            0);
    }
    m_inQueue.clear();
    return MMSYSERR_NOERROR;
}

MMRESULT CSimMidiService::InPrepareHeader(HMIDIIN h, MIDIHDR* pHdr)
{
    if (!h || h != m_hIn)
        return FailIn(MMSYSERR_INVALHANDLE);
    if (!pHdr || !pHdr->lpData || pHdr->dwBufferLength == 0)
        return FailIn(MMSYSERR_INVALPARAM);
    pHdr->dwFlags |= MHDR_PREPARED;
    return MMSYSERR_NOERROR;
}

MMRESULT CSimMidiService::InAddBuffer(HMIDIIN h, MIDIHDR* pHdr)
{
    if (!h || h != m_hIn)
        return FailIn(MMSYSERR_INVALHANDLE);
    if (!pHdr || !pHdr->lpData || pHdr->dwBufferLength == 0)
        return FailIn(MMSYSERR_INVALPARAM);
    if (!(pHdr->dwFlags & MHDR_PREPARED))
        return FailIn(MIDIERR_UNPREPARED);
    if (pHdr->dwFlags & MHDR_INQUEUE)
        return FailIn(MIDIERR_STILLPLAYING);
    pHdr->dwBytesRecorded = 0;
    pHdr->dwFlags = (pHdr->dwFlags & ~MHDR_DONE) | MHDR_INQUEUE;
    m_inQueue.push_back(pHdr);
    return MMSYSERR_NOERROR;
}

MMRESULT CSimMidiService::InStart(HMIDIIN h)
{
    if (!h || h != m_hIn)
        return FailIn(MMSYSERR_INVALHANDLE);
    m_bStarted = true;
    return MMSYSERR_NOERROR;
}

MMRESULT CSimMidiService::InStop(HMIDIIN h)
{
    if (!h || h != m_hIn)
        return FailIn(MMSYSERR_INVALHANDLE);
    m_bStarted = false;
    return MMSYSERR_NOERROR;
}

MMRESULT CSimMidiService::InUnprepareHeader(HMIDIIN h, MIDIHDR* pHdr)
{
    if (!h || h != m_hIn)
        return FailIn(MMSYSERR_INVALHANDLE);
    if (!pHdr)
        return FailIn(MMSYSERR_INVALPARAM);
    if (pHdr->dwFlags & MHDR_INQUEUE)
        return FailIn(MIDIERR_STILLPLAYING);
    pHdr->dwFlags &= ~MHDR_PREPARED;
    return MMSYSERR_NOERROR;
}

MMRESULT CSimMidiService::InClose(HMIDIIN h)
{
    if (!h || h != m_hIn)
        return FailIn(MMSYSERR_INVALHANDLE);
    // Closing always succeeds: buffers still queued are forgotten, so that
    // no header outlives its port inside the service.
    for (MIDIHDR* pHdr : m_inQueue)
        pHdr->dwFlags &= ~MHDR_INQUEUE;
    m_inQueue.clear();
    m_hIn = nullptr;
    m_pInWindow = nullptr;
    m_bStarted = false;
    return MMSYSERR_NOERROR;
}

void CSimMidiService::QueueIncoming(std::vector<uint8_t> bytes, int64_t startUs)
{
    const int64_t nowUs = CTimerService::Get().NowUs();
    int64_t arriveUs = std::max(startUs, nowUs);
    if (m_bWireSpeed) {
        // One message after another on the device's own output wire.
        arriveUs = std::max(arriveUs, m_nInWireFreeUs) + int64_t(bytes.size()) * sim::kWireUsPerByte;
        m_nInWireFreeUs = arriveUs;
    }
    Schedule([this, b = std::move(bytes)] { Arrive(b); }, arriveUs - nowUs);
}

void CSimMidiService::SendFromDevice(std::vector<uint8_t> bytes, int64_t delayUs)
{
    QueueIncoming(std::move(bytes), CTimerService::Get().NowUs() + std::max<int64_t>(delayUs, 0));
}

void CSimMidiService::Arrive(const std::vector<uint8_t>& bytes)
{
    if (m_trafficHook)
        m_trafficHook(EDirection::In, bytes);
    // As with a driver: nothing is recorded unless the input runs with a
    // buffer waiting; a message longer than the buffer fills it and the rest
    // is lost.
    if (!m_hIn || !m_bStarted || m_inQueue.empty() || bytes.empty())
        return;
    MIDIHDR* pHdr = m_inQueue.front();
    m_inQueue.pop_front();
    const size_t n = std::min<size_t>(bytes.size(), pHdr->dwBufferLength);
    std::memcpy(pHdr->lpData, bytes.data(), n);
    pHdr->dwBytesRecorded = uint32_t(n);
    pHdr->dwFlags = (pHdr->dwFlags & ~MHDR_INQUEUE) | MHDR_DONE;
    if (m_pInWindow)
        m_pInWindow->OnMidiInLongData(m_hIn, pHdr);
}

// ---------------------------------------------------------------- output

MMRESULT CSimMidiService::OutGetDevName(unsigned nDevice, std::string& name)
{
    if (nDevice != 0) {
        name.clear();
        return FailOut(MMSYSERR_BADDEVICEID, FormatMidiText(res::kMidiOutNoSuchDevice, nDevice));
    }
    name = kDeviceName;
    return MMSYSERR_NOERROR;
}

MMRESULT CSimMidiService::OutOpen(HMIDIOUT* phOut, unsigned nDevice, IMidiNotify* pWindow)
{
    if (!phOut)
        return FailOut(MMSYSERR_INVALPARAM);
    *phOut = nullptr;
    if (nDevice != 0)
        return FailOut(MMSYSERR_BADDEVICEID, FormatMidiText(res::kMidiOutNoSuchDevice, nDevice));
    const auto h = reinterpret_cast<HMIDIOUT>(m_nNextHandle);
    m_nNextHandle += 0x10;
    m_outs[h].m_pWindow = pWindow;
    *phOut = h;
    return MMSYSERR_NOERROR;
}

int64_t CSimMidiService::OutWireDelay(size_t nBytes)
{
    const int64_t nowUs = CTimerService::Get().NowUs();
    if (!m_bWireSpeed)
        return 0;
    m_nOutWireFreeUs = std::max(m_nOutWireFreeUs, nowUs) + int64_t(nBytes) * sim::kWireUsPerByte;
    return m_nOutWireFreeUs - nowUs;
}

MMRESULT CSimMidiService::OutShortMsg(HMIDIOUT h, uint32_t dwMsg)
{
    if (!m_outs.count(h))
        return FailOut(MMSYSERR_INVALHANDLE);
    const uint8_t status = uint8_t(dwMsg);
    const size_t n = ShortMessageLength(status);
    if (n == 0)
        return FailOut(MMSYSERR_INVALPARAM);
    std::vector<uint8_t> bytes = {status, uint8_t(dwMsg >> 8), uint8_t(dwMsg >> 16)};
    bytes.resize(n);
    if (m_trafficHook)
        m_trafficHook(EDirection::Out, bytes);
    OutWireDelay(n);
    return MMSYSERR_NOERROR;
}

MMRESULT CSimMidiService::OutPrepareHeader(HMIDIOUT h, MIDIHDR* pHdr)
{
    if (!m_outs.count(h))
        return FailOut(MMSYSERR_INVALHANDLE);
    if (!pHdr || !pHdr->lpData)
        return FailOut(MMSYSERR_INVALPARAM);
    pHdr->dwFlags |= MHDR_PREPARED;
    return MMSYSERR_NOERROR;
}

MMRESULT CSimMidiService::OutLongMsg(HMIDIOUT h, MIDIHDR* pHdr)
{
    if (!m_outs.count(h))
        return FailOut(MMSYSERR_INVALHANDLE);
    if (!pHdr || !pHdr->lpData || pHdr->dwBufferLength == 0)
        return FailOut(MMSYSERR_INVALPARAM);
    if (!(pHdr->dwFlags & MHDR_PREPARED))
        return FailOut(MIDIERR_UNPREPARED);
    if (pHdr->dwFlags & MHDR_INQUEUE)
        return FailOut(MIDIERR_STILLPLAYING);

    // The driver takes its own copy: the header may be released and reused
    // before the message has left the wire.
    std::vector<uint8_t> bytes(pHdr->lpData, pHdr->lpData + pHdr->dwBufferLength);
    pHdr->dwFlags = (pHdr->dwFlags & ~MHDR_DONE) | MHDR_INQUEUE;
    if (m_trafficHook)
        m_trafficHook(EDirection::Out, bytes);
    const int64_t delayUs = OutWireDelay(bytes.size());
    Schedule(
        [this, h, pHdr, b = std::move(bytes)] {
            // The device has the whole message now; its answers start from here.
            const int64_t nowUs = CTimerService::Get().NowUs();
            for (CSimAnswer& answer : m_device.Receive(b))
                QueueIncoming(std::move(answer.m_bytes), nowUs + answer.m_nDelayUs);
            const auto it = m_outs.find(h);
            if (it == m_outs.end())
                return;
            pHdr->dwFlags = (pHdr->dwFlags & ~MHDR_INQUEUE) | MHDR_DONE;
            if (it->second.m_pWindow)
                it->second.m_pWindow->OnMidiOutDone(h, pHdr);
        },
        delayUs);
    return MMSYSERR_NOERROR;
}

MMRESULT CSimMidiService::OutUnprepareHeader(HMIDIOUT h, MIDIHDR* pHdr)
{
    if (!m_outs.count(h))
        return FailOut(MMSYSERR_INVALHANDLE);
    if (!pHdr)
        return FailOut(MMSYSERR_INVALPARAM);
    // The bytes were copied when the message was sent, so a header whose
    // message is still on the wire may be released.
    pHdr->dwFlags &= ~MHDR_PREPARED;
    return MMSYSERR_NOERROR;
}

MMRESULT CSimMidiService::OutReset(HMIDIOUT h)
{
    if (!m_outs.count(h))
        return FailOut(MMSYSERR_INVALHANDLE);
    return MMSYSERR_NOERROR;
}

MMRESULT CSimMidiService::OutClose(HMIDIOUT h)
{
    if (!m_outs.erase(h))
        return FailOut(MMSYSERR_INVALHANDLE);
    return MMSYSERR_NOERROR;
}

} // namespace vantorel
