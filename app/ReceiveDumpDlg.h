#pragma once
// Setup > Receive Dump: a modeless window that listens to the MIDI IN device
// while the user starts a dump on the synthesizer's panel. Every message goes
// through the exclusive stream reader (which checks device and checksum as a
// Get does); the window shows a count per kind, what was skipped and the last
// entry. Stop closes the port and places what arrived as Import SysEx does.
// A device that goes away (its JACK client ended, the JACK server stopped, a
// cable pulled) is silent: the window asks after it a few times a second, says
// at once that it has gone, and keeps what arrived for Stop to place.
#include <QDialog>

#include <memory>
#include <vector>

#include "framework/core/TimerService.h"
#include "midi/MidiPorts.h"
#include "transfer/SysExReader.h"

class QLabel;
class QPushButton;

namespace vantorel {

class CDocManager;

class CReceiveDumpDlg : public QDialog, public IMidiNotify, public ITimerTarget {
    Q_OBJECT
public:
    CReceiveDumpDlg(CDocManager& manager, QWidget* parent = nullptr);
    ~CReceiveDumpDlg() override;

    // Opens the MIDI IN device of MIDI Setup and starts listening; false when
    // the port could not be opened (the port has said why).
    bool Start();
    // Closes the port, places what arrived and shows the summary; the window
    // then goes. Nothing arrived: one message that says so.
    void Stop();

    void OnMidiInLongData(HMIDIIN hIn, MIDIHDR* pHeader) override;
    // The watch on the device.
    void OnTimer(int nIdEvent) override;

    // How often the window asks whether the device is still there.
    static constexpr int kWatchMs = 250;

    const CSysExHaul& GetHaul() const { return m_reader.GetHaul(); }

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    friend class CReceiveDumpDlgTestPeer; // reads the window as the user sees it
    void ShowCounts();
    // The port closes; what arrived stays in the reader.
    void EndListening();
    // The device has gone: the port closes, and one message says so. While
    // stopping, what arrived is placed right after.
    void OnDeviceLost(const std::string& detail, bool bStopping);

    CDocManager& m_manager;
    CMidiIn m_midiIn;
    QString m_strDevice; // the MIDI IN device's name when listening began
    CSysExReader m_reader;
    bool m_bListening = false;
    bool m_bStopped = false;
    bool m_bLost = false;
    uint64_t m_nDataSetsShown = 0;
    QLabel* m_pWaiting = nullptr;
    std::vector<QLabel*> m_counts;
    QLabel* m_pSkipped = nullptr;
    QLabel* m_pLast = nullptr;
    QPushButton* m_pStop = nullptr;
};

} // namespace vantorel
