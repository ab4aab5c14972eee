#pragma once
// A 5-pixel-high font for the labels inside cursors and toolbar buttons,
// where no system font is legible.
#include <QColor>
#include <QImage>
#include <string_view>

namespace vantorel::res {

// Draws text with its top-left corner at (x, y) in the image's logical
// pixels (an image made for a scaled screen gets each font pixel as a block
// of its device pixels); returns the x after it.
int DrawTinyText(QImage& img, int x, int y, std::string_view text, QRgb colour);
// Width in pixels of text (one pixel between letters).
int TinyTextWidth(std::string_view text);

} // namespace vantorel::res
