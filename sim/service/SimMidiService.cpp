#include "sim/service/SimMidiService.h"

#include <algorithm>

#include "framework/core/TimerService.h"
#include "midi/msg/SysEx.h"
#include "res/strings/midi.h"
#include "res/strings/sim.h"

namespace vantorel {

CSimMidiService::CSimMidiService(CSimDevice& device) : CMidiServiceBase(0x5100), m_device(device) {}

CSimMidiService::~CSimMidiService()
{
    ForgetAllPorts();
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

MMRESULT CSimMidiService::OpenInDevice(HMIDIIN, unsigned nDevice, const std::shared_ptr<CInSlot>& slot)
{
    if (nDevice != 0)
        return FailIn(MMSYSERR_BADDEVICEID, FormatMidiText(res::kMidiInNoSuchDevice, nDevice));
    if (m_pIn)
        return FailIn(MMSYSERR_ALLOCATED, FormatMidiText(res::kSimInBusy, nDevice));
    m_pIn = slot;
    return MMSYSERR_NOERROR;
}

void CSimMidiService::CloseInDevice(HMIDIIN)
{
    m_pIn.reset();
}

void CSimMidiService::QueueIncoming(std::vector<uint8_t> bytes, int64_t startUs)
{
    const int64_t nowUs = CTimerService::Get().NowUs();
    int64_t arriveUs = std::max(startUs, nowUs);
    if (m_bWireSpeed) // one message after another on the device's own output wire
        arriveUs += m_inWire.Schedule(arriveUs, bytes.size());
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
    // As with a driver: a message longer than the buffer fills it and the
    // rest is lost.
    if (m_pIn)
        m_pIn->Deliver(bytes.data(), bytes.size());
}

// ---------------------------------------------------------------- output

MMRESULT CSimMidiService::OpenOutDevice(HMIDIOUT, unsigned nDevice)
{
    if (nDevice != 0)
        return FailOut(MMSYSERR_BADDEVICEID, FormatMidiText(res::kMidiOutNoSuchDevice, nDevice));
    return MMSYSERR_NOERROR;
}

CWirePacer* CSimMidiService::WireOf(HMIDIOUT)
{
    return m_bWireSpeed ? &m_outWire : nullptr;
}

MMRESULT CSimMidiService::SendOut(HMIDIOUT, const uint8_t* bytes, size_t count)
{
    if (m_trafficHook)
        m_trafficHook(EDirection::Out, std::vector<uint8_t>(bytes, bytes + count));
    return MMSYSERR_NOERROR;
}

void CSimMidiService::OnOffWire(HMIDIOUT, const std::vector<uint8_t>& bytes)
{
    if (bytes.empty())
        return;
    // The device has the whole message now; its answers start from here.
    const int64_t nowUs = CTimerService::Get().NowUs();
    for (CSimAnswer& answer : m_device.Receive(bytes))
        QueueIncoming(std::move(answer.m_bytes), nowUs + answer.m_nDelayUs);
}

} // namespace vantorel
