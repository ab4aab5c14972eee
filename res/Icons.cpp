// Icons: the program's (a small keyboard on a panel) and a document kind's
// (a page with a coloured band and the kind's short name).
#include <QPainter>

#include "res/Images.h"
#include "res/TinyFont.h"

namespace vantorel::res {

namespace {
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

} // namespace

QImage DocumentIconImage(const char* szLabel, QRgb band)
{
    QImage img(32, 32, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setPen(Qt::black);
    p.setBrush(Qt::white);
    p.drawRect(5, 1, 21, 29);
    p.fillRect(6, 2, 20, 7, QColor::fromRgba(band));
    // List rows on the page.
    p.setPen(QColor(0x80, 0x80, 0x80));
    for (int y = 19; y < 29; y += 3)
        p.drawLine(8, y, 23, y);
    p.end();
    DrawTinyText(img, 16 - TinyTextWidth(szLabel) / 2, 11, szLabel, 0xFF000000);
    return img;
}

QImage IconImage(int nIconId)
{
    return nIconId == kIconApp ? AppIcon() : QImage();
}

} // namespace vantorel::res
