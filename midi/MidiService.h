#pragma once
// The MIDI service the ports sit on: device lists, open by number, one long
// buffer at a time, short and long output messages, and an error text for
// every failure. Shaped after the classic multimedia MIDI calls so that the
// ports read as their call sequences. Notifications reach the window that
// opened a port through CTimerService::Post, always on the GUI thread, and
// only while that port is still open.
#include <cstdint>
#include <string>
#include <vector>

namespace vantorel {

using MMRESULT = uint32_t;
inline constexpr MMRESULT MMSYSERR_NOERROR = 0;
inline constexpr MMRESULT MMSYSERR_ERROR = 1;
inline constexpr MMRESULT MMSYSERR_BADDEVICEID = 2;
inline constexpr MMRESULT MMSYSERR_ALLOCATED = 4;
inline constexpr MMRESULT MMSYSERR_INVALHANDLE = 5;
inline constexpr MMRESULT MMSYSERR_NODRIVER = 6;
inline constexpr MMRESULT MMSYSERR_NOMEM = 7;
inline constexpr MMRESULT MMSYSERR_INVALPARAM = 11;
inline constexpr MMRESULT MIDIERR_UNPREPARED = 64;
inline constexpr MMRESULT MIDIERR_STILLPLAYING = 65;
inline constexpr MMRESULT MIDIERR_NOTREADY = 67;
// The device's connection is gone (its client vanished, the cable was
// unplugged): what is sent no longer reaches anything.
inline constexpr MMRESULT MIDIERR_DISCONNECTED = 72;

// Header flags.
inline constexpr uint32_t MHDR_DONE = 0x1;
inline constexpr uint32_t MHDR_PREPARED = 0x2;
inline constexpr uint32_t MHDR_INQUEUE = 0x4;

inline constexpr uint32_t MM_MIM_LONGDATA = 0x3C4;
inline constexpr uint32_t MM_MOM_DONE = 0x3C9;

struct MIDIHDR {
    uint8_t* lpData = nullptr;
    uint32_t dwBufferLength = 0;
    uint32_t dwBytesRecorded = 0;
    uintptr_t dwUser = 0;
    uint32_t dwFlags = 0;
};

struct MidiInHandle;
struct MidiOutHandle;
using HMIDIIN = MidiInHandle*;
using HMIDIOUT = MidiOutHandle*;

// The window that receives a port's notifications.
class IMidiNotify {
public:
    virtual ~IMidiNotify() = default;
    // MM_MIM_LONGDATA: the input buffer came back (0 bytes after a reset).
    virtual void OnMidiInLongData(HMIDIIN, MIDIHDR*) {}
    // MM_MOM_DONE: a long message has left the wire.
    virtual void OnMidiOutDone(HMIDIOUT, MIDIHDR*) {}
};

class CMidiService {
public:
    virtual ~CMidiService() = default;

    virtual unsigned InGetNumDevs() = 0;
    virtual MMRESULT InGetDevName(unsigned nDevice, std::string& name) = 0;
    virtual MMRESULT InOpen(HMIDIIN* phIn, unsigned nDevice, IMidiNotify* pWindow) = 0;
    virtual MMRESULT InReset(HMIDIIN h) = 0;
    virtual MMRESULT InPrepareHeader(HMIDIIN h, MIDIHDR* pHdr) = 0;
    virtual MMRESULT InAddBuffer(HMIDIIN h, MIDIHDR* pHdr) = 0;
    virtual MMRESULT InStart(HMIDIIN h) = 0;
    virtual MMRESULT InStop(HMIDIIN h) = 0;
    virtual MMRESULT InUnprepareHeader(HMIDIIN h, MIDIHDR* pHdr) = 0;
    virtual MMRESULT InClose(HMIDIIN h) = 0;
    virtual std::string InGetErrorText(MMRESULT result) = 0;
    // Can the device still reach the open input h? MMSYSERR_NOERROR while
    // it can; MIDIERR_DISCONNECTED once its port, or the connection to it,
    // has gone; MMSYSERR_NODRIVER once the MIDI system under it has (the
    // JACK server stopped). Asks nothing that waits for the device. An input
    // only ever learns of a loss this way: a device that has gone is silent.
    virtual MMRESULT InCheckConnection(HMIDIIN h);

    virtual unsigned OutGetNumDevs() = 0;
    virtual MMRESULT OutGetDevName(unsigned nDevice, std::string& name) = 0;
    virtual MMRESULT OutOpen(HMIDIOUT* phOut, unsigned nDevice, IMidiNotify* pWindow) = 0;
    virtual MMRESULT OutShortMsg(HMIDIOUT h, uint32_t dwMsg) = 0;
    virtual MMRESULT OutPrepareHeader(HMIDIOUT h, MIDIHDR* pHdr) = 0;
    virtual MMRESULT OutLongMsg(HMIDIOUT h, MIDIHDR* pHdr) = 0;
    virtual MMRESULT OutUnprepareHeader(HMIDIOUT h, MIDIHDR* pHdr) = 0;
    virtual MMRESULT OutReset(HMIDIOUT h) = 0;
    virtual MMRESULT OutClose(HMIDIOUT h) = 0;
    virtual std::string OutGetErrorText(MMRESULT result) = 0;

    // Every device name in device order, for lookups by name: a backend that
    // lists all its ports to answer any one question lists them once here.
    virtual std::vector<std::string> InGetDevNames();
    virtual std::vector<std::string> OutGetDevNames();

    // The service in use (installed by main() or a test; not owned).
    static CMidiService& Get();
    static void Install(CMidiService* pService);
};

// The generic sentence for a result code (res/strings/midi.h), for services
// that have nothing more precise to say.
std::string GetMidiErrorText(MMRESULT result);
// Replaces "%1" in pattern with value.
std::string FormatMidiText(const char* pattern, long long value);

} // namespace vantorel
