#pragma once
// The two ways to compare in the program: "Compare With Selected" in a list
// window's context menu (the two entries selected in the window, or its entry
// with the entry selected in the other open window of its kind that was
// active last), and File > Compare... (the active window's document with
// another open window of its kind, or with a library or .syx file). Each
// opens a CCompareWindow.
class QWidget;

namespace vantorel {

class CMDIFrameWnd;
class CDocument;

// Puts Compare With Selected into the list windows' context menus for the
// windows of frame; UninstallCompareWithSelected takes it out again.
void InstallCompareWithSelected(CMDIFrameWnd& frame);
void UninstallCompareWithSelected();

// File > Compare... for the active document of frame.
void OnFileCompare(CMDIFrameWnd& frame);
// Whether File > Compare... applies: a document of one of the kinds is active.
bool CanCompareActive(const CMDIFrameWnd& frame);

} // namespace vantorel
