#pragma once
// The Library menu's dialogs: Folders (the folders the library indexes, with
// the folders of files opened or saved offered), Problems (the files skipped
// and why) and Duplicates (each sound kept in more than one place, with every
// file and label holding it).
#include <QDialog>

#include <string>
#include <vector>

class QListWidget;

namespace vantorel {

class CLibraryIndex;

class CLibraryFoldersDlg : public QDialog {
    Q_OBJECT
public:
    // offered: folders of files opened or saved; those already indexed are left out.
    CLibraryFoldersDlg(CLibraryIndex& index, const std::vector<std::string>& offered,
                       QWidget* parent = nullptr);
    // True when a folder was added or removed (a scan should follow).
    bool Changed() const { return m_bChanged; }

private:
    void Fill();
    void Add(const std::string& dir);

    CLibraryIndex& m_index;
    std::vector<std::string> m_offered;
    QListWidget* m_pFolders = nullptr;
    QListWidget* m_pOffered = nullptr;
    bool m_bChanged = false;
};

// Problems and Duplicates: read-only lists.
void ShowLibraryProblems(const CLibraryIndex& index, QWidget* parent);
void ShowLibraryDuplicates(const CLibraryIndex& index, QWidget* parent);

} // namespace vantorel
