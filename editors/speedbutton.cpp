#include "editors/speedbutton.h"

#include "editors/accessible.h"
#include "editors/edge_p.h"
#include "pictures/storedpicture.h"
#include "platform/gui/canvas.h"
#include "platform/gui/colors.h"

#include <QEvent>
#include <QHash>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

#include <algorithm>

namespace {

enum GlyphIndex { giUp, giDisabled, giClicked };

// One image of the glyph with its see-through colour cleared.
QImage MaskedImage(const TPicture &glyph, int index, int count) {
    const int width = glyph.Width() / count;
    QImage image = glyph.Image().copy(index * width, 0, width, glyph.Height());
    image = image.convertToFormat(QImage::Format_ARGB32);
    if (const auto see = glyph.TransparentColor())
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if ((image.pixel(x, y) | 0xFF000000) == (*see | 0xFF000000))
                    image.setPixel(x, y, 0);
    return image;
}

// A glyph without a disabled image is shown engraved: its dark pixels in the shadow colour
// over a highlight copy one pixel down and right.
QImage Engraved(const QImage &image) {
    QImage result(image.width() + 1, image.height() + 1, QImage::Format_ARGB32);
    result.fill(0);
    const QRgb highlight = ColorToQColor(clBtnHighlight).rgb();
    const QRgb shadow = ColorToQColor(clBtnShadow).rgb();
    for (int pass = 0; pass < 2; ++pass)
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QRgb p = image.pixel(x, y);
                if (qAlpha(p) == 0 || qGray(p) >= 192) continue;
                if (pass == 0)
                    result.setPixel(x + 1, y + 1, highlight);
                else
                    result.setPixel(x, y, shadow);
            }
    return result;
}

} // namespace

TGlyphSpeedButton::TGlyphSpeedButton(TComponent *owner, QWidget *parent)
    : QWidget(parent), TComponent(owner) {
    InstallEditorAccessibility();
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(23, 22);
    FPress.ShowPressed = [this](bool pressed) { SetPressed(pressed); };
    FPress.Click = [this] {
        if (isEnabled()) Click();
    };
}

void TGlyphSpeedButton::SetGlyph(const TPicture &value) {
    FGlyph = value;
    update();
}

void TGlyphSpeedButton::SetNumGlyphs(int value) {
    value = std::clamp(value, 1, 4);
    if (value == FNumGlyphs) return;
    FNumGlyphs = value;
    update();
}

void TGlyphSpeedButton::SetStyle(TButtonStyle value) {
    if (value == FStyle) return;
    FStyle = value;
    update();
}

void TGlyphSpeedButton::SetAllowTimer(bool value) {
    FAllowTimer = value;
    ApplyRepeat();
}

void TGlyphSpeedButton::SetInitPause(int value) {
    FInitPause = value;
    ApplyRepeat();
}

void TGlyphSpeedButton::SetRepeatInterval(int value) {
    FRepeatInterval = value;
    ApplyRepeat();
}

void TGlyphSpeedButton::ApplyRepeat() {
    FPress.SetRepeat(FAllowTimer ? FInitPause : 0, FRepeatInterval);
}

void TGlyphSpeedButton::Click() {
    if (OnClick) OnClick(this);
}

void TGlyphSpeedButton::SetPressed(bool value) {
    if (value == FPressed) return;
    FPressed = value;
    repaint();
}

void TGlyphSpeedButton::mousePressEvent(QMouseEvent *event) {
    if (isEnabled()) FPress.Press(*event);
}

void TGlyphSpeedButton::RepeatTick() {
    FPress.Tick();
}

void TGlyphSpeedButton::StopRepeat() {
    FPress.StopRepeat();
}

void TGlyphSpeedButton::mouseMoveEvent(QMouseEvent *event) {
    FPress.Move(*event);
}

void TGlyphSpeedButton::mouseReleaseEvent(QMouseEvent *event) {
    FPress.Release(*event);
}

void TGlyphSpeedButton::changeEvent(QEvent *event) {
    QWidget::changeEvent(event);
    if (event->type() != QEvent::EnabledChange || isEnabled()) return;
    FPress.Cancel();
    update();
}

QImage TGlyphSpeedButton::GlyphImage() const {
    if (FGlyph.IsEmpty()) return {};
    const int count = std::min(FNumGlyphs, std::max(1, FGlyph.Width()));
    if (!isEnabled())
        return count > giDisabled ? MaskedImage(FGlyph, giDisabled, count)
                                  : Engraved(MaskedImage(FGlyph, giUp, count));
    if (FPressed && count > giClicked) return MaskedImage(FGlyph, giClicked, count);
    return MaskedImage(FGlyph, giUp, count);
}

void TGlyphSpeedButton::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    TCanvas canvas(painter);
    const int w = width(), h = height();
    canvas.Pen.Style = TPenStyle::psClear;
    canvas.Brush.Color = ColorToQColor(clBtnFace);
    canvas.FillRect({0, 0, w, h});
    canvas.Pen.Style = TPenStyle::psSolid;
    const QColor frame = ColorToQColor(clWindowFrame), shadow = ColorToQColor(clBtnShadow),
                 highlight = ColorToQColor(clBtnHighlight), face = ColorToQColor(clBtnFace);
    const TRect outer{0, 0, w, h}, inner{1, 1, w - 1, h - 1};
    if (FStyle == TButtonStyle::bsWin31) {
        // The old face: a dark outline round a raised or pushed-in face.
        DrawEdge(canvas, outer, frame, frame);
        if (FPressed)
            DrawEdge(canvas, inner, shadow, face);
        else
            DrawEdge(canvas, inner, highlight, shadow);
    } else if (FPressed) {
        DrawEdge(canvas, outer, frame, highlight);
        DrawEdge(canvas, inner, shadow, face);
    } else {
        DrawEdge(canvas, outer, highlight, frame);
        DrawEdge(canvas, inner, face, shadow);
    }

    const QImage glyph = GlyphImage();
    if (glyph.isNull()) return;
    const int offset = FPressed ? 1 : 0;
    const QPoint at((w - glyph.width()) / 2 + offset, (h - glyph.height()) / 2 + offset);
    painter.drawImage(at, glyph);
}

TTimerSpeedButton::TTimerSpeedButton(TComponent *owner, QWidget *parent)
    : TGlyphSpeedButton(owner, parent) {
    SetStyle(TButtonStyle::bsWin31);
    SetAllowTimer(true);
}

// Each calendar asks for the same four glyphs; pictures share their pixels, so each is decoded
// once.
TPicture LoadGlyphResource(const QString &name) {
    static QHash<QString, TPicture> decoded;
    if (const auto found = decoded.constFind(name); found != decoded.cend()) return *found;
    try {
        const TPicture glyph = LoadPictureResource(QStringLiteral(":/artwork/") + name);
        decoded.insert(name, glyph);
        return glyph;
    } catch (const EInvalidGraphic &) {
        return {};
    }
}
