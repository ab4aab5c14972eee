#pragma once
// A sequencer handle of the ALSA backend's own, to see whether the port an
// output was connected to is still there (a device unplugged or a program
// ended takes its port, and with it our subscription).
#include <string>

namespace vantorel {

class CAlsaWatch {
public:
    CAlsaWatch() = default;
    ~CAlsaWatch();
    CAlsaWatch(const CAlsaWatch&) = delete;
    CAlsaWatch& operator=(const CAlsaWatch&) = delete;

    // The "client:port" RtMidi puts at the end of an ALSA port name.
    static bool ParseAddress(const std::string& rawName, int& client, int& port);
    // True unless the sequencer says there is no such port; a sequencer
    // that cannot be asked knows nothing to the contrary.
    bool HasPort(int client, int port);

private:
    void* m_pSeq = nullptr; // snd_seq_t
    bool m_bTried = false;
};

} // namespace vantorel
