// Icons: the program's (a small keyboard on a panel) and one per document
// kind (a page with a coloured band and the kind's short name).
#include <QPainter>

#include "res/Images.h"
#include "res/TinyFont.h"

namespace vantorel::res {

namespace {
struct KindLook {
    int nId;
    const char* szLabel;
    QRgb band;
};
constexpr KindLook kKinds[] = {
    {130, "PAT", 0xFF2060C0}, {131, "PFM", 0xFF20A040}, {132, "SYP", 0xFFC08020},
    {133, "PTN", 0xFF9030B0}, {134, "MTN", 0xFFC03030},
};

QImage AppIcon()
{
    QImage img(32, 32, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setPen(QColor(0x20, 0x20, 0x30));
    p.setBrush(QColor(0x30, 0x38, 0x50));
    p.drawRect(1, 5, 29, 22);
    // A short waveform on the panel.
    p.setPen(QColor(0x60, 0xE0, 0xF0));
    const int wave[] = {12, 10, 9, 10, 12, 14, 15, 14};
    for (int x = 4; x < 28; ++x)
        p.drawPoint(x, wave[x % 8] - 2);
    // Keys: eight white keys with black keys between.
    p.setPen(Qt::black);
    p.setBrush(Qt::white);
    for (int k = 0; k < 7; ++k)
        p.drawRect(2 + k * 4, 16, 4, 10);
    p.setBrush(Qt::black);
    for (int k : {0, 1, 3, 4, 5})
        p.drawRect(5 + k * 4, 16, 2, 6);
    return img;
}

QImage KindIcon(const KindLook& look)
{
    QImage img(32, 32, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setPen(Qt::black);
    p.setBrush(Qt::white);
    p.drawRect(5, 1, 21, 29);
    p.fillRect(6, 2, 20, 7, QColor::fromRgba(look.band));
    // List rows on the page.
    p.setPen(QColor(0x80, 0x80, 0x80));
    for (int y = 19; y < 29; y += 3)
        p.drawLine(8, y, 23, y);
    p.end();
    DrawTinyText(img, 16 - TinyTextWidth(look.szLabel) / 2, 11, look.szLabel, 0xFF000000);
    return img;
}
} // namespace

QImage IconImage(int nIconId)
{
    if (nIconId == kIconApp)
        return AppIcon();
    for (const KindLook& k : kKinds)
        if (k.nId == nIconId)
            return KindIcon(k);
    return {};
}

} // namespace vantorel::res
