#pragma once
// A Get: owns both ports and walks a CGetPlan request by request. Only a
// verified answer (this device, the address just asked for, a correct
// checksum, a size the rules accept) reaches the plan; silence, damaged
// answers and failing ports are asked again as the plan's rules say, as often
// as the run's settings allow. A port failure is told as a problem; the run
// fails only when the tries for one entry are used up.
#include <cstdint>

#include "midi/msg/SysEx.h"
#include "transfer/engine/TransferRun.h"

namespace vantorel {

class CGetRun : public CTransferRun {
public:
    // The ports are set to the devices chosen in MIDI Setup; pPlan is not
    // owned, and may be handed in later (SetPlan), before the run starts.
    CGetRun(CGetPlan* pPlan, IProgressDisplay& display);
    void SetPlan(CGetPlan* pPlan) { m_pPlan = pPlan; }

    void Start() override;
    std::string MissingDeviceText() const override;
    bool HasStored() const { return m_pPlan->HasStored(); }

    void OnTimer(int nIdEvent) override;
    void OnMidiInLongData(HMIDIIN hIn, MIDIHDR* pHeader) override;
    void OnMidiOutDone(HMIDIOUT hOut, MIDIHDR* pHeader) override;

    // Time-outs in a row without any answer before the progress text says
    // that the synthesizer does not answer.
    static constexpr int kSilentSeconds = 3;

    CMidiIn m_midiIn;
    CMidiOut m_midiOut;
    CSysExList m_messages; // the verified answers of this run

protected:
    void CancelPorts() override;
    void OnPortError(const CPortError& error) override;

private:
    void SendRequest();
    // Counts one more try of the current request; false when the settings
    // allow no more.
    bool TakeTry();
    // Asks for the current request again, or gives up once no try is left.
    void AskAgain();
    // The run gives up on the entry under way.
    void GiveUp();
    // The entry under way, the counts and the devices, for a failure.
    CRunFailure Counted(CRunFailure failure) const;
    // A new request: its tries start from none.
    void NewRequest();
    void OpenPorts();
    void ReopenPorts();
    void ClosePorts();
    void ShowCount();
    // One more second without an answer.
    void CountSilence();

    CGetPlan* m_pPlan;
    CRequest m_request;             // the request now waiting for its answer
    bool m_bAwaiting = false;       // an answer to m_request would be taken
    bool m_bOutBusy = false;        // a request is in the port, its done notice not yet handled
    bool m_bRequestPending = false; // the next request waits for that notice
    bool m_bRetried = false;        // the current request has been repeated once
    bool m_bDamagedAnswer = false;  // a damaged answer to the current request came
    int m_nSilent = 0;              // time-outs since the last answer of any kind
    int m_nRepeats = 0;             // the current request asked again this often
    bool m_bDamagedSeen = false;    // a damaged answer came for the current request
    bool m_bPortFailed = false;     // a port failed since the last answer
    CPortError m_portError;         // the last failure a port reported
};

} // namespace vantorel
