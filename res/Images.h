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

// Toolbar resource 128: sixteen 16 x 15 images in button order.
inline constexpr int kToolbarImageCount = 16;
inline constexpr int kToolbarImageWidth = 16;
inline constexpr int kToolbarImageHeight = 15;
QImage ToolbarImage(int nIndex);

// Icons: 128 is the program's, 130 to 134 the document kinds'. 32 x 32.
inline constexpr int kIconApp = 128;
QImage IconImage(int nIconId);

// Bitmap 136: the About box's hidden picture, 320 x 240 in 16 colours.
inline constexpr int kPictureWidth = 320;
inline constexpr int kPictureHeight = 240;
QImage PictureImage();

} // namespace vantorel::res
