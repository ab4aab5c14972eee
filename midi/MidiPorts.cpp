#include "midi/MidiPorts.h"

#include <cstring>
#include <new>

#include "framework/MessageBox.h"
#include "midi/SysEx.h"
#include "res/Strings.h"
#include "res/strings/midi.h"

namespace vantorel {

namespace {

bool g_bFailAllocation = false;

constexpr uint32_t kShortDataShift1 = 8;
constexpr uint32_t kShortDataShift2 = 16;

// Shows the service's text for a failed call; true when the call succeeded.
bool CheckIn(MMRESULT result)
{
    if (result == MMSYSERR_NOERROR)
        return true;
    AfxMessageBox(CMidiService::Get().InGetErrorText(result), MB_OK);
    return false;
}

bool CheckOut(MMRESULT result)
{
    if (result == MMSYSERR_NOERROR)
        return true;
    AfxMessageBox(CMidiService::Get().OutGetErrorText(result), MB_OK);
    return false;
}

} // namespace

void SetPortAllocationFailureForTest(bool bFail) { g_bFailAllocation = bFail; }

MIDIHDR* CPortBuffer::Allocate()
{
    if (!g_bFailAllocation) {
        m_pHeader.reset(new (std::nothrow) MIDIHDR{});
        m_pData.reset(new (std::nothrow) uint8_t[sysex::kPortBufferSize]{});
    }
    if (!m_pHeader || !m_pData) {
        m_pHeader.reset();
        m_pData.reset();
        AfxMessageBox(res::kCantAllocateHeader, MB_OK);
        return nullptr;
    }
    m_pHeader->lpData = m_pData.get();
    m_pHeader->dwBufferLength = uint32_t(sysex::kPortBufferSize);
    m_pHeader->dwFlags = 0;
    return m_pHeader.get();
}

// ---------------------------------------------------------------- input

CMidiIn::CMidiIn() { m_pHeader = m_buffer.Allocate(); }

CMidiIn::~CMidiIn()
{
    if (m_hMidiIn) {
        CMidiService& s = CMidiService::Get();
        // Stop, Reset, Unprepare, Close; the first failure ends it.
        (void)(CheckIn(s.InStop(m_hMidiIn)) && CheckIn(s.InReset(m_hMidiIn)) &&
               (!m_pHeader || CheckIn(s.InUnprepareHeader(m_hMidiIn, m_pHeader))) &&
               CheckIn(s.InClose(m_hMidiIn)));
        m_hMidiIn = nullptr;
    }
}

bool CMidiIn::Open(IMidiNotify* pWnd)
{
    if (m_hMidiIn)
        Close();
    if (m_pHeader)
        m_pHeader->dwFlags = 0;
    CMidiService& s = CMidiService::Get();
    HMIDIIN h = nullptr;
    if (!CheckIn(s.InOpen(&h, m_wDeviceId, pWnd)))
        return false;
    // The device is open from here on, even if the rest fails.
    m_hMidiIn = h;
    if (!CheckIn(s.InReset(h)))
        return false;
    if (m_pHeader && !(CheckIn(s.InPrepareHeader(h, m_pHeader)) && CheckIn(s.InAddBuffer(h, m_pHeader))))
        return false;
    return CheckIn(s.InStart(h)) && m_pHeader;
}

bool CMidiIn::Requeue()
{
    if (!m_pHeader)
        return false;
    CMidiService& s = CMidiService::Get();
    return CheckIn(s.InPrepareHeader(m_hMidiIn, m_pHeader)) && CheckIn(s.InAddBuffer(m_hMidiIn, m_pHeader));
}

bool CMidiIn::Close()
{
    // No test of the handle: closing a port that never opened reports the
    // service's answer to the first call.
    CMidiService& s = CMidiService::Get();
    const HMIDIIN h = m_hMidiIn;
    m_hMidiIn = nullptr;
    return CheckIn(s.InStop(h)) && CheckIn(s.InReset(h)) &&
           (!m_pHeader || CheckIn(s.InUnprepareHeader(h, m_pHeader))) && CheckIn(s.InClose(h));
}

// ---------------------------------------------------------------- output

CMidiOut::CMidiOut() { m_pHeader = m_buffer.Allocate(); }

CMidiOut::~CMidiOut()
{
    if (m_hMidiOut) {
        CMidiService& s = CMidiService::Get();
        // Reset first here (Close unprepares first): a message still in
        // flight is cut off before its header is released.
        (void)(CheckOut(s.OutReset(m_hMidiOut)) &&
               (!m_pHeader || CheckOut(s.OutUnprepareHeader(m_hMidiOut, m_pHeader))) &&
               CheckOut(s.OutClose(m_hMidiOut)));
        m_hMidiOut = nullptr;
    }
}

bool CMidiOut::Open(IMidiNotify* pWnd)
{
    if (m_hMidiOut)
        Close();
    HMIDIOUT h = nullptr;
    if (!CheckOut(CMidiService::Get().OutOpen(&h, m_wDeviceId, pWnd)))
        return false;
    m_hMidiOut = h;
    return true;
}

bool CMidiOut::ShortMessage(uint8_t status, uint8_t data1, uint8_t data2)
{
    const uint32_t dwMsg = uint32_t(status) | (uint32_t(data1) << kShortDataShift1) |
                           (uint32_t(data2) << kShortDataShift2);
    return CheckOut(CMidiService::Get().OutShortMsg(m_hMidiOut, dwMsg));
}

bool CMidiOut::LongMessage(const uint8_t* bytes, size_t count)
{
    if (!m_pHeader || (!bytes && count))
        return false;
    if (count > sysex::kPortBufferSize) {
        AfxMessageBox(FormatMidiText(res::kLongMessageTooLong, static_cast<long long>(count)), MB_OK);
        return false;
    }
    if (count)
        std::memcpy(m_pHeader->lpData, bytes, count);
    m_pHeader->dwBufferLength = uint32_t(count);
    m_pHeader->dwUser = reinterpret_cast<uintptr_t>(m_pHeader->lpData);
    m_pHeader->dwFlags = 0;
    CMidiService& s = CMidiService::Get();
    return CheckOut(s.OutPrepareHeader(m_hMidiOut, m_pHeader)) && CheckOut(s.OutLongMsg(m_hMidiOut, m_pHeader));
}

bool CMidiOut::LongMessage(const CSysExMessage& msg) { return LongMessage(msg.data(), msg.size()); }

bool CMidiOut::SendDataRequest(uint32_t address, uint32_t size)
{
    const std::vector<uint8_t> bytes = BuildDataRequest(address, size);
    return LongMessage(bytes.data(), bytes.size());
}

bool CMidiOut::SendDataSet(uint32_t address, const uint8_t* data, size_t count)
{
    if (count > sysex::kMaxDataSetBody) {
        AfxMessageBox(FormatMidiText(res::kDataSetTooLong, static_cast<long long>(count)), MB_OK);
        return false;
    }
    const std::vector<uint8_t> bytes = BuildDataSet(address, data, count);
    return LongMessage(bytes.data(), bytes.size());
}

bool CMidiOut::ReleaseHeader(HMIDIOUT hOut, MIDIHDR* pHeader)
{
    if (!pHeader)
        return false;
    return CheckOut(CMidiService::Get().OutUnprepareHeader(hOut, pHeader));
}

bool CMidiOut::Close()
{
    CMidiService& s = CMidiService::Get();
    const HMIDIOUT h = m_hMidiOut;
    m_hMidiOut = nullptr;
    return (!m_pHeader || CheckOut(s.OutUnprepareHeader(h, m_pHeader))) && CheckOut(s.OutReset(h)) &&
           CheckOut(s.OutClose(h));
}

} // namespace vantorel
