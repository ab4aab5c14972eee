#pragma once
// The program's images, drawn in code so the tree holds no binaries: copy
// cursors, toolbar buttons, icons and the About box's hidden picture.
#include <QImage>

namespace vantorel::res {

inline constexpr int kCursorSize = 32;

// The images below are drawn for a screen scale (1.5 at 150%): the image
// has that many device pixels per logical one (its devicePixelRatio) and is
// drawn at that size, so scaled screens show it crisp, not stretched.

// A copy cursor: an id and the label its box shows. Each kind of entry that
// can be picked up defines its own where its window names it (kCopyPatch in
// views/PatchCommands.h, ...). Returns nCursorId.
int DefineCopyCursor(int nCursorId, const char* szLabel);

// A 32 x 32 two-colour copy cursor (black, white, transparent), hot spot at
// (0, 0); a null image for an id not defined.
QImage CopyCursorImage(int nCursorId, qreal scale = 1.0);

// Toolbar buttons, 16 x 15: the program's own, and a Get (bGet) or Send of
// a document kind, an arrow with the kind's short name in its colour.
inline constexpr int kToolbarImageWidth = 16;
inline constexpr int kToolbarImageHeight = 15;
enum class EButtonImage { New, Open, Save, Preview, ClearCopyBuffer, About, Library };
QImage ToolbarImage(EButtonImage button, qreal scale = 1.0);
QImage TransferButtonImage(bool bGet, const char* szLabel, QRgb colour, qreal scale = 1.0);
// An image of logical size w x h for scale, transparent.
QImage ScaledImage(int w, int h, qreal scale);

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
