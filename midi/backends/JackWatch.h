#pragma once
// A JACK client of the backend's own, for the questions that must not hang
// the GUI thread: is there a server, does it still answer, is a port still
// there and still connected to ours. Opening the client (the one call here
// that waits for the server) runs on a worker thread and is waited for only
// a few seconds; everything else reads libjack's shared view of the graph or
// counts the server's process cycles, and never waits for the server.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vantorel {

class CJackWatch {
public:
    // How long a server may stay silent before it counts as not running.
    static constexpr int kAnswerMs = 3000;

    CJackWatch();
    ~CJackWatch();
    CJackWatch(const CJackWatch&) = delete;
    CJackWatch& operator=(const CJackWatch&) = delete;

    // Opens the client, waiting at most waitMs. An attempt that is still
    // waiting for a stopped server goes on; the next call waits for it again.
    bool Connect(const char* clientName, int waitMs);
    bool IsConnected() const;
    // An open that is still waiting for the server.
    bool IsPending() const;
    // The server shut down (or crashed): every client on it is lost.
    bool IsGone() const;
    // The server runs its cycles; a stopped one (SIGSTOP, hung) is found
    // out within kAnswerMs, and afterwards at once until it runs again.
    bool IsAnswering();
    // Waits (bounded) until the server has run n more cycles, so that a
    // connection just made is part of the graph that runs.
    void WaitCycles(int n);
    // Does the port exist; is it connected to the port named other.
    bool HasPort(const std::string& port) const;
    bool AreConnected(const std::string& port, const std::string& other) const;
    // The ports connected to port now, one per line ("" when none).
    std::string Connections(const std::string& port) const;
    // Every MIDI port that sends (bSenders) or receives, in the order the
    // server lists them (RtMidi numbers its ports in this order too). One
    // look at the graph, whatever the number of ports.
    std::vector<std::string> MidiPorts(bool bSenders) const;

private:
    struct CState;
    std::shared_ptr<CState> m_pState;
    bool m_bStalled = false;
};

} // namespace vantorel
