#include "editors/popupcalendar.h"

#include "editors/edge_p.h"
#include "platform/gui/accessibility.h"
#include "platform/gui/canvas.h"
#include "platform/base/exceptions.h"
#include "platform/gui/fonts.h"
#include "platform/base/formatsettings.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

#include <cmath>

namespace {

constexpr int PopupWidth = 187;
constexpr int PopupHeight = 124;
constexpr int StripHeight = 18;
constexpr int StepButtonSize = 14;

// The client panel: the parent's colour inside a raised one-pixel bevel. Presses and
// releases on it stay here rather than reaching the window.
class TBevelPanel : public QWidget {
public:
    TBevelPanel(QWidget *parent, bool bevel) : QWidget(parent), FBevel(bevel) {
        setAttribute(Qt::WA_StyledBackground, false);
    }

protected:
    void paintEvent(QPaintEvent *) override {
        QPainter painter(this);
        TCanvas canvas(painter);
        canvas.Pen.Style = TPenStyle::psClear;
        canvas.Brush.Color = palette().color(QPalette::Window);
        canvas.FillRect({0, 0, width(), height()});
        if (!FBevel) return;
        canvas.Pen.Style = TPenStyle::psSolid;
        DrawEdge(canvas, {0, 0, width(), height()}, ColorToQColor(clBtnHighlight),
                 ColorToQColor(clBtnShadow));
    }
    void mousePressEvent(QMouseEvent *) override {}
    void mouseReleaseEvent(QMouseEvent *) override {}

private:
    bool FBevel;
};

// The month's name: transparent, centred; a double click shows today.
class TMonthTitle : public QLabel {
public:
    TMonthTitle(QWidget *parent, std::function<void()> onDoubleClick)
        : QLabel(parent), FOnDoubleClick(std::move(onDoubleClick)) {
        setAlignment(Qt::AlignCenter);
        setAutoFillBackground(false);
    }

protected:
    void mousePressEvent(QMouseEvent *) override {}
    void mouseReleaseEvent(QMouseEvent *) override {}
    void mouseDoubleClickEvent(QMouseEvent *event) override {
        if (event->button() == Qt::LeftButton) FOnDoubleClick();
    }

private:
    std::function<void()> FOnDoubleClick;
};

QFont MessageFont() {
    return LayoutFont(QStringLiteral("MS Sans Serif"), 8);
}

} // namespace

TPopupCalendar::TPopupCalendar(TCustomComboEdit *owner) : TPopupWindow(owner) {
    resize(std::max(PopupWidth, 180), std::max(PopupHeight, 120));
    setFont(MessageFont());
    SetColor(clBtnFace);
    if (IsDesigning()) return;

    // Inside the window's thin border.
    FPanel = new TBevelPanel(this, true);
    FPanel->setGeometry(1, 1, width() - 2, height() - 2);
    FStrip = new TBevelPanel(FPanel, false);
    const int w = width() - 4;
    FStrip->setGeometry(1, 1, w, StripHeight);
    FGrid = new TLocCalendar(this, FPanel);
    FGrid->setGeometry(1, 1 + StripHeight, w, FPanel->height() - 2 - StripHeight);
    FGrid->OnChange = [this](TObject *) { UpdateTitle(); };
    FGrid->OnMouseUp = [this](QMouseEvent *event) {
        int col, row;
        if (event->button() == Qt::LeftButton && event->modifiers() == Qt::NoModifier &&
            FGrid->CellAt(event->position().toPoint(), col, row) && row > 0 &&
            !FGrid->DayCellText(col, row).isEmpty())
            RequestClose(true);
    };

    struct Button {
        int Left;
        const char *Glyph;
        const char *Hint;
        void (TMonthCalendar::*Move)();
        QKeyCombination Key; // forwarded by the field
    };
    const Button buttons[4] = {
        {-1, "PREV2", "Previous Year|", &TMonthCalendar::YearBack, Qt::CTRL | Qt::Key_PageUp},
        {12, "PREV1", "Previous Month|", &TMonthCalendar::MonthBack, Qt::Key_PageUp},
        {w - 26, "NEXT1", "Next Month|", &TMonthCalendar::MonthForward, Qt::Key_PageDown},
        {w - 13, "NEXT2", "Next Year|", &TMonthCalendar::YearForward, Qt::CTRL | Qt::Key_PageDown},
    };
    for (int i = 0; i < 4; ++i) {
        auto *button = new TTimerSpeedButton(this, FStrip);
        button->setGeometry(buttons[i].Left, -1, StepButtonSize, StepButtonSize);
        button->SetGlyph(LoadGlyphResource(QString::fromLatin1(buttons[i].Glyph)));
        button->setToolTip(QString::fromLatin1(buttons[i].Hint).section(u'|', 0, 0));
        const auto move = buttons[i].Move;
        button->OnClick = [this, button, move](TObject *) { Step(move, button); };
        AddAccessibleKeys(*button, {QKeySequence(buttons[i].Key)});
        FStepButtons[i] = button;
    }
    FTitle = new TMonthTitle(FStrip, [this] { FGrid->SetCalendarDate(CurrentDateSerial()); });
    FTitle->setGeometry(29, 1, w - 58, 14);
    UpdateTitle();
    // The two panels only draw: to a screen reader the window holds the title, the step
    // buttons and the grid, which the title labels.
    setAccessibleName(QStringLiteral("Kalender"));
    SetAccessibleExposure(*FPanel, TAccessibleExposure::aeFlat);
    SetAccessibleExposure(*FStrip, TAccessibleExposure::aeFlat);
    SetAccessibleLabel(*FGrid, *FTitle);
}

void TPopupCalendar::SetColor(TColor value) {
    FColor = value;
    QPalette p = palette();
    p.setColor(QPalette::Window, ColorToQColor(value));
    setPalette(p);
    update();
}

void TPopupCalendar::ScaleBy(int numerator, int denominator) {
    const auto scale = [&](const QRect &r) {
        const auto s = [&](int v) { return int(std::lround(double(v) * numerator / denominator)); };
        return QRect(s(r.x()), s(r.y()), s(r.width()), s(r.height()));
    };
    for (QWidget *child : findChildren<QWidget *>())
        child->setGeometry(scale(child->geometry()));
    resize(scale(rect()).size());
}

void TPopupCalendar::UpdateTitle() {
    if (FTitle && FGrid)
        FTitle->setText(FormatDate(QStringLiteral("MMMM, YYYY"), FGrid->CalendarDate()));
}

void TPopupCalendar::Step(void (TMonthCalendar::*move)(), TTimerSpeedButton *button) {
    try {
        (FGrid->*move)();
    } catch (const EConvertError &) {
        if (button) button->StopRepeat();
    }
}

TVariant TPopupCalendar::ReadValue() const {
    if (IsDesigning() || !FGrid) return TVariant::FromDateTime(CurrentDateSerial());
    return TVariant::FromDateTime(FGrid->CalendarDate());
}

void TPopupCalendar::WriteValue(const TVariant &value) {
    if (IsDesigning() || !FGrid) return;
    try {
        QString text = value.AsString();
        text.remove(FormatSettings().DateSeparator);
        if (value.IsEmpty() || text.trimmed().isEmpty())
            FGrid->SetCalendarDate(CurrentDateSerial());
        else
            FGrid->SetCalendarDate(value.AsDateTime());
    } catch (const Exception &) {
        FGrid->SetCalendarDate(CurrentDateSerial());
    }
    UpdateTitle();
}

void TPopupCalendar::KeyDown(TKeyCode &key, TShiftState shift) {
    if (!FGrid) return;
    if (key == VK_NEXT || key == VK_PRIOR) {
        const bool ctrl = shift & ssCtrl;
        if (key == VK_NEXT)
            Step(ctrl ? &TMonthCalendar::YearForward : &TMonthCalendar::MonthForward, nullptr);
        else
            Step(ctrl ? &TMonthCalendar::YearBack : &TMonthCalendar::MonthBack, nullptr);
        key = 0;
        return;
    }
    FGrid->KeyDown(key, shift);
}

void TPopupCalendar::KeyPress(QChar &key) {
    if (FGrid && !key.isNull()) FGrid->KeyPress(key);
}

// The thin border round the window.
void TPopupCalendar::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    TCanvas canvas(painter);
    canvas.Brush.Color = ColorToQColor(FColor);
    canvas.Pen.Color = ColorToQColor(clWindowFrame);
    canvas.Rectangle(0, 0, width(), height());
}

TPopupCalendar *CreateCalendarPopup(TCustomComboEdit *owner, Qt::LayoutDirection direction) {
    auto *popup = new TPopupCalendar(owner);
    if (!owner || popup->IsDesigning()) return popup;
    popup->setLayoutDirection(direction);
    // The grid and the title inherit the window's font, which is given in points and so
    // already follows the resolution; the sizes are in pixels and must be scaled.
    const QScreen *screen = owner->screen();
    const int dpi = screen ? qRound(screen->logicalDotsPerInch()) : 96;
    if (dpi != 96) popup->ScaleBy(dpi, 96);
    return popup;
}

void ApplyCalendarSettings(TPopupWindow *window, TDayOfWeekName startOfWeek, TDaysOfWeek weekends,
                           bool fourDigitYear, const QStringList &hints, TColor weekendColor) {
    auto *calendar = dynamic_cast<TPopupCalendar *>(window);
    if (!calendar) return;
    calendar->SetFourDigitYear(fourDigitYear);
    if (TLocCalendar *grid = calendar->CalendarGrid()) {
        grid->SetStartOfWeek(startOfWeek);
        grid->SetWeekendColor(weekendColor);
        grid->SetWeekends(weekends);
    }
    for (int i = 0; i < std::min<int>(int(hints.size()), 4); ++i)
        if (!hints[i].isEmpty())
            calendar->StepButton(TPopupCalendar::TStepButton(i))
                ->setToolTip(hints[i].section(u'|', 0, 0));
}
