#pragma once
// Sits between a transfer and the MIDI service in use for as long as it
// lives, and tells who asks about every long message about to leave: how the
// command line counts the repeats of an unanswered request (and keeps back
// the one that finds its patience gone), and knows how far a Send has got,
// without reaching into the transfer machinery.
#include <functional>
#include <vector>

#include "midi/MidiService.h"

namespace vantorel::cli {

class CWireWatch : public CMidiService {
  public:
    // False: the message is kept back (the transfer is about to be cancelled).
    using SendFn = std::function<bool(const std::vector<uint8_t>& message)>;

    // Installs itself in place of the service in use; the destructor puts that back.
    explicit CWireWatch(SendFn onSend);
    ~CWireWatch() override;
    CWireWatch(const CWireWatch&) = delete;
    CWireWatch& operator=(const CWireWatch&) = delete;

    unsigned InGetNumDevs() override { return m_inner.InGetNumDevs(); }
    MMRESULT InGetDevName(unsigned n, std::string& name) override { return m_inner.InGetDevName(n, name); }
    MMRESULT InOpen(HMIDIIN* ph, unsigned n, IMidiNotify* pWnd) override {
        return m_inner.InOpen(ph, n, pWnd);
    }
    MMRESULT InReset(HMIDIIN h) override { return m_inner.InReset(h); }
    MMRESULT InPrepareHeader(HMIDIIN h, MIDIHDR* p) override { return m_inner.InPrepareHeader(h, p); }
    MMRESULT InAddBuffer(HMIDIIN h, MIDIHDR* p) override { return m_inner.InAddBuffer(h, p); }
    MMRESULT InStart(HMIDIIN h) override { return m_inner.InStart(h); }
    MMRESULT InStop(HMIDIIN h) override { return m_inner.InStop(h); }
    MMRESULT InUnprepareHeader(HMIDIIN h, MIDIHDR* p) override { return m_inner.InUnprepareHeader(h, p); }
    MMRESULT InClose(HMIDIIN h) override { return m_inner.InClose(h); }
    std::string InGetErrorText(MMRESULT r) override { return m_inner.InGetErrorText(r); }
    MMRESULT InCheckConnection(HMIDIIN h) override { return m_inner.InCheckConnection(h); }

    unsigned OutGetNumDevs() override { return m_inner.OutGetNumDevs(); }
    MMRESULT OutGetDevName(unsigned n, std::string& name) override { return m_inner.OutGetDevName(n, name); }
    MMRESULT OutOpen(HMIDIOUT* ph, unsigned n, IMidiNotify* pWnd) override {
        return m_inner.OutOpen(ph, n, pWnd);
    }
    MMRESULT OutShortMsg(HMIDIOUT h, uint32_t dwMsg) override { return m_inner.OutShortMsg(h, dwMsg); }
    MMRESULT OutPrepareHeader(HMIDIOUT h, MIDIHDR* p) override { return m_inner.OutPrepareHeader(h, p); }
    MMRESULT OutLongMsg(HMIDIOUT h, MIDIHDR* p) override;
    MMRESULT OutUnprepareHeader(HMIDIOUT h, MIDIHDR* p) override { return m_inner.OutUnprepareHeader(h, p); }
    MMRESULT OutReset(HMIDIOUT h) override { return m_inner.OutReset(h); }
    MMRESULT OutClose(HMIDIOUT h) override { return m_inner.OutClose(h); }
    std::string OutGetErrorText(MMRESULT r) override { return m_inner.OutGetErrorText(r); }

    std::vector<std::string> InGetDevNames() override { return m_inner.InGetDevNames(); }
    std::vector<std::string> OutGetDevNames() override { return m_inner.OutGetDevNames(); }

  private:
    CMidiService& m_inner;
    SendFn m_onSend;
};

} // namespace vantorel::cli
