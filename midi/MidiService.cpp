#include "midi/MidiService.h"

#include "res/strings/midi.h"

namespace vantorel {

std::string FormatMidiText(const char* pattern, long long value)
{
    std::string text = pattern;
    const auto pos = text.find("%1");
    if (pos != std::string::npos)
        text.replace(pos, 2, std::to_string(value));
    return text;
}

MMRESULT CMidiService::InCheckConnection(HMIDIIN)
{
    return MMSYSERR_NOERROR;
}

std::vector<std::string> CMidiService::InGetDevNames()
{
    std::vector<std::string> names(InGetNumDevs());
    for (unsigned i = 0; i < names.size(); ++i)
        if (InGetDevName(i, names[i]) != MMSYSERR_NOERROR)
            names[i].clear();
    return names;
}

std::vector<std::string> CMidiService::OutGetDevNames()
{
    std::vector<std::string> names(OutGetNumDevs());
    for (unsigned i = 0; i < names.size(); ++i)
        if (OutGetDevName(i, names[i]) != MMSYSERR_NOERROR)
            names[i].clear();
    return names;
}

std::string GetMidiErrorText(MMRESULT result)
{
    switch (result) {
    case MMSYSERR_NOERROR: return res::kMidiErrNone;
    case MMSYSERR_ERROR: return res::kMidiErrUnspecified;
    case MMSYSERR_BADDEVICEID: return res::kMidiErrBadDevice;
    case MMSYSERR_ALLOCATED: return res::kMidiErrAllocated;
    case MMSYSERR_INVALHANDLE: return res::kMidiErrInvalidHandle;
    case MMSYSERR_NODRIVER: return res::kMidiErrNoDriver;
    case MMSYSERR_NOMEM: return res::kMidiErrNoMemory;
    case MMSYSERR_INVALPARAM: return res::kMidiErrInvalidParam;
    case MIDIERR_UNPREPARED: return res::kMidiErrUnprepared;
    case MIDIERR_STILLPLAYING: return res::kMidiErrStillPlaying;
    case MIDIERR_NOTREADY: return res::kMidiErrNotReady;
    case MIDIERR_DISCONNECTED: return res::kMidiErrDisconnected;
    default: return FormatMidiText(res::kMidiErrUnknown, result);
    }
}

namespace {

// Stands in until main() installs the real service: no devices, every open
// fails with a plain sentence and every other call finds no open device.
class CNoMidiService final : public CMidiService {
public:
    unsigned InGetNumDevs() override { return 0; }
    MMRESULT InGetDevName(unsigned, std::string& name) override { return Fail(name); }
    MMRESULT InOpen(HMIDIIN* phIn, unsigned, IMidiNotify*) override
    {
        if (phIn)
            *phIn = nullptr;
        return MMSYSERR_NODRIVER;
    }
    MMRESULT InReset(HMIDIIN) override { return MMSYSERR_INVALHANDLE; }
    MMRESULT InPrepareHeader(HMIDIIN, MIDIHDR*) override { return MMSYSERR_INVALHANDLE; }
    MMRESULT InAddBuffer(HMIDIIN, MIDIHDR*) override { return MMSYSERR_INVALHANDLE; }
    MMRESULT InStart(HMIDIIN) override { return MMSYSERR_INVALHANDLE; }
    MMRESULT InStop(HMIDIIN) override { return MMSYSERR_INVALHANDLE; }
    MMRESULT InUnprepareHeader(HMIDIIN, MIDIHDR*) override { return MMSYSERR_INVALHANDLE; }
    MMRESULT InClose(HMIDIIN) override { return MMSYSERR_INVALHANDLE; }
    std::string InGetErrorText(MMRESULT result) override { return Text(result); }

    unsigned OutGetNumDevs() override { return 0; }
    MMRESULT OutGetDevName(unsigned, std::string& name) override { return Fail(name); }
    MMRESULT OutOpen(HMIDIOUT* phOut, unsigned, IMidiNotify*) override
    {
        if (phOut)
            *phOut = nullptr;
        return MMSYSERR_NODRIVER;
    }
    MMRESULT OutShortMsg(HMIDIOUT, uint32_t) override { return MMSYSERR_INVALHANDLE; }
    MMRESULT OutPrepareHeader(HMIDIOUT, MIDIHDR*) override { return MMSYSERR_INVALHANDLE; }
    MMRESULT OutLongMsg(HMIDIOUT, MIDIHDR*) override { return MMSYSERR_INVALHANDLE; }
    MMRESULT OutUnprepareHeader(HMIDIOUT, MIDIHDR*) override { return MMSYSERR_INVALHANDLE; }
    MMRESULT OutReset(HMIDIOUT) override { return MMSYSERR_INVALHANDLE; }
    MMRESULT OutClose(HMIDIOUT) override { return MMSYSERR_INVALHANDLE; }
    std::string OutGetErrorText(MMRESULT result) override { return Text(result); }

private:
    static MMRESULT Fail(std::string& name)
    {
        name.clear();
        return MMSYSERR_BADDEVICEID;
    }
    static std::string Text(MMRESULT result)
    {
        return result == MMSYSERR_NODRIVER ? std::string(res::kNoMidiService) : GetMidiErrorText(result);
    }
};

CMidiService* g_pService = nullptr;

} // namespace

CMidiService& CMidiService::Get()
{
    static CNoMidiService none;
    return g_pService ? *g_pService : none;
}

void CMidiService::Install(CMidiService* pService)
{
    g_pService = pService;
}

} // namespace vantorel
