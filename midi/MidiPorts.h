#pragma once
// One MIDI input or output device each, with one 512-byte long-message buffer.
// A failing service call is shown in a message box that names the device as
// the user chose it in MIDI Setup; what follows from the same failure (the
// rest of a close, a send on a port that never opened) is not shown again.
// The bool results tell owners that must end a sequence when a port fails;
// the call sequences are those of the ports as documented.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "midi/MidiService.h"

namespace vantorel {

class CSysExMessage;

// The port's only buffer: the header and the 512 bytes it points at. Empty
// when the allocation failed; the port then skips every call that would take
// the header.
struct CPortBuffer {
    std::unique_ptr<MIDIHDR> m_pHeader;
    std::unique_ptr<uint8_t[]> m_pData;
    MIDIHDR* Allocate();
};

// One failure, one box: the first failure is shown, the ones that follow are
// kept quiet until the alarm is cleared. Ports that work together (the two of
// a Get) may share one.
class CPortAlarm {
public:
    // Shows text unless the alarm is raised already; true when it was shown.
    bool Raise(const std::string& text);
    void Clear() { m_bRaised = false; }
    bool IsRaised() const { return m_bRaised; }
    // True while its box is up: the box's modal loop still runs timers.
    bool IsShowing() const { return m_nShowing > 0; }

private:
    bool m_bRaised = false;
    int m_nShowing = 0;
};

// The device as the user knows it: the listed name, else the name stored with
// the MIDI Setup choice, else a plain "The MIDI input" or "The MIDI output".
std::string GetPortDeviceName(bool bInput, uint16_t nDevice);
// "%1" becomes the device's name, "%2" its number, "%3" detail.
std::string FormatPortText(const char* szPattern, const std::string& strName, uint16_t nDevice,
                           const std::string& detail = {});
std::string FormatPortText(const char* szPattern, bool bInput, uint16_t nDevice,
                           const std::string& detail = {});

// Which device a port opens: a number and, when the user chose it by name,
// that name. A port with a name looks it up again at every Open: it opens the
// device wherever that name is listed now (port numbers move), and nothing
// when it is listed nowhere, even if another device now has the number.
class CPortDevice {
public:
    uint16_t m_wDeviceId = 0;
    std::string m_strDeviceName; // empty: the number alone

    // The device chosen in MIDI Setup for this direction, at its number now.
    void UseChosenDevice();
    void SetDevice(uint16_t nDevice, std::string strName);
    // The name messages give the device.
    std::string DeviceName() const;
    // Listed now: found by its name, or at its number when it has none.
    bool IsAvailable() const;
    // "<name> (device <n>) is not available. ..."
    std::string NotAvailableText() const;

protected:
    explicit CPortDevice(bool bInput) : m_bInput(bInput) {}
    // Finds the name again and moves m_wDeviceId to it; false when the name
    // is listed nowhere. A port without a name leaves it to the service.
    bool LocateNamedDevice();

private:
    bool m_bInput;
};

// Where each port's buffer comes from: the heap, unless another source is
// put in (null puts the heap back). A source that leaves the buffer empty
// makes the allocation fail.
using PortBufferSource = void (*)(CPortBuffer& buffer);
void SetPortBufferSource(PortBufferSource source);

class CMidiIn : public CPortDevice {
public:
    CMidiIn();
    ~CMidiIn();
    CMidiIn(const CMidiIn&) = delete;
    CMidiIn& operator=(const CMidiIn&) = delete;

    // midiInOpen, Reset, PrepareHeader, AddBuffer, Start; the first failure
    // ends the sequence. True when every call succeeded. A named device listed
    // nowhere is not opened. An open port is closed first, so that no device
    // is left holding the buffer. Success clears the port's own alarm (a
    // shared one is its owner's to clear).
    bool Open(IMidiNotify* pWnd);
    // PrepareHeader then AddBuffer on the same header.
    bool Requeue();
    // Stop, Reset, UnprepareHeader, Close; the handle is none afterwards. A
    // port that is not open has nothing to close: no call, no message.
    bool Close();
    bool IsOpen() const { return m_hMidiIn != nullptr; }
    // Reports through pAlarm from now on (null: the port's own again).
    void ShareAlarm(CPortAlarm* pAlarm) { m_pAlarm = pAlarm ? pAlarm : &m_ownAlarm; }

    HMIDIIN m_hMidiIn = nullptr;
    MIDIHDR* m_pHeader = nullptr;

private:
    bool Check(MMRESULT result);
    CPortBuffer m_buffer;
    CPortAlarm m_ownAlarm;
    CPortAlarm* m_pAlarm = &m_ownAlarm;
};

class CMidiOut : public CPortDevice {
public:
    CMidiOut();
    ~CMidiOut();
    CMidiOut(const CMidiOut&) = delete;
    CMidiOut& operator=(const CMidiOut&) = delete;

    // midiOutOpen; an open port is closed first. A named device listed
    // nowhere is not opened. Success clears the port's own alarm.
    bool Open(IMidiNotify* pWnd);
    // Status in the lowest byte, then data 1, then data 2.
    bool ShortMessage(uint8_t status, uint8_t data1, uint8_t data2);
    // Copies at most 512 bytes into the buffer, then PrepareHeader and LongMsg.
    // The header stays prepared until ReleaseHeader; send the next message
    // only after the done notification.
    bool LongMessage(const uint8_t* bytes, size_t count);
    bool LongMessage(const CSysExMessage& msg);
    bool SendDataRequest(uint32_t address, uint32_t size);
    // count at most 500; a larger one is refused with a message. Data bytes
    // of 0x80 and above are refused without one: the caller names the entry.
    bool SendDataSet(uint32_t address, const uint8_t* data, size_t count);
    static bool ReleaseHeader(HMIDIOUT hOut, MIDIHDR* pHeader);
    // UnprepareHeader, Reset, Close; the handle is none afterwards. A port
    // that is not open has nothing to close: no call, no message.
    bool Close();
    bool IsOpen() const { return m_hMidiOut != nullptr; }
    void ShareAlarm(CPortAlarm* pAlarm) { m_pAlarm = pAlarm ? pAlarm : &m_ownAlarm; }

    // While set, a failing send is not shown: the owner reports it with what
    // it knows (how far a transfer got). m_lastSendError keeps the code.
    bool m_bQuietSend = false;
    MMRESULT m_lastSendError = MMSYSERR_NOERROR;

    HMIDIOUT m_hMidiOut = nullptr;
    MIDIHDR* m_pHeader = nullptr;

private:
    bool Check(MMRESULT result);
    CPortBuffer m_buffer;
    CPortAlarm m_ownAlarm;
    CPortAlarm* m_pAlarm = &m_ownAlarm;
};

} // namespace vantorel
