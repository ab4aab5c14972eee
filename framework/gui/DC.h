#pragma once
// A small device context over QPainter with the drawing rules the list
// windows are written for: rectangle fills cover left/top but not right/bottom,
// a line from MoveTo to LineTo leaves its end point unpainted, text is placed
// by its top-left corner, and fonts are asked for by cell height and average
// character width.
#include <QColor>
#include <QFont>
#include <QPainter>
#include <QPoint>
#include <QString>

#include "framework/core/Rect.h"

namespace vantorel {

inline QColor RGB(int r, int g, int b)
{
    return QColor(r, g, b);
}

// What a list window asks of a font: cell height and average width in pixels,
// weight (400 normal) and face name. Other attributes are the defaults.
struct CFontSpec {
    int nHeight = 14;
    int nWidth = 7;
    int nWeight = 400;
    const char* szFace = "Courier New";
};

// The QFont that draws spec at the requested cell height and character pitch.
QFont MakeFont(const CFontSpec& spec);

class CDC {
public:
    explicit CDC(QPainter& painter);

    void FillSolidRect(const CRect& rc, const QColor& color);
    void SelectPen(const QColor& color); // solid, one pixel wide
    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    void SelectFont(const CFontSpec& spec);
    void SetTextColor(const QColor& color);
    // Text in the platform's 8-bit character set, top-left at (x, y).
    void TextOut(int x, int y, const QString& text);

private:
    QPainter& m_painter;
    QPoint m_current;
    QColor m_pen = Qt::black;
    QColor m_text = Qt::black;
    int m_nAscent = 0;
};

} // namespace vantorel
