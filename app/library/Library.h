#pragma once
// The library in the program: the index (opened when the Library window is
// first shown; one that cannot be opened is said once and the program goes
// on without it), the Library window docked beside the work area, the scans
// and the watcher, the Library menu's commands, and the drop of a library
// entry on a list window.
#include <QObject>
#include <QPointer>
#include <QStringList>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QMainWindow;

namespace vantorel {

class CDocManager;
class CLibraryIndex;
class CLibraryScanner;
class CLibraryWindow;
struct CLibraryEntry;

class CLibrary : public QObject {
    Q_OBJECT
public:
    CLibrary(QMainWindow& frame, CDocManager& docManager);
    ~CLibrary() override;

    CLibraryWindow* Window() const;
    // The index, opened on first use; null when it cannot be (said once).
    CLibraryIndex* Index();
    bool IsScanning() const;

    // Library menu.
    void ToggleWindow();
    bool IsWindowShown() const;
    void Find();
    void ShowFolders();
    void Scan();
    void StopScan();
    void ShowProblems();
    void ShowDuplicates();

    // Opens an entry's file in its list window with the entry selected (or
    // brings that window to the front); a .syx file goes to openFiles.
    void OpenEntry(const CLibraryEntry& entry);
    void SetOpenFilesHandler(std::function<void(const QStringList&)> handler)
    {
        m_onOpenFiles = std::move(handler);
    }

private:
    // Shows the window over the index (opening it).
    void ShowWindow();
    // The folders of open documents and recent files, for Folders....
    std::vector<std::string> OfferedFolders() const;

    QMainWindow& m_frame;
    CDocManager& m_docManager;
    QPointer<CLibraryWindow> m_pWindow; // a child of the frame
    std::unique_ptr<CLibraryIndex> m_pIndex;
    std::unique_ptr<CLibraryScanner> m_pScanner;
    bool m_bOpenFailed = false;
    std::function<void(const QStringList&)> m_onOpenFiles;
};

} // namespace vantorel
