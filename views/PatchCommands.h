#pragma once
// What the patch bank window and a performance window's patch column share:
// the patch command ids and the patch context menu. The bank commands come
// from the main menu and the toolbar; the others from the context menu and
// act on one patch.
#include <vector>

#include "res/Images.h"
#include "res/strings/views.h"
#include "views/ListView.h"

namespace vantorel {
// What a Shift-click on a patch picks up (a bank row or a performance's patch).
inline const int kCopyPatch = res::DefineCopyCursor(140, "PAT");
} // namespace vantorel

namespace vantorel::patch_commands {

inline constexpr int ID_GET_PATCH_BANK = 32780;
inline constexpr int ID_SEND_PATCH_BANK = 32781;
inline constexpr int ID_EDIT_PATCH_NAME = 32800;
inline constexpr int ID_INIT_PATCH = 32801;
inline constexpr int ID_GET_PATCH = 32802;
inline constexpr int ID_SEND_PATCH = 32803;

// Initialize Patch, Edit Patch Name, Get Patch, Send Patch, with separators.
inline const std::vector<CListView::CMenuItem>& ContextMenu()
{
    static const std::vector<CListView::CMenuItem> items{{ID_INIT_PATCH, res::kMenuInitializePatch},
                                                         {0, nullptr},
                                                         {ID_EDIT_PATCH_NAME, res::kMenuEditPatchName},
                                                         {0, nullptr},
                                                         {ID_GET_PATCH, res::kMenuGetPatch},
                                                         {ID_SEND_PATCH, res::kMenuSendPatch}};
    return items;
}

} // namespace vantorel::patch_commands
