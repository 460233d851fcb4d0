#pragma once
// Drawing with the platform's pixel rules, over a QPainter with antialiasing off: a line
// includes its start point and excludes its end point; a rectangle, ellipse or rounded
// rectangle from (x1, y1) to (x2, y2) covers x1..x2-1 and y1..y2-1, outlined in the pen and
// filled with the brush. The controls draw through this, never through QPainter directly.

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QString>

enum class TPenStyle { psSolid, psClear };
enum class TBrushStyle { bsSolid, bsClear };

struct TPen {
    QColor Color = Qt::black;
    int Width = 1;
    TPenStyle Style = TPenStyle::psSolid;
};

struct TBrush {
    QColor Color = Qt::white;
    TBrushStyle Style = TBrushStyle::bsSolid;
};

// Right and Bottom lie just outside, as in the platform's rectangles.
struct TRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    QRect ToQRect() const { return QRect(Left, Top, Width(), Height()); }
    bool operator==(const TRect &) const = default;
};

// Text format flags, with the platform's values.
enum TTextFormat : unsigned {
    DT_LEFT = 0x0,
    DT_CENTER = 0x1,
    DT_RIGHT = 0x2,
    DT_VCENTER = 0x4,
    DT_BOTTOM = 0x8,
    DT_WORDBREAK = 0x10,
    DT_SINGLELINE = 0x20,
    DT_EXPANDTABS = 0x40,
    DT_NOCLIP = 0x100,
    DT_CALCRECT = 0x400,
    DT_NOPREFIX = 0x800,
};

class TCanvas {
public:
    // Draws on the painter's device; the painter's antialiasing is switched off for the
    // canvas's lifetime.
    explicit TCanvas(QPainter &painter);
    ~TCanvas();
    TCanvas(const TCanvas &) = delete;
    TCanvas &operator=(const TCanvas &) = delete;

    TPen Pen;
    TBrush Brush;
    QFont Font;
    QColor FontColor = Qt::black;

    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    void Rectangle(int x1, int y1, int x2, int y2);
    void Ellipse(int x1, int y1, int x2, int y2);
    // Corners are quarter ellipses of width w and height h.
    void RoundRect(int x1, int y1, int x2, int y2, int w, int h);
    void SetPixel(int x, int y, const QColor &color);
    // Fills with the brush, no outline.
    void FillRect(const TRect &rect);
    // Draws text in the rectangle (transparent background). Without DT_NOPREFIX an "&"
    // marks the next character as the accelerator and "&&" is a plain "&". With
    // DT_CALCRECT nothing is drawn and rect's Right and Bottom are set to what the text
    // needs. Gives the text's height.
    int DrawText(TRect &rect, const QString &text, unsigned format);
    // Draws text as one line with the top-left corner of its cell at (x, y), transparent and
    // without format flags (an "&" is a plain character), its baseline turned counter-clockwise
    // about that corner by escapement tenths of a degree.
    void TextOut(int x, int y, const QString &text, int escapement = 0);
    int TextWidth(const QString &text) const;
    // The font's line height, whatever the text, as the platform gives it.
    int TextHeight(const QString &text) const;

private:
    bool SolidPen() const { return Pen.Style == TPenStyle::psSolid && Pen.Width > 0; }
    void ApplyPenAndBrush();

    QPainter &FPainter;
    bool FOldAntialiasing;
    QPoint FPenPos;
};
