#pragma once
// The Edit menu's command ids, handled by every list window.
namespace vantorel::edit_commands {

inline constexpr int ID_EDIT_CLEAR = 57632; // Initialize (Delete)
inline constexpr int ID_EDIT_COPY = 57634;
inline constexpr int ID_EDIT_PASTE = 57637;
inline constexpr int ID_EDIT_UNDO = 57643;
inline constexpr int ID_EDIT_REDO = 57644;
inline constexpr int ID_EDIT_RENAME = 32850;
// Compare With Selected, which the context menus offer when there is something to compare with.
inline constexpr int ID_COMPARE_WITH_SELECTED = 32871;

} // namespace vantorel::edit_commands
