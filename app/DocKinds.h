#pragma once
// The widget parts of each document kind, hung on the kind's widget-free
// description (transfer/kinds/DocumentKinds): its window, its resource id
// (menu, child-window icon, document strings), its menu with the Get and
// Send commands of a whole bank, and the look of its icon and toolbar
// buttons. The main frame, the document templates and Import SysEx ask this
// one list instead of switching over kinds.
#include <QRgb>

#include <vector>

class QWidget;

namespace vantorel {

class CDocKind;
class CDocManager;
class CDocTemplate;
class CScrollView;

// One command of a kind's menu and the toolbar.
struct CKindCommand {
    int nId;
    const char* szItem;   // menu text
    const char* szPrompt; // status line, then tool tip
};

struct CKindWindow {
    const CDocKind* pKind;
    int nResourceId; // its menu, child-window icon and document strings
    const char* szDocStrings;
    const char* szMenuTitle;
    CKindCommand get; // a whole bank (or the whole system)
    CKindCommand send;
    const char* szIconLabel;   // on its document icon ("PAT")
    const char* szButtonLabel; // on its toolbar buttons ("P")
    QRgb colour;               // of both
    CScrollView* (*pMakeView)(QWidget* parent);
};

// In the order of the registry (File New's list).
const std::vector<CKindWindow>& KindWindows();

// One document template per kind, with the kind's icon.
void RegisterDocumentKinds(CDocManager& manager);
// The template registered for kind; null before RegisterDocumentKinds.
CDocTemplate* TemplateOfKind(CDocManager& manager, const CDocKind& kind);

} // namespace vantorel
