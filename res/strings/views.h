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

} // namespace vantorel::res
