#pragma once
// Texts of the Get and Send dialogs, their progress dialogs and the
// "Complete!" box. The confirmation questions and "Complete!" itself are in
// res/Strings.h.
namespace vantorel::res {

inline constexpr const char* kStart = "START";
inline constexpr const char* kCancel = "Cancel";
inline constexpr const char* kOK = "OK";

inline constexpr const char* kGetPatchCaption = "Get Patch";
inline constexpr const char* kSendPatchCaption = "Send Patch";
inline constexpr const char* kGetPerformanceCaption = "Get Performance";
inline constexpr const char* kSendPerformanceCaption = "Send Performance";
inline constexpr const char* kGetSystemCaption = "Get System";
inline constexpr const char* kSendSystemCaption = "Send System";
inline constexpr const char* kGetPatternCaption = "Get Pattern";
inline constexpr const char* kSendPatternCaption = "Send Pattern";
inline constexpr const char* kGetMotionCaption = "Get Motion";
inline constexpr const char* kSendMotionCaption = "Send Motion";
inline constexpr const char* kGettingCaption = "Getting...";
inline constexpr const char* kSendingCaption = "Sending...";

// Progress texts: label and name; the 1-based item number.
inline constexpr const char* kProgressLabelName = "%s: %s";
inline constexpr const char* kProgressPattern = "Pattern %d";
inline constexpr const char* kProgressMotion = "Motion %d";

} // namespace vantorel::res
