#include "editors/accessible.h"

#include "editors/calendaraccessible_p.h"
#include "editors/comboedit.h"
#include "editors/monthcalendar.h"
#include "editors/popupcalendar.h"
#include "platform/gui/accessibility.h"

#include <QAccessible>
#include <QLabel>

#include <algorithm>
#include <utility>

namespace {

// The field as its text interface gives it: what the field shows, the caret and the selection
// of the line edit while it edits that same text, none while it shows another.
class TComboEditAccessible : public TAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit TComboEditAccessible(TCustomComboEdit *field)
        : TAccessibleWidget(field, QAccessible::EditableText) {}

    void *interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface *>(this);
        return TAccessibleWidget::interface_cast(t);
    }
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value) return Field()->ShownText();
        return TAccessibleWidget::text(t);
    }
    QAccessible::State state() const override {
        QAccessible::State state = TAccessibleWidget::state();
        state.readOnly = Field()->isReadOnly();
        state.editable = !state.readOnly;
        return state;
    }

    void selection(int index, int *start, int *end) const override {
        *start = *end = 0;
        if (index != 0 || !selectionCount()) return;
        *start = Clamped(Field()->selectionStart());
        *end = Clamped(Field()->selectionEnd());
    }
    int selectionCount() const override { return Editing() && Field()->hasSelectedText(); }
    void addSelection(int start, int end) override { setSelection(0, start, end); }
    void removeSelection(int) override {
        if (Editing()) Field()->deselect();
    }
    void setSelection(int, int start, int end) override {
        if (Editing()) Field()->setSelection(start, end - start);
    }
    int cursorPosition() const override {
        return Editing() ? Clamped(Field()->cursorPosition()) : 0;
    }
    void setCursorPosition(int position) override {
        if (Editing()) Field()->setCursorPosition(position);
    }
    QString text(int start, int end) const override {
        return Field()->ShownText().mid(start, end - start);
    }
    int characterCount() const override { return int(Field()->ShownText().size()); }
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint &point) const override;
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int *start, int *end) const override {
        *start = 0;
        *end = characterCount();
        return {};
    }

private:
    TCustomComboEdit *Field() const { return static_cast<TCustomComboEdit *>(widget()); }
    // The line edit's positions count in the shown text only while it shows its own.
    bool Editing() const { return Field()->ShownTextIsEdited(); }
    int Clamped(int position) const { return std::clamp(position, 0, characterCount()); }
    int TextLeft() const {
        return Field()->ClientRect().left() + Field()->textMargins().left() + 2;
    }
};

QRect TComboEditAccessible::characterRect(int offset) const {
    const QString shown = Field()->ShownText();
    if (offset < 0 || offset >= shown.size()) return {};
    const QFontMetrics metrics(Field()->font());
    const int left = TextLeft() + metrics.horizontalAdvance(shown.left(offset));
    const QRect local(left, 0, metrics.horizontalAdvance(shown[offset]), Field()->height());
    return local.translated(Field()->mapToGlobal(QPoint(0, 0)));
}

int TComboEditAccessible::offsetAtPoint(const QPoint &point) const {
    const QString shown = Field()->ShownText();
    const QFontMetrics metrics(Field()->font());
    const int x = Field()->mapFromGlobal(point).x() - TextLeft();
    for (int offset = 0; offset < shown.size(); ++offset)
        if (x < metrics.horizontalAdvance(shown.left(offset + 1))) return x < 0 ? -1 : offset;
    return -1;
}

// Named by its accessible name or else by its hint; pressed as a click does.
class TSpeedButtonAccessible : public TAccessibleWidget {
public:
    explicit TSpeedButtonAccessible(TGlyphSpeedButton *button)
        : TAccessibleWidget(button, QAccessible::Button) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
            return widget()->toolTip();
        // The hint is the name already.
        if (t == QAccessible::Description) return widget()->accessibleDescription();
        return TAccessibleWidget::text(t);
    }
    QStringList actionNames() const override {
        return widget()->isEnabled() ? QStringList{pressAction()} : QStringList{};
    }
    void doAction(const QString &name) override {
        if (name == pressAction() && widget()->isEnabled())
            static_cast<TGlyphSpeedButton *>(widget())->Click();
    }
};

// The calendar's month title: text that labels the grid.
class TMonthTitleAccessible : public TAccessibleWidget {
public:
    explicit TMonthTitleAccessible(QLabel *title)
        : TAccessibleWidget(title, QAccessible::StaticText) {}
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) return static_cast<QLabel *>(widget())->text();
        return TAccessibleWidget::text(t);
    }
};

bool IsMonthTitle(QObject *object) {
    auto *widget = qobject_cast<QWidget *>(object);
    auto *calendar = widget ? dynamic_cast<TPopupCalendar *>(widget->window()) : nullptr;
    return calendar && calendar->MonthTitle() == object;
}

QAccessibleInterface *Factory(const QString &, QObject *object) {
    if (auto *field = dynamic_cast<TCustomComboEdit *>(object))
        return new TComboEditAccessible(field);
    if (auto *button = dynamic_cast<TGlyphSpeedButton *>(object))
        return new TSpeedButtonAccessible(button);
    if (auto *grid = dynamic_cast<TMonthCalendar *>(object)) return NewCalendarAccessible(grid);
    if (IsMonthTitle(object)) return new TMonthTitleAccessible(static_cast<QLabel *>(object));
    return nullptr;
}

} // namespace

void InstallEditorAccessibility() {
    static bool installed = false;
    if (std::exchange(installed, true)) return;
    InstallWindowAccessibility();
    QAccessible::installFactory(Factory);
}

void AnnounceCalendarSelection(TMonthCalendar &grid) {
    if (auto *access =
            dynamic_cast<TCalendarGridAccessible *>(QAccessible::queryAccessibleInterface(&grid)))
        access->SelectionMoved();
}
