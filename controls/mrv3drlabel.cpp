#include "controls/mrv3drlabel.h"

#include "controls/mrv3drlabel_p.h"
#include "controls/mrvcolroute.h"
#include "platform/gui/fonts.h"

#include <QFontMetrics>
#include <QPainter>

#include <cmath>
#include <cstdlib>
#include <numbers>

namespace {

constexpr int Grey = -1; // the fixed shadow colour instead of a ramp entry

struct TReliefPass {
    int DX, DY;
    int Shade; // entry of the base colour's ramp, or Grey
};

struct TStylePasses {
    int Count;
    TReliefPass Passes[3];
};

// The passes drawn before the face, in order, by style.
constexpr TStylePasses ReliefPasses[] = {
    {0, {}},                                        // mrvNo3D
    {2, {{1, 1, 4}, {-1, -1, 14}}},                 // mrvRaised
    {2, {{1, 1, 14}, {-1, -1, 4}}},                 // mrvRecessed
    {3, {{3, 3, Grey}, {1, 1, 4}, {-1, -1, 14}}},   // mrvShadowRB
    {3, {{3, -3, Grey}, {1, -1, 4}, {-1, 1, 14}}},  // mrvShadowRT
    {3, {{-3, -3, Grey}, {1, 1, 14}, {-1, -1, 4}}}, // mrvShadowLT
    {3, {{-3, 3, Grey}, {1, -1, 14}, {-1, 1, 4}}},  // mrvShadowLB
};

int Trunc(long double value) {
    return int(std::trunc(value));
}

} // namespace

TRotatedTextBox RotatedTextBox(int angle, int width, int height) {
    constexpr long double pi = std::numbers::pi_v<long double>;
    const auto radians = [&](int degrees) { return degrees * pi / 180; };
    const long double a = radians(angle), w = width, h = height;
    TRotatedTextBox box;
    if (angle <= 90) {
        box.DY = Trunc(std::sin(a) * w);
    } else if (angle <= 180) {
        box.DX = Trunc(-std::cos(a) * w);
        box.DY = Trunc(std::sin(a) * w + std::cos(radians(180 - angle)) * h);
    } else if (angle <= 270) {
        box.DX = Trunc(-std::cos(a) * w + std::sin(radians(angle - 180)) * h);
        box.DY = Trunc(std::sin(radians(270 - angle)) * h);
    } else {
        box.DX = Trunc(std::sin(radians(360 - angle)) * h);
    }
    box.Width = std::abs(Trunc(std::cos(a) * w)) + std::abs(Trunc(std::sin(a) * h));
    box.Height = std::abs(Trunc(std::sin(a) * w)) + std::abs(Trunc(std::cos(a) * h));
    return box;
}

TMRV3DRLabel::TMRV3DRLabel(TComponent *owner, QWidget *parent) : TLabel(owner, parent) {
    setFont(LayoutFont(QStringLiteral("Arial"), 20, fsBold));
    SetFontColor(FBaseColor);
}

void TMRV3DRLabel::SetTextRotation(int value) {
    if (value == FTextRotation) return;
    if (value < 0) {
        while (value < -360)
            value += 360;
        value += 360;
    }
    while (value > 360)
        value -= 360;
    FTextRotation = value;
    update();
}

void TMRV3DRLabel::SetStyle(TTextStyle value) {
    if (value == FStyle) return;
    FStyle = value;
    update();
}

void TMRV3DRLabel::SetBaseColor(TColor value) {
    FBaseColor = value;
    SetFontColor(value);
    update();
}

void TMRV3DRLabel::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    TCanvas canvas(painter);
    const TRect client{0, 0, width(), height()};
    if (!Transparent()) {
        canvas.Brush.Color = ColorToQColor(Color());
        canvas.FillRect(client);
    }
    DrawReliefText(canvas, client, TextFormat());
}

void TMRV3DRLabel::DrawReliefText(TCanvas &canvas, const TRect &rect, unsigned format) {
    const TShadeRamp ramp = BuildShadeRamp(FBaseColor);
    canvas.Font = font();
    const auto pass = [&](int dx, int dy, TColor color) {
        TRect shifted{rect.Left + dx, rect.Top + dy, rect.Right + dx, rect.Bottom + dy};
        canvas.FontColor = ColorToQColor(color);
        if (FTextRotation != 0)
            DrawRotatedText(canvas, shifted, Caption(), FTextRotation);
        else
            canvas.DrawText(shifted, Caption(), format);
    };
    const TStylePasses &style = ReliefPasses[FStyle];
    for (int i = 0; i < style.Count; ++i) {
        const TReliefPass &p = style.Passes[i];
        pass(p.DX, p.DY, p.Shade == Grey ? TColor(clGray) : ramp[p.Shade]);
    }
    pass(0, 0, isEnabled() ? FontColor() : TColor(clGrayText));
}

void TMRV3DRLabel::DrawRotatedText(TCanvas &canvas, const TRect &rect, const QString &text,
                                   int angle) {
    QPoint start(rect.Left, rect.Top);
    PlaceRotatedText(start, angle, text);
    canvas.TextOut(start.x(), start.y(), text, angle * 10);
}

// The label's size follows the turned text while it paints, once per pass, as the text's
// box is known only then.
void TMRV3DRLabel::PlaceRotatedText(QPoint &start, int angle, const QString &text) {
    const QFontMetrics metrics(font());
    const TRotatedTextBox box =
        RotatedTextBox(angle, metrics.horizontalAdvance(text), metrics.height());
    start += QPoint(box.DX, box.DY);
    if (AutoSize())
        resize(box.Width, box.Height);
    else if (Alignment() == TAlignment::taCenter)
        start.rx() += (width() - box.Width) / 2;
    else if (Alignment() == TAlignment::taRightJustify)
        start.rx() += width() - box.Width;
}
