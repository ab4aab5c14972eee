#pragma once
// Setup > Receive Dump: a modeless window that listens to the MIDI IN device
// while the user starts a dump on the synthesizer's panel. Every message goes
// through the exclusive stream reader (which checks device and checksum as a
// Get does); the window shows a count per kind, what was skipped and the last
// entry. Stop closes the port and places what arrived as Import SysEx does.
#include <QDialog>

#include <memory>
#include <vector>

#include "midi/MidiPorts.h"
#include "transfer/SysExReader.h"

class QLabel;
class QPushButton;

namespace vantorel {

class CDocManager;

class CReceiveDumpDlg : public QDialog, public IMidiNotify {
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

    const CSysExHaul& GetHaul() const { return m_reader.GetHaul(); }
    QPushButton* GetStopButton() const { return m_pStop; }
    QString GetCountText() const;
    QString GetLastText() const;

  protected:
    void closeEvent(QCloseEvent* e) override;

  private:
    void ShowCounts();

    CDocManager& m_manager;
    CMidiIn m_midiIn;
    CSysExReader m_reader;
    bool m_bListening = false;
    bool m_bStopped = false;
    uint64_t m_nDataSetsShown = 0;
    QLabel* m_pWaiting = nullptr;
    std::vector<QLabel*> m_counts;
    QLabel* m_pSkipped = nullptr;
    QLabel* m_pLast = nullptr;
    QPushButton* m_pStop = nullptr;
};

} // namespace vantorel
