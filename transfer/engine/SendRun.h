#pragma once
// A Send: owns the output port and walks a CSendPlan data set by data set,
// each 100 ms after the previous one has left the port; the port closes
// 100 ms after the last. A data set that cannot go out ends the run, failed,
// with how far it got.
#include "transfer/engine/TransferRun.h"

namespace vantorel {

class CSendRun : public CTransferRun {
public:
    // The port is set to the device chosen in MIDI Setup; pPlan is not
    // owned, and may be handed in later (SetPlan), before the run starts.
    CSendRun(CSendPlan* pPlan, IProgressDisplay& display);
    void SetPlan(CSendPlan* pPlan) { m_pPlan = pPlan; }

    void Start() override;
    std::string MissingDeviceText() const override;

    void OnTimer(int nIdEvent) override;
    void OnMidiOutDone(HMIDIOUT hOut, MIDIHDR* pHeader) override;

    static constexpr int kSendTimer = 1;   // sends the next data set
    static constexpr int kFinishTimer = 2; // closes the port

    CMidiOut m_midiOut;
    bool m_bMore = false; // another data set follows the one in the port

protected:
    void CancelPorts() override;
    void OnPortError(const CPortError& error) override;

private:
    // Ends the run, failed; failure gets the counts here.
    void Stop(CRunFailure failure, const CDataSet& dataSet);
    void SendNext();
    // The entry under way is on its way: progress is told.
    void EntrySent();

    CSendPlan* m_pPlan;
    CPortError m_portError;     // the last failure the port reported
    bool m_bPortFailed = false; // since the last call the run made
    int m_nEntry = -1;          // the entry of the data sets going out
    int m_nEntriesSent = 0;
};

} // namespace vantorel
