#include "res/TinyFont.h"

#include <QPainter>

#include <array>

namespace vantorel::res {

namespace {
struct Glyph {
    char ch;
    int width;
    std::array<const char*, 5> rows;
};

// Only the letters the labels use.
constexpr std::array<Glyph, 16> kGlyphs{{
    {'A', 3, {".#.", "#.#", "###", "#.#", "#.#"}},
    {'F', 3, {"###", "#..", "##.", "#..", "#.."}},
    {'M', 5, {"#...#", "##.##", "#.#.#", "#...#", "#...#"}},
    {'N', 4, {"#..#", "##.#", "#.##", "#..#", "#..#"}},
    {'P', 3, {"###", "#.#", "###", "#..", "#.."}},
    {'R', 3, {"##.", "#.#", "##.", "#.#", "#.#"}},
    {'S', 3, {"###", "#..", "###", "..#", "###"}},
    {'T', 3, {"###", ".#.", ".#.", ".#.", ".#."}},
    {'Y', 3, {"#.#", "#.#", ".#.", ".#.", ".#."}},
    {'x', 3, {"...", "...", "#.#", ".#.", "#.#"}},
    {'G', 3, {"###", "#..", "#.#", "#.#", "###"}},
    {'E', 3, {"###", "#..", "##.", "#..", "###"}},
    {'D', 3, {"##.", "#.#", "#.#", "#.#", "##."}},
    {'?', 3, {"##.", "..#", ".#.", "...", ".#."}},
    {'C', 3, {"###", "#..", "#..", "#..", "###"}},
    {'B', 3, {"##.", "#.#", "##.", "#.#", "##."}},
}};

const Glyph* Find(char ch)
{
    for (const Glyph& g : kGlyphs)
        if (g.ch == ch)
            return &g;
    return nullptr;
}
} // namespace

int TinyTextWidth(std::string_view text)
{
    int w = 0;
    for (char ch : text)
        if (const Glyph* g = Find(ch))
            w += g->width + 1;
    return w > 0 ? w - 1 : 0;
}

int DrawTinyText(QImage& img, int x, int y, std::string_view text, QRgb colour)
{
    QPainter p(&img);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    for (char ch : text) {
        const Glyph* g = Find(ch);
        if (!g)
            continue;
        for (int r = 0; r < 5; ++r)
            for (int c = 0; c < g->width; ++c)
                if (g->rows[r][c] == '#')
                    p.fillRect(QRectF(x + c, y + r, 1, 1), QColor::fromRgba(colour));
        x += g->width + 1;
    }
    return x;
}

} // namespace vantorel::res
