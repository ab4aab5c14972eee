// The copy cursors: the arrow pointer, a small stack of list rows and a
// framed box naming what is picked up.
#include <QPainter>

#include <array>
#include <map>

#include "res/Images.h"
#include "res/TinyFont.h"

namespace vantorel::res {

namespace {
constexpr QRgb kBlack = 0xFF000000;
constexpr QRgb kWhite = 0xFFFFFFFF;

// '#' outline, '.' fill; the tip is the hot spot (0, 0).
constexpr std::array<const char*, 17> kArrow{{
    "#",
    "##",
    "#.#",
    "#..#",
    "#...#",
    "#....#",
    "#.....#",
    "#......#",
    "#.......#",
    "#........#",
    "#.....#####",
    "#..#..#",
    "#.# #..#",
    "##  #..#",
    "#    #..#",
    "     #..#",
    "      ##",
}};

std::map<int, const char*>& Labels()
{
    static std::map<int, const char*> labels;
    return labels;
}

const char* LabelFor(int nCursorId)
{
    const auto it = Labels().find(nCursorId);
    return it == Labels().end() ? nullptr : it->second;
}

// (x0, y0) to (x1, y1) inclusive, in logical pixels.
void FillRect(QImage& img, int x0, int y0, int x1, int y1, QRgb c)
{
    QPainter p(&img);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.fillRect(QRectF(x0, y0, x1 - x0 + 1, y1 - y0 + 1), QColor::fromRgba(c));
}

void FrameRect(QImage& img, int x0, int y0, int x1, int y1, QRgb outline, QRgb fill)
{
    FillRect(img, x0, y0, x1, y1, outline);
    FillRect(img, x0 + 1, y0 + 1, x1 - 1, y1 - 1, fill);
}
} // namespace

int DefineCopyCursor(int nCursorId, const char* szLabel)
{
    Labels()[nCursorId] = szLabel;
    return nCursorId;
}

QImage CopyCursorImage(int nCursorId, qreal scale)
{
    const char* label = LabelFor(nCursorId);
    if (!label)
        return {};
    QImage img = ScaledImage(kCursorSize, kCursorSize, scale);

    for (int y = 0; y < int(kArrow.size()); ++y)
        for (int x = 0; kArrow[y][x] != '\0'; ++x) {
            const char ch = kArrow[y][x];
            if (ch == '#')
                FillRect(img, x, y, x, y, kBlack);
            else if (ch == '.')
                FillRect(img, x, y, x, y, kWhite);
        }

    // Three list rows, each a frame with a short name line in it.
    for (int r = 0; r < 3; ++r) {
        const int top = 2 + r * 5;
        FrameRect(img, 14, top, 30, top + 5, kBlack, kWhite);
        FillRect(img, 16, top + 2, 18, top + 3, kBlack);
        FillRect(img, 20, top + 2, 20 + 6 + (r * 3) % 5, top + 3, kBlack);
    }

    // The label box, centred under the rows.
    const int textWidth = TinyTextWidth(label);
    const int boxLeft = 31 - (textWidth + 6);
    FrameRect(img, boxLeft - 1, 20, 31, 31, kWhite, kWhite); // white halo keeps it legible on dark windows
    FrameRect(img, boxLeft, 21, 30, 30, kBlack, kWhite);
    DrawTinyText(img, boxLeft + 3, 23, label, kBlack);
    return img;
}

} // namespace vantorel::res
