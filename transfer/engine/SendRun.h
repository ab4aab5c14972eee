#pragma once
// A Send: owns the output port and walks a CSendPlan data set by data set,
// each 100 ms after the previous one has left the port; the port closes
// 100 ms after the last. A data set that cannot go out ends the run with one
// message that says how far it got.
#include "transfer/engine/TransferRun.h"

namespace vantorel {

class CSendRun : public CTransferRun {
public:
    // The port is set to the device chosen in MIDI Setup; pPlan is not owned.
    CSendRun(CSendPlan* pPlan, IProgressDisplay& display);

    void Start() override;
    std::string MissingDeviceText() const override;

    void OnTimer(int nIdEvent) override;
    void OnMidiOutDone(HMIDIOUT hOut, MIDIHDR* pHeader) override;

    static constexpr int kSendTimer = 1;   // sends the next data set
    static constexpr int kFinishTimer = 2; // closes the port

    // By default a failed send is told with how far the Send got; with
    // m_midiOut.m_bQuietSend false the port tells it, and the run adds nothing.
    CMidiOut m_midiOut;
    bool m_bMore = false; // another data set follows the one in the port

protected:
    void CancelPorts() override;

private:
    // Ends the run, failed, with its one message (none when text is empty).
    void Stop(const std::string& text);
    void SendNext();

    CSendPlan* m_pPlan;
};

} // namespace vantorel
