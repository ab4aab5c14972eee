#pragma once
// The program's images, drawn in code so the tree holds no binaries: copy
// cursors, toolbar buttons, icons and the About box's hidden picture.
#include <QImage>

namespace vantorel::res {

// Cursor ids of the six copy cursors.
inline constexpr int kCursorPatch = 140;
inline constexpr int kCursorPerformance = 141;
inline constexpr int kCursorSystem = 142;
inline constexpr int kCursorPattern = 143;
inline constexpr int kCursorMotion = 144;
inline constexpr int kCursorTxRx = 145;
inline constexpr int kCursorSize = 32;

// A 32 x 32 two-colour copy cursor (black, white, transparent), hot spot at
// (0, 0); a null image for an unknown id.
QImage CopyCursorImage(int nCursorId);

// Toolbar buttons, 16 x 15: the program's own, and a Get (bGet) or Send of
// a document kind, an arrow with the kind's short name in its colour.
inline constexpr int kToolbarImageWidth = 16;
inline constexpr int kToolbarImageHeight = 15;
enum class EButtonImage { New, Open, Save, Preview, ClearCopyBuffer, About, Library };
QImage ToolbarImage(EButtonImage button);
QImage TransferButtonImage(bool bGet, const char* szLabel, QRgb colour);

// Icons, 32 x 32: 128 is the program's; a document kind's is a page with a
// band in its colour and its short name.
inline constexpr int kIconApp = 128;
QImage IconImage(int nIconId);
QImage DocumentIconImage(const char* szLabel, QRgb band);

// Bitmap 136: the About box's hidden picture, 320 x 240 in 16 colours.
inline constexpr int kPictureWidth = 320;
inline constexpr int kPictureHeight = 240;
QImage PictureImage();

} // namespace vantorel::res
