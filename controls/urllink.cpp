#include "controls/urllink.h"

#include "platform/gui/canvas.h"
#include "platform/core/desktop.h"
#include "platform/base/exceptions.h"
#include "platform/gui/keys.h"

#include <QKeyEvent>
#include <QPainter>
#include <QUrl>

TURLLink::TURLLink(TComponent *owner, QWidget *parent) : TLabel(owner, parent) {
    setFocusPolicy(Qt::TabFocus);
    SetFont(FFont);
    FNormalFont = FFont;
    OnClick = [this](TObject *sender) { OpenLink(sender); };
}

void TURLLink::SetFont(const TFont &value) {
    FFont = value;
    setFont(value.ToQFont());
    SetFontColor(value.Color);
}

namespace {

Exception NoProgramFor(const QString &link, const QString &scheme) {
    const QString program = scheme.compare(QLatin1String("mailto"), Qt::CaseInsensitive) == 0
                                ? QStringLiteral("kein E-Mail-Programm")
                                : QStringLiteral("kein Webbrowser");
    return Exception(Exception::Format(
        QStringLiteral("Der Link „%s“ kann nicht geöffnet werden: Es ist %s eingerichtet."),
        {link, program}));
}

} // namespace

void TURLLink::OpenLink(TObject *) {
    if (FLink.isEmpty()) return;
    const QString scheme = QUrl(FLink).scheme();
    for (const char *allowed : {"http", "https", "mailto"})
        if (scheme.compare(QLatin1String(allowed), Qt::CaseInsensitive) == 0) {
            if (!Desktop().OpenUrl(FLink)) ReportException(NoProgramFor(FLink, scheme));
            return;
        }
}

// Qt tells a disabled label of the pointer too, so the font follows it in either state.
void TURLLink::enterEvent(QEnterEvent *event) {
    TLabel::enterEvent(event);
    FNormalFont = FFont;
    SetFont(FFocusFont);
    if (OnMouseEnter) OnMouseEnter(this);
}

void TURLLink::leaveEvent(QEvent *event) {
    TLabel::leaveEvent(event);
    SetFont(FNormalFont);
    if (OnMouseLeave) OnMouseLeave(this);
}

// The window's shortcuts on the same keys wait while the link has the focus.
bool TURLLink::event(QEvent *event) {
    if (event->type() == QEvent::ShortcutOverride) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (IsClickKey(*key)) {
            event->accept();
            return true;
        }
    }
    return TLabel::event(event);
}

bool TURLLink::IsClickKey(const QKeyEvent &event) {
    const TKeyCode key = VirtualKeyOf(event);
    return (key == VK_RETURN || key == VK_SPACE) && ShiftStateOf(event.modifiers()) == 0;
}

void TURLLink::keyPressEvent(QKeyEvent *event) {
    if (IsClickKey(*event))
        Click();
    else
        TLabel::keyPressEvent(event);
}

void TURLLink::focusInEvent(QFocusEvent *event) {
    TLabel::focusInEvent(event);
    update();
}

void TURLLink::focusOutEvent(QFocusEvent *event) {
    TLabel::focusOutEvent(event);
    update();
}

// The platform's focus frame: a dotted rectangle along the label's edges.
void TURLLink::paintEvent(QPaintEvent *event) {
    TLabel::paintEvent(event);
    if (!hasFocus()) return;
    QPainter painter(this);
    TCanvas canvas(painter);
    const QColor color = ColorToQColor(FontColor());
    for (int x = 0; x < width(); x += 2) {
        canvas.SetPixel(x, 0, color);
        canvas.SetPixel(x, height() - 1, color);
    }
    for (int y = 0; y < height(); y += 2) {
        canvas.SetPixel(0, y, color);
        canvas.SetPixel(width() - 1, y, color);
    }
}
