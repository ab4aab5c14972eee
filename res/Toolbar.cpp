// The toolbar's 16 x 15 button images.
#include <QPainter>
#include <QPolygon>
#include <QtMath>

#include "res/Images.h"
#include "res/TinyFont.h"

namespace vantorel::res {

namespace {
constexpr QRgb kBlack = 0xFF000000;

void DrawNew(QPainter& p)
{
    p.setPen(Qt::black);
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygon({QPoint(3, 1), QPoint(9, 1), QPoint(12, 4), QPoint(12, 13), QPoint(3, 13)}));
    p.drawLine(9, 1, 9, 4);
    p.drawLine(9, 4, 12, 4);
}

void DrawOpen(QPainter& p)
{
    p.setPen(Qt::black);
    p.setBrush(QColor(0xE0, 0xC0, 0x40));
    p.drawRect(1, 4, 11, 8);
    p.drawRect(1, 3, 4, 1);
    p.setBrush(QColor(0xF8, 0xE0, 0x70));
    p.drawPolygon(QPolygon({QPoint(3, 7), QPoint(14, 7), QPoint(12, 12), QPoint(1, 12)}));
}

void DrawSave(QPainter& p)
{
    p.setPen(Qt::black);
    p.setBrush(QColor(0x20, 0x40, 0x90));
    p.drawRect(1, 1, 13, 12);
    p.fillRect(4, 2, 8, 5, Qt::white);
    p.fillRect(4, 9, 7, 4, QColor(0xC0, 0xC0, 0xC0));
    p.fillRect(8, 10, 2, 2, Qt::black);
}

} // namespace

// An arrow into (down) or out of (up) a tray, with the kind's short name.
QImage ScaledImage(int w, int h, qreal scale)
{
    QImage img(qCeil(w * scale), qCeil(h * scale), QImage::Format_ARGB32);
    img.setDevicePixelRatio(scale);
    img.fill(Qt::transparent);
    return img;
}

QImage TransferButtonImage(bool bGet, const char* szLabel, QRgb colour, qreal scale)
{
    QImage img = ScaledImage(kToolbarImageWidth, kToolbarImageHeight, scale);
    {
        QPainter p(&img);
        p.setPen(Qt::black);
        p.setBrush(QColor(0xC0, 0xC0, 0xC0));
        p.drawRect(0, 11, 8, 3);
        p.setBrush(QColor::fromRgba(colour));
        if (bGet)
            p.drawPolygon(QPolygon({QPoint(3, 1), QPoint(5, 1), QPoint(5, 5), QPoint(8, 5), QPoint(4, 10),
                                    QPoint(0, 5), QPoint(3, 5)}));
        else
            p.drawPolygon(QPolygon({QPoint(4, 0), QPoint(8, 5), QPoint(5, 5), QPoint(5, 10), QPoint(3, 10),
                                    QPoint(3, 5), QPoint(0, 5)}));
    }
    const int w = TinyTextWidth(szLabel);
    DrawTinyText(img, 16 - w, bGet ? 1 : 9, szLabel, kBlack);
    return img;
}

namespace {

void DrawPreview(QPainter& p)
{
    // An eighth note.
    p.setPen(Qt::black);
    p.setBrush(Qt::black);
    p.drawEllipse(3, 9, 5, 4);
    p.drawLine(8, 2, 8, 11);
    p.drawLine(8, 2, 12, 5);
    p.drawLine(12, 5, 12, 7);
}

void DrawClearCopy(QPainter& p)
{
    p.setPen(Qt::black);
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygon({QPoint(1, 1), QPoint(1, 11), QPoint(4, 8), QPoint(6, 12), QPoint(7, 11),
                            QPoint(5, 7), QPoint(9, 7)}));
    QPen red(QColor(0xD0, 0x20, 0x20));
    red.setWidth(2);
    p.setPen(red);
    p.drawLine(9, 8, 14, 13);
    p.drawLine(14, 8, 9, 13);
}

void DrawAbout(QImage& img)
{
    {
        QPainter p(&img);
        p.setPen(QColor(0x10, 0x30, 0x80));
        p.setBrush(QColor(0x30, 0x60, 0xC0));
        p.drawEllipse(1, 0, 13, 13);
    }
    // A question mark, each font pixel drawn 2 x 2.
    QImage glyph(3, 5, QImage::Format_ARGB32);
    glyph.fill(Qt::transparent);
    DrawTinyText(glyph, 0, 0, "?", 0xFFFFFFFF);
    QPainter p(&img);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 3; ++x)
            if (glyph.pixel(x, y) == 0xFFFFFFFF)
                p.fillRect(QRectF(5 + x * 2, 2 + y * 2, 2, 2), Qt::white);
}
} // namespace

namespace {
// Three books on a shelf and a magnifying glass: the Library window.
void DrawLibrary(QPainter& p)
{
    p.setPen(Qt::black);
    const QColor spines[] = {QColor(0x20, 0x60, 0xC0), QColor(0x20, 0xA0, 0x40), QColor(0xC0, 0x30, 0x30)};
    for (int i = 0; i < 3; ++i) {
        p.setBrush(spines[i]);
        p.drawRect(1 + i * 3, 2, 2, 11);
    }
    p.drawLine(0, 14, 15, 14);
    p.setBrush(Qt::white);
    p.drawEllipse(9, 3, 5, 5);
    p.drawLine(13, 8, 15, 11);
}
} // namespace

QImage ToolbarImage(EButtonImage button, qreal scale)
{
    QImage img = ScaledImage(kToolbarImageWidth, kToolbarImageHeight, scale);
    if (button == EButtonImage::About) {
        DrawAbout(img);
        return img;
    }
    QPainter p(&img);
    switch (button) {
    case EButtonImage::New: DrawNew(p); break;
    case EButtonImage::Open: DrawOpen(p); break;
    case EButtonImage::Save: DrawSave(p); break;
    case EButtonImage::Preview: DrawPreview(p); break;
    case EButtonImage::ClearCopyBuffer: DrawClearCopy(p); break;
    case EButtonImage::Library: DrawLibrary(p); break;
    case EButtonImage::About: break;
    }
    return img;
}

} // namespace vantorel::res
