#pragma once
// One MIDI input or output device each, with one 512-byte long-message buffer.
// Every failing service call is shown at once in a message box with the
// service's error text, and the work goes on. The bool results are extras for
// owners that must end a sequence when a port fails; the call sequences are
// those of the ports as documented.
#include <cstddef>
#include <cstdint>

#include "midi/MidiService.h"

namespace vantorel {

class CSysExMessage;

class CMidiIn {
public:
    CMidiIn();
    ~CMidiIn();
    CMidiIn(const CMidiIn&) = delete;
    CMidiIn& operator=(const CMidiIn&) = delete;

    // midiInOpen, Reset, PrepareHeader, AddBuffer, Start; the first failure
    // ends the sequence. True when every call succeeded.
    bool Open(IMidiNotify* pWnd);
    // PrepareHeader then AddBuffer on the same header.
    bool Requeue();
    // Stop, Reset, UnprepareHeader, Close; the handle is none afterwards.
    bool Close();
    bool IsOpen() const { return m_hMidiIn != nullptr; }

    uint16_t m_wDeviceId = 0;
    HMIDIIN m_hMidiIn = nullptr;
    MIDIHDR* m_pHeader = nullptr;
};

class CMidiOut {
public:
    CMidiOut();
    ~CMidiOut();
    CMidiOut(const CMidiOut&) = delete;
    CMidiOut& operator=(const CMidiOut&) = delete;

    bool Open(IMidiNotify* pWnd);
    bool ShortMessage(uint8_t status, uint8_t data1, uint8_t data2);
    bool LongMessage(const uint8_t* bytes, size_t count);
    bool LongMessage(const CSysExMessage& msg);
    bool SendDataRequest(uint32_t address, uint32_t size);
    bool SendDataSet(uint32_t address, const uint8_t* data, size_t count);
    static bool ReleaseHeader(HMIDIOUT hOut, MIDIHDR* pHeader);
    // UnprepareHeader, Reset, Close; the handle is none afterwards.
    bool Close();
    bool IsOpen() const { return m_hMidiOut != nullptr; }

    uint16_t m_wDeviceId = 0;
    HMIDIOUT m_hMidiOut = nullptr;
    MIDIHDR* m_pHeader = nullptr;
};

} // namespace vantorel
