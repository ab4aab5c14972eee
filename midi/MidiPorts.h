#pragma once
// One MIDI input or output device each, with one 512-byte long-message buffer.
// A port shows nothing itself: a failing call returns false and tells the
// port's owner what failed (CPortError, with a sentence that names the device
// as the user chose it in MIDI Setup); the owner decides whether and how the
// user hears of it. What follows from the same failure (the rest of a close,
// a send on a port that never opened) is not told again. The call sequences
// are those of the ports as documented.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
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

// What went wrong with a port, as its owner is told.
struct CPortError {
    enum class EKind {
        NotAvailable, // the device could not be opened
        CallFailed,   // a call on the open device failed; code holds the service's result
        Refused,      // the port refused a message before the service saw it (too long)
        NoMemory,     // the port's buffer could not be allocated
    };
    EKind kind = EKind::CallFailed;
    bool bInput = false;
    uint16_t wDevice = 0;
    MMRESULT code = MMSYSERR_NOERROR;
    std::string strText;   // the sentence for the user, device named, what to do said
    std::string strDevice; // the device as the user knows it (empty: by its number)
};

// Told of every failure a port reports; none: the port keeps it to itself.
using PortErrorHandler = std::function<void(const CPortError&)>;

// The reporting rule both ports share: the first failure is told, what
// follows from it is not, until the port opens again. A buffer that could not
// be allocated is told once in the port's life.
class CPortReports {
public:
    explicit CPortReports(PortErrorHandler fn) : m_onError(std::move(fn)) {}
    void SetHandler(PortErrorHandler fn) { m_onError = std::move(fn); }
    void Report(CPortError error);
    void ReportNoMemory(bool bInput, uint16_t wDevice);
    // The port has opened: a new failure is worth telling.
    void Opened() { m_bReported = false; }

private:
    PortErrorHandler m_onError;
    bool m_bReported = false;
    bool m_bNoMemoryTold = false;
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
    // Where the device is listed now (by name, or at its number without one).
    std::optional<int> Locate() const;
    bool m_bInput;
};

class CMidiIn : public CPortDevice {
public:
    explicit CMidiIn(PortErrorHandler onError = {});
    ~CMidiIn();
    CMidiIn(const CMidiIn&) = delete;
    CMidiIn& operator=(const CMidiIn&) = delete;

    // Who is told of this port's failures from now on.
    void SetErrorHandler(PortErrorHandler fn) { m_reports.SetHandler(std::move(fn)); }
    // midiInOpen, Reset, PrepareHeader, AddBuffer, Start; the first failure
    // ends the sequence. True when every call succeeded. A named device listed
    // nowhere is not opened. An open port is closed first, so that no device
    // is left holding the buffer.
    bool Open(IMidiNotify* pWnd);
    // PrepareHeader then AddBuffer on the same header.
    bool Requeue();
    // Stop, Reset, UnprepareHeader, Close; the handle is none afterwards. A
    // port that is not open has nothing to close: no call, no report.
    // Destroying an open port closes it the same way; a failure then has
    // nobody left to tell.
    bool Close();
    bool IsOpen() const { return m_hMidiIn != nullptr; }
    // False when the device can no longer reach this open port (it has gone,
    // or the MIDI system under it has); detail then gets the service's
    // sentence. Not a failure of a call, so not reported: the owner says
    // what the loss means for its work. A closed port has nothing to lose.
    bool CheckConnection(std::string& detail);

    HMIDIIN m_hMidiIn = nullptr;
    MIDIHDR* m_pHeader = nullptr;

private:
    bool Check(MMRESULT result);
    CPortBuffer m_buffer;
    CPortReports m_reports;
};

class CMidiOut : public CPortDevice {
public:
    explicit CMidiOut(PortErrorHandler onError = {});
    ~CMidiOut();
    CMidiOut(const CMidiOut&) = delete;
    CMidiOut& operator=(const CMidiOut&) = delete;

    void SetErrorHandler(PortErrorHandler fn) { m_reports.SetHandler(std::move(fn)); }
    // midiOutOpen; an open port is closed first. A named device listed
    // nowhere is not opened.
    bool Open(IMidiNotify* pWnd);
    // Status in the lowest byte, then data 1, then data 2.
    bool ShortMessage(uint8_t status, uint8_t data1, uint8_t data2);
    // Copies at most 512 bytes into the buffer, then PrepareHeader and LongMsg.
    // The header stays prepared until ReleaseHeader; send the next message
    // only after the done notification.
    bool LongMessage(const uint8_t* bytes, size_t count);
    bool LongMessage(const CSysExMessage& msg);
    bool SendDataRequest(uint32_t address, uint32_t size);
    // count at most 500; a larger one is refused and reported. Data bytes of
    // 0x80 and above are refused without a report: the caller names the entry.
    bool SendDataSet(uint32_t address, const uint8_t* data, size_t count);
    // The done notice hands the header back; a failure is put in pError
    // (the service's sentence: there is no port to name here).
    static bool ReleaseHeader(HMIDIOUT hOut, MIDIHDR* pHeader, CPortError* pError = nullptr);
    // UnprepareHeader, Reset, Close; the handle is none afterwards. A port
    // that is not open has nothing to close: no call, no report.
    bool Close();
    bool IsOpen() const { return m_hMidiOut != nullptr; }

    HMIDIOUT m_hMidiOut = nullptr;
    MIDIHDR* m_pHeader = nullptr;

private:
    bool Check(MMRESULT result);
    void Refuse(const std::string& text);
    CPortBuffer m_buffer;
    CPortReports m_reports;
};

} // namespace vantorel
