#include "framework/gui/DC.h"

#include <QFontMetricsF>
#include <algorithm>
#include <cstdlib>
#include <map>
#include <tuple>

namespace vantorel {

QFont MakeFont(const CFontSpec& spec)
{
    using Key = std::tuple<int, int, int, std::string>;
    static std::map<Key, QFont> cache;
    const Key key{spec.nHeight, spec.nWidth, spec.nWeight, spec.szFace};
    if (auto it = cache.find(key); it != cache.end())
        return it->second;

    QFont font(QString::fromLatin1(spec.szFace));
    font.setStyleHint(QFont::TypeWriter);
    font.setWeight(spec.nWeight >= 700 ? QFont::Bold : QFont::Normal);
    // The requested height is the whole cell (ascent + descent): find the
    // largest pixel size whose cell still fits.
    int px = spec.nHeight;
    font.setPixelSize(px);
    while (px > 4 && QFontMetricsF(font).height() > spec.nHeight + 0.01) {
        font.setPixelSize(--px);
    }
    if (spec.nWidth > 0) {
        // Keep the pitch: each character advances exactly nWidth pixels.
        const qreal advance = QFontMetricsF(font).horizontalAdvance(QLatin1Char('M'));
        font.setLetterSpacing(QFont::AbsoluteSpacing, spec.nWidth - advance);
    }
    cache.emplace(key, font);
    return font;
}

CDC::CDC(QPainter& painter) : m_painter(painter)
{
    m_painter.setRenderHint(QPainter::Antialiasing, false);
    m_painter.setBackgroundMode(Qt::TransparentMode);
}

void CDC::FillSolidRect(const CRect& rc, const QColor& color)
{
    if (rc.right <= rc.left || rc.bottom <= rc.top)
        return;
    m_painter.fillRect(QRect(rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top), color);
}

void CDC::SelectPen(const QColor& color)
{
    m_pen = color;
}

void CDC::MoveTo(int x, int y)
{
    m_current = QPoint(x, y);
}

void CDC::LineTo(int x, int y)
{
    const QPoint from = m_current;
    const QPoint to(x, y);
    m_current = to;
    if (from == to)
        return;
    // Leave the end point unpainted: stop one pixel short along the line.
    const int dx = to.x() - from.x();
    const int dy = to.y() - from.y();
    const int steps = std::max(std::abs(dx), std::abs(dy));
    const QPoint last(from.x() + (steps > 1 ? dx * (steps - 1) / steps : 0),
                      from.y() + (steps > 1 ? dy * (steps - 1) / steps : 0));
    QPen pen(m_pen);
    pen.setWidth(1);
    pen.setCosmetic(true);
    pen.setCapStyle(Qt::SquareCap);
    m_painter.setPen(pen);
    if (steps == 1)
        m_painter.drawPoint(from);
    else
        m_painter.drawLine(from, last);
}

void CDC::SelectFont(const CFontSpec& spec)
{
    const QFont font = MakeFont(spec);
    m_painter.setFont(font);
    m_nAscent = int(QFontMetricsF(font).ascent() + 0.5);
}

void CDC::SetTextColor(const QColor& color)
{
    m_text = color;
}

void CDC::TextOut(int x, int y, const QString& text)
{
    m_painter.setPen(m_text);
    m_painter.drawText(QPoint(x, y + m_nAscent), text);
}

} // namespace vantorel
