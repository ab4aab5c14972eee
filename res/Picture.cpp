// Bitmap 136, the About box's hidden picture: an instrument panel with a
// scope showing two waveforms above a three-octave keyboard, in the sixteen
// classic display colours.
#include <QPainter>
#include <QVector>

#include <cmath>

#include "res/Images.h"

namespace vantorel::res {

namespace {
const QVector<QRgb>& Palette16()
{
    static const QVector<QRgb> palette{
        0xFF000000, 0xFF000080, 0xFF008000, 0xFF008080, 0xFF800000, 0xFF800080, 0xFF808000, 0xFFC0C0C0,
        0xFF808080, 0xFF0000FF, 0xFF00FF00, 0xFF00FFFF, 0xFFFF0000, 0xFFFF00FF, 0xFFFFFF00, 0xFFFFFFFF,
    };
    return palette;
}

QColor C(int index)
{
    return QColor::fromRgb(Palette16()[index]);
}

enum {
    kBlack = 0,
    kNavy = 1,
    kTeal = 3,
    kMaroon = 4,
    kSilver = 7,
    kGray = 8,
    kLime = 10,
    kCyan = 11,
    kRed = 12,
    kYellow = 14,
    kWhite = 15
};

void DrawScope(QPainter& p)
{
    const QRect scope(24, 18, 272, 104);
    p.setPen(C(kGray));
    p.setBrush(C(kBlack));
    p.drawRect(scope);
    p.setPen(C(kTeal));
    for (int x = scope.left() + 34; x < scope.right(); x += 34)
        p.drawLine(x, scope.top() + 1, x, scope.bottom() - 1);
    for (int y = scope.top() + 26; y < scope.bottom(); y += 26)
        p.drawLine(scope.left() + 1, y, scope.right() - 1, y);

    const double pi = std::acos(-1.0);
    const int mid = scope.center().y();
    // A decaying sine, the way a plucked note looks.
    QPen cyan(C(kCyan));
    cyan.setWidth(2);
    p.setPen(cyan);
    QPoint last;
    for (int x = scope.left() + 4; x < scope.right() - 3; ++x) {
        const double t = double(x - scope.left()) / scope.width();
        const double y = 40.0 * std::exp(-1.6 * t) * std::sin(2 * pi * t * 6.5);
        const QPoint pt(x, mid - int(std::lround(y)));
        if (x > scope.left() + 4)
            p.drawLine(last, pt);
        last = pt;
    }
    // A sawtooth an octave up, in the lower half.
    p.setPen(C(kYellow));
    for (int x = scope.left() + 4; x < scope.right() - 3; ++x) {
        const int phase = (x - scope.left()) % 34;
        const int y = mid + 30 - phase / 2;
        p.drawPoint(x, y);
        if (phase == 33)
            p.drawLine(x, y, x + 1, mid + 30);
    }
}

void DrawPanel(QPainter& p)
{
    p.setPen(C(kGray));
    p.setBrush(C(kSilver));
    p.drawRect(12, 128, 296, 18);
    // Knobs and a power light.
    for (int k = 0; k < 6; ++k) {
        p.setPen(C(kBlack));
        p.setBrush(C(kGray));
        p.drawEllipse(24 + k * 22, 131, 11, 11);
        p.setPen(C(kWhite));
        p.drawLine(29 + k * 22, 133, 29 + k * 22, 136);
    }
    p.setPen(C(kMaroon));
    p.setBrush(C(kRed));
    p.drawEllipse(284, 133, 8, 8);
    p.setPen(C(kBlack));
    p.setBrush(C(kLime));
    p.drawRect(172, 132, 90, 10);
    p.setPen(C(kBlack));
    for (int x = 176; x < 258; x += 6)
        p.drawLine(x, 134, x + 2, 140);
}

void DrawKeyboard(QPainter& p)
{
    const int whiteCount = 21;
    const int left = 12, top = 150, keyWidth = 14, height = 78;
    p.setPen(C(kBlack));
    p.setBrush(C(kWhite));
    for (int k = 0; k < whiteCount; ++k)
        p.drawRect(left + k * keyWidth, top, keyWidth, height);
    // Black keys follow every white key but E and B.
    p.setBrush(C(kBlack));
    for (int k = 0; k < whiteCount - 1; ++k) {
        const int inOctave = k % 7;
        if (inOctave == 2 || inOctave == 6)
            continue;
        p.drawRect(left + k * keyWidth + keyWidth - 4, top, 8, height * 3 / 5);
    }
    // One key held down.
    p.setBrush(C(kCyan));
    p.drawRect(left + 9 * keyWidth + 1, top + height * 3 / 5 + 1, keyWidth - 2, height * 2 / 5 - 2);
}
} // namespace

QImage PictureImage()
{
    QImage img(kPictureWidth, kPictureHeight, QImage::Format_RGB32);
    img.fill(C(kNavy));
    {
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(C(kGray));
        p.setBrush(Qt::NoBrush);
        p.drawRect(4, 4, kPictureWidth - 9, kPictureHeight - 9);
        DrawScope(p);
        DrawPanel(p);
        DrawKeyboard(p);
    }
    return img.convertToFormat(QImage::Format_Indexed8, Palette16(), Qt::ThresholdDither | Qt::AvoidDither);
}

} // namespace vantorel::res
