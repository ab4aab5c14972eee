#pragma once
// The Open and Save As file dialogs: what they are asked (the kinds'
// filters, the suggested name) and who answers. The answer comes from a
// QFileDialog unless a presenter is set in its place.
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

class QWidget;

namespace vantorel {

class CDocTemplate;
class CDocument;

struct CFileDialogRequest {
    bool bOpen = true;         // Open, or Save As
    bool bMany = false;        // Open: several files may be chosen at once
    QString strCaption;        // "Open" or "Save As"
    QStringList filters;       // in order, e.g. "Patch Files (*.pat)", ..., "All Files (*.*)"
    QString strSelectedFilter; // the filter shown first
    QString strDefaultName;    // Save As: the suggested file
    QString strDefaultSuffix;  // Save As: added to a name given without one ("pat")
    QString strFolder;         // where it opens; empty: the folder the last answer was in
};
// Returns the chosen path, or an empty text when the user cancelled; the
// answer to an Open of several files holds one path per line.
using FileDialogPresenter = std::function<QString(const CFileDialogRequest&)>;

// Puts a presenter in place of the real dialogs (empty: the real ones again).
// Returns the previous one.
FileDialogPresenter SetFileDialogPresenter(FileDialogPresenter presenter);

// Any other file dialog, answered as the two below are. Empty when cancelled.
QString AskFilePath(const CFileDialogRequest& request, QWidget* pParent);
// The Open dialog over the kinds' filters, in order, then All Files; one or
// more files may be chosen. Empty when cancelled.
QStringList AskOpenPaths(const std::vector<std::unique_ptr<CDocTemplate>>& templates, QWidget* pParent);
// The Save As dialog for a document of a kind: its own path, else its title
// made into a file name. Empty when cancelled.
QString AskSavePath(const CDocument& doc, const CDocTemplate& tmpl, QWidget* pParent);

// Filter text of a kind for the file dialogs: the filter name with its
// pattern rebuilt from the extension ("Patch Files (*.pat)").
QString FilterForTemplate(const CDocTemplate& tmpl);
// The kind's extension with its dot (".pat").
QString ExtensionOf(const CDocTemplate& tmpl);

} // namespace vantorel
