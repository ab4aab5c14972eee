#pragma once
// Texts of the patch and performance windows: context menus and name dialogs.
namespace vantorel::res {

// Context menu of a patch (patch window, and the patch column of a performance window).
inline constexpr const char* kMenuInitializePatch = "Initialize Patch";
inline constexpr const char* kMenuEditPatchName = "Edit Patch Name";
inline constexpr const char* kMenuGetPatch = "Get Patch";
inline constexpr const char* kMenuSendPatch = "Send Patch";

// Context menu of a performance (number and name columns of a performance window).
inline constexpr const char* kMenuInitializePerformance = "Initialize Performance";
inline constexpr const char* kMenuEditPerformanceName = "Edit Performance Name";
inline constexpr const char* kMenuGetPerformance = "Get Performance";
inline constexpr const char* kMenuSendPerformance = "Send Performance";

// Name dialogs.
inline constexpr const char* kPatchNameTitle = "Patch Name";
inline constexpr const char* kPerformanceNameTitle = "Performance Name";
inline constexpr const char* kNameOk = "OK";
inline constexpr const char* kNameCancel = "Cancel";

// Undo steps, as the Edit menu names them ("Undo Rename").
inline constexpr const char* kEditRename = "Rename";
inline constexpr const char* kEditInitialize = "Initialize";
inline constexpr const char* kEditCopy = "Copy";
inline constexpr const char* kEditGet = "Get";
inline constexpr const char* kEditPaste = "Paste";
inline constexpr const char* kEditMove = "Move";

// A paste or drop of more entries than the list holds from the selected one
// on: how many, the document's title, how many rows are left.
inline constexpr const char* kEntriesPastTheEnd =
    "%1 entries do not fit from the selected entry of %2 to the end of the list (%3 rows are left). "
    "Select an entry higher up and try again.";

// The Edit menu and its commands: item text, then "status prompt\ntooltip".
inline constexpr const char* kMenuEdit = "&Edit";
inline constexpr const char* kItemUndo = "&Undo\tCtrl+Z";
inline constexpr const char* kItemUndoStep = "&Undo %1\tCtrl+Z";
inline constexpr const char* kItemRedo = "&Redo\tCtrl+Y";
inline constexpr const char* kItemRedoStep = "&Redo %1\tCtrl+Y";
inline constexpr const char* kItemCopy = "&Copy\tCtrl+C";
inline constexpr const char* kItemPaste = "&Paste\tCtrl+V";
inline constexpr const char* kItemRename = "Re&name...\tF2";
inline constexpr const char* kItemInitialize = "&Initialize\tDel";
inline constexpr const char* kPromptUndo = "Undo the last change\nUndo";
inline constexpr const char* kPromptRedo = "Redo the change last undone\nRedo";
inline constexpr const char* kPromptCopy = "Copy the selected entries (one is also picked up)\nCopy";
inline constexpr const char* kPromptPaste =
    "Copy the copied or picked-up entries onto the selected entry and those after it\nPaste";
inline constexpr const char* kPromptRename = "Rename the selected entry\nRename";
inline constexpr const char* kPromptInitialize = "Put the initial values into the selected entry\nInitialize";

} // namespace vantorel::res
