#pragma once
// One MIDI input or output device each, with one 512-byte long-message buffer.
// Every failing service call is shown at once in a message box with the
// service's error text, and the work goes on. The bool results are extras for
// owners that must end a sequence when a port fails; the call sequences are
// those of the ports as documented.
#include <cstddef>
#include <cstdint>
#include <memory>

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

// Test hook: while set, constructing a port fails its allocation.
void SetPortAllocationFailureForTest(bool bFail);

class CMidiIn {
public:
    CMidiIn();
    ~CMidiIn();
    CMidiIn(const CMidiIn&) = delete;
    CMidiIn& operator=(const CMidiIn&) = delete;

    // midiInOpen, Reset, PrepareHeader, AddBuffer, Start; the first failure
    // ends the sequence. True when every call succeeded. An open port is
    // closed first, so that no device is left holding the buffer.
    bool Open(IMidiNotify* pWnd);
    // PrepareHeader then AddBuffer on the same header.
    bool Requeue();
    // Stop, Reset, UnprepareHeader, Close; the handle is none afterwards.
    bool Close();
    bool IsOpen() const { return m_hMidiIn != nullptr; }

    uint16_t m_wDeviceId = 0;
    HMIDIIN m_hMidiIn = nullptr;
    MIDIHDR* m_pHeader = nullptr;

private:
    CPortBuffer m_buffer;
};

class CMidiOut {
public:
    CMidiOut();
    ~CMidiOut();
    CMidiOut(const CMidiOut&) = delete;
    CMidiOut& operator=(const CMidiOut&) = delete;

    // midiOutOpen; an open port is closed first.
    bool Open(IMidiNotify* pWnd);
    // Status in the lowest byte, then data 1, then data 2.
    bool ShortMessage(uint8_t status, uint8_t data1, uint8_t data2);
    // Copies at most 512 bytes into the buffer, then PrepareHeader and LongMsg.
    // The header stays prepared until ReleaseHeader; send the next message
    // only after the done notification.
    bool LongMessage(const uint8_t* bytes, size_t count);
    bool LongMessage(const CSysExMessage& msg);
    bool SendDataRequest(uint32_t address, uint32_t size);
    // count at most 500; a larger one is refused with a message.
    bool SendDataSet(uint32_t address, const uint8_t* data, size_t count);
    static bool ReleaseHeader(HMIDIOUT hOut, MIDIHDR* pHeader);
    // UnprepareHeader, Reset, Close; the handle is none afterwards.
    bool Close();
    bool IsOpen() const { return m_hMidiOut != nullptr; }

    uint16_t m_wDeviceId = 0;
    HMIDIOUT m_hMidiOut = nullptr;
    MIDIHDR* m_pHeader = nullptr;

private:
    CPortBuffer m_buffer;
};

} // namespace vantorel
