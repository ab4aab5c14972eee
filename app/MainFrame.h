#pragma once
// The program's main window: menus per document kind, the toolbar, the status
// bar, the Send Data switch, the Preview settings and the preview note, MIDI
// Setup and Preview Setup, and Clear Copy Buffer.
#include <QLabel>
#include <QStatusBar>
#include <QStringList>
#include <QToolBar>

#include <functional>
#include <memory>
#include <vector>

#include "framework/core/TimerService.h"
#include "framework/gui/MDIFrameWnd.h"
#include "midi/MidiPorts.h"
#include "midi/MidiService.h"

namespace vantorel {

class CLibrary;

class CMainFrame : public CMDIFrameWnd, public ITimerTarget, public IMidiNotify {
    Q_OBJECT
public:
    // Reads the Preview values and the Send Data switch from the profile and
    // empties the copy buffer.
    explicit CMainFrame(CDocManager* pDocManager, QWidget* parent = nullptr);
    // Writes the Preview values and the Send Data switch (as 1 or 0) back.
    ~CMainFrame() override;

    // Ends a sounding preview note (note off, port closed); nothing when
    // none sounds. Transfers and auditions reach it through StopPreview().
    void StopPreview();
    bool IsPreviewSounding() const { return m_bPreviewSounding != 0; }

    void OnTimer(int nIdEvent) override;

    QToolBar* GetToolBar() const { return m_pToolBar; }
    QLabel* GetReadyPane() const { return m_pReadyPane; }

    // Local files dropped on the window go here (the application opens them).
    void SetDropHandler(std::function<void(const QStringList&)> handler) { m_onDrop = std::move(handler); }
    // The Library window and its menu.
    CLibrary& GetLibrary() const { return *m_pLibrary; }

    // Preview settings for the run (profile "Preview" section).
    int m_nPreviewNote = 60;
    int m_nPreviewVelocity = 80;
    int m_nPreviewToneLen = 500;
    // Copies of the profile's device numbers, refreshed before each use.
    int m_nMidiInDevice = 0;
    int m_nMidiOutDevice = 0;

protected:
    void showEvent(QShowEvent* e) override;
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dropEvent(QDropEvent* e) override;

private:
    // Size and place from the last run (profile "Window" section), kept
    // inside the screen's available area.
    void RestorePlacement();
    void SavePlacement() const;
    void KeepOnScreen();
    void BuildActions();
    void BuildEditActions();
    void BuildLibraryActions();
    void BuildMenus();
    void BuildToolBar();
    void BuildStatusBar();
    void OnPreview();
    void OnMidiSetup();
    void OnPreviewSetup();

    QToolBar* m_pToolBar = nullptr;
    QLabel* m_pReadyPane = nullptr;
    CMidiOut m_previewPort;
    int m_bPreviewSounding = 0;
    int m_nSoundingNote = 0; // the key the note off must release
    std::function<void()> m_previousStopPreview;
    bool m_bShown = false;
    std::function<void(const QStringList&)> m_onDrop;
    std::unique_ptr<CLibrary> m_pLibrary;
};

} // namespace vantorel
