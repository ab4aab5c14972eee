#pragma once
// One device list over several services: device numbers run through the
// backends in order (the first backend's devices first), and every handle
// given out maps back to the backend that opened it.
#include <map>
#include <memory>
#include <vector>

#include "midi/MidiService.h"

namespace vantorel {

class CCompositeMidiService : public CMidiService {
public:
    CCompositeMidiService() = default;
    // Backends are not owned and must outlive this service.
    explicit CCompositeMidiService(std::vector<CMidiService*> backends);
    ~CCompositeMidiService() override;

    void AddBackend(CMidiService* pBackend);
    // Closes every device still open (ports that outlived the service). A
    // subclass that owns its backends calls it before they go.
    void CloseAll();

    unsigned InGetNumDevs() override;
    MMRESULT InGetDevName(unsigned nDevice, std::string& name) override;
    MMRESULT InOpen(HMIDIIN* phIn, unsigned nDevice, IMidiNotify* pWindow) override;
    MMRESULT InReset(HMIDIIN h) override;
    MMRESULT InPrepareHeader(HMIDIIN h, MIDIHDR* pHdr) override;
    MMRESULT InAddBuffer(HMIDIIN h, MIDIHDR* pHdr) override;
    MMRESULT InStart(HMIDIIN h) override;
    MMRESULT InStop(HMIDIIN h) override;
    MMRESULT InUnprepareHeader(HMIDIIN h, MIDIHDR* pHdr) override;
    MMRESULT InClose(HMIDIIN h) override;
    std::string InGetErrorText(MMRESULT result) override;
    MMRESULT InCheckConnection(HMIDIIN h) override;

    unsigned OutGetNumDevs() override;
    MMRESULT OutGetDevName(unsigned nDevice, std::string& name) override;
    MMRESULT OutOpen(HMIDIOUT* phOut, unsigned nDevice, IMidiNotify* pWindow) override;
    MMRESULT OutShortMsg(HMIDIOUT h, uint32_t dwMsg) override;
    MMRESULT OutPrepareHeader(HMIDIOUT h, MIDIHDR* pHdr) override;
    MMRESULT OutLongMsg(HMIDIOUT h, MIDIHDR* pHdr) override;
    MMRESULT OutUnprepareHeader(HMIDIOUT h, MIDIHDR* pHdr) override;
    MMRESULT OutReset(HMIDIOUT h) override;
    MMRESULT OutClose(HMIDIOUT h) override;
    std::string OutGetErrorText(MMRESULT result) override;
    std::vector<std::string> InGetDevNames() override;
    std::vector<std::string> OutGetDevNames() override;

private:
    // One open device. It is also the window the backend notifies: it swaps
    // the backend's handle for ours before passing the notification on.
    struct CInEntry : IMidiNotify {
        CMidiService* m_pBackend = nullptr;
        HMIDIIN m_hBackend = nullptr;
        IMidiNotify* m_pWindow = nullptr;
        void OnMidiInLongData(HMIDIIN, MIDIHDR* pHdr) override;
    };
    struct COutEntry : IMidiNotify {
        CMidiService* m_pBackend = nullptr;
        HMIDIOUT m_hBackend = nullptr;
        IMidiNotify* m_pWindow = nullptr;
        void OnMidiOutDone(HMIDIOUT, MIDIHDR* pHdr) override;
    };
    // Who answered the last failure, so that its error text is the one shown.
    struct CLastError {
        MMRESULT m_result = MMSYSERR_NOERROR;
        CMidiService* m_pBackend = nullptr;
        std::string m_strText;
    };

    // Backend and its own number for a device number; null past the end.
    CMidiService* FindIn(unsigned nDevice, unsigned& nLocal);
    CMidiService* FindOut(unsigned nDevice, unsigned& nLocal);
    CInEntry* LookUp(HMIDIIN h);
    COutEntry* LookUp(HMIDIOUT h);
    MMRESULT NoteIn(MMRESULT result, CMidiService* pBackend);
    MMRESULT NoteOut(MMRESULT result, CMidiService* pBackend);

    std::vector<CMidiService*> m_backends;
    std::map<HMIDIIN, std::unique_ptr<CInEntry>> m_ins;
    std::map<HMIDIOUT, std::unique_ptr<COutEntry>> m_outs;
    CLastError m_lastIn;
    CLastError m_lastOut;
};

} // namespace vantorel
