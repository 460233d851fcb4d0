#include "editors/comboedit.h"

#include "editors/accessible.h"
#include "editors/edge_p.h"
#include "platform/gui/accessibility.h"
#include "platform/gui/canvas.h"
#include "platform/base/formatsettings.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QProxyStyle>
#include <QStyle>

#include <algorithm>

namespace {

constexpr int DefaultButtonWidth = 21;
constexpr int DefaultButtonHeight = 17;
constexpr int InitialHeight = 21;

// The layouts' mask language in Qt's: "9" an optional digit, "0" a required one, "/" the
// date separator, anything else stands for itself; "!" (keep leading blanks) has no meaning
// here. The blank character follows the second ";".
QString QtInputMask(const QString &mask) {
    const QStringList parts = mask.split(u';');
    const QString &pattern = parts.value(0);
    if (pattern.isEmpty()) return {};
    static const QString special = QStringLiteral("AaNnXx90Dd#HhBb><!\\[]{}");
    const auto literal = [](QChar c) {
        return special.contains(c) ? QString(u'\\') + c : QString(c);
    };
    QString result;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern[i];
        if (c == u'!') continue;
        if (c == u'9' || c == u'0')
            result += c;
        else if (c == u'/')
            result += literal(FormatSettings().DateSeparator);
        else if (c == u'\\' && i + 1 < pattern.size())
            result += literal(pattern[++i]);
        else
            result += literal(c);
    }
    const QString blank = parts.size() > 2 ? parts[2] : QString();
    return result + u';' + (blank.isEmpty() ? QChar(u' ') : blank.front());
}

// How the line edit gives a mask back: without the blank character when that is a space.
QString AsLineEditShowsIt(const QString &qtMask) {
    return qtMask.endsWith(u"; ") ? qtMask.chopped(2) : qtMask;
}

QChar MaskBlank(const QString &qtMask) {
    const qsizetype at = qtMask.lastIndexOf(u';');
    return at >= 0 && at + 1 < qtMask.size() ? qtMask[at + 1] : QChar(u' ');
}

Qt::Alignment QtAlignment(TAlignment alignment) {
    switch (alignment) {
    case TAlignment::taRightJustify:
        return Qt::AlignRight | Qt::AlignVCenter;
    case TAlignment::taCenter:
        return Qt::AlignHCenter | Qt::AlignVCenter;
    case TAlignment::taLeftJustify:
        break;
    }
    return Qt::AlignLeft | Qt::AlignVCenter;
}

// The three dots of gkEllipsis on a white, see-through background.
TPicture EllipsisGlyph(int buttonWidth) {
    const int width = std::max(1, buttonWidth - 6);
    QImage image(width, 4, QImage::Format_RGB32);
    image.fill(Qt::white);
    const int gap = std::clamp((width - 6) / 2, 1, 3);
    const int start = (width - (6 + 2 * gap)) / 2;
    for (int dot = 0; dot < 3; ++dot)
        for (int dx = 0; dx < 2; ++dx)
            for (int dy = 1; dy <= 2; ++dy) {
                const int x = start + dot * (2 + gap) + dx;
                if (x >= 0 && x < width) image.setPixel(x, dy, qRgb(0, 0, 0));
            }
    return TPicture::FromBitmapImage(image);
}

// The combo box's arrow: a small black triangle pointing down.
TPicture DropDownGlyph() {
    QImage image(7, 4, QImage::Format_RGB32);
    image.fill(Qt::white);
    for (int y = 0; y < 4; ++y)
        for (int x = y; x < 7 - y; ++x)
            image.setPixel(x, y, qRgb(0, 0, 0));
    return TPicture::FromBitmapImage(image);
}

// Focus that leaves with the window's activation or for a menu comes back to the same
// control: only moves between controls enter and leave the field.
// Matching a key against the clipboard bindings is costly; a plain typed key never is one.
bool MayCutOrPaste(const QKeyEvent &key) {
    return (key.modifiers() & (Qt::ControlModifier | Qt::ShiftModifier)) ||
           key.key() == Qt::Key_Paste || key.key() == Qt::Key_Cut;
}

// The caret: one pixel wide, two with a bold font.
class TCaretStyle : public QProxyStyle {
public:
    int CaretWidth = 1;
    int pixelMetric(PixelMetric metric, const QStyleOption *option,
                    const QWidget *widget) const override {
        if (metric == PM_TextCursorWidth) return CaretWidth;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

} // namespace

// ---- TCustomComboEdit -------------------------------------------------------------------

TCustomComboEdit::TCustomComboEdit(TComponent *owner, QWidget *parent)
    : QLineEdit(parent), TComponent(owner) {
    InstallEditorAccessibility();
    setFrame(false);
    auto *caret = new TCaretStyle;
    caret->setParent(this);
    setStyle(caret);
    FHolder = new QWidget(this);
    FHolder->resize(DefaultButtonWidth, DefaultButtonHeight);
    FButton = new TEditButton(this, FHolder);
    FButton->resize(DefaultButtonWidth, DefaultButtonHeight);
    // The holder only places the button: the button is the field's child to a screen reader.
    SetAccessibleExposure(*FHolder, TAccessibleExposure::aeFlat);
    AddAccessibleKeys(*FButton, {QKeySequence(Qt::Key_F4)});
    FButton->OnClick = [this](TObject *) { HandleButtonClick(); };
    connect(this, &QLineEdit::textChanged, this, [this] { Change(); });
    resize(width(), InitialHeight);
    ApplyPalette();
    PlaceButton();
    FConstructing = false;
}

TCustomComboEdit::~TCustomComboEdit() {
    qApp->removeEventFilter(this);
    FButton->OnClick = nullptr;
    FreePopup();
}

QString TCustomComboEdit::Text() const {
    if (FEditMask.isEmpty()) return text();
    const QChar blank = MaskBlank(inputMask());
    QString shown = displayText();
    if (blank != u' ') shown.replace(blank, u' ');
    return shown;
}

QString TCustomComboEdit::ShownText() const {
    if (FEditMask.isEmpty()) return text();
    const QString typed = text();
    if (std::none_of(typed.begin(), typed.end(), [](QChar c) { return c.isLetterOrNumber(); }))
        return {};
    QString shown = Text();
    while (shown.endsWith(u' '))
        shown.chop(1);
    return shown;
}

void TCustomComboEdit::SetText(const QString &value) {
    setText(value);
}

void TCustomComboEdit::SetEditMask(const QString &value) {
    // Setting a mask lays the field's text out anew, which is costly.
    if (value == FEditMask && inputMask() == AsLineEditShowsIt(QtInputMask(value))) return;
    FEditMask = value;
    setInputMask(QtInputMask(value));
}

void TCustomComboEdit::SelectAll() {
    if (FDirectInput) selectAll();
}

int TCustomComboEdit::ButtonWidth() const {
    return FButton->width();
}

void TCustomComboEdit::SetButtonWidth(int value) {
    if (value == ButtonWidth() && FHolder->isVisibleTo(this) == (value > 1)) return;
    FHolder->setVisible(value > 1);
    if (FConstructing || value < ClientRect().width()) {
        FHolder->resize(value, FHolder->height());
        FButton->resize(value, FButton->height());
    }
    PlaceButton();
    RebuildGlyph();
}

QString TCustomComboEdit::ButtonHint() const {
    return FButton->toolTip();
}

void TCustomComboEdit::SetButtonHint(const QString &value) {
    FButton->setToolTip(value.section(u'|', 0, 0));
}

const TPicture &TCustomComboEdit::Glyph() const {
    return FButton->Glyph();
}

void TCustomComboEdit::SetGlyph(const TPicture &value) {
    FCustomGlyph = value;
    FGlyphKind = TGlyphKind::gkCustom;
    RebuildGlyph();
}

int TCustomComboEdit::NumGlyphs() const {
    return FButton->NumGlyphs();
}

void TCustomComboEdit::SetNumGlyphs(int value) {
    if (FGlyphKind == TGlyphKind::gkCustom) FButton->SetNumGlyphs(value);
}

void TCustomComboEdit::SetGlyphKind(TGlyphKind value) {
    if (value == FGlyphKind) return;
    FGlyphKind = value;
    if (value == TGlyphKind::gkCustom && IsLoading()) FCustomGlyph.Clear();
    // The default glyph widens the button to fit when it is chosen; a width written later
    // stands.
    if (value == TGlyphKind::gkDefault) {
        const TPicture glyph = DefaultGlyph();
        const int wanted = glyph.Width() / std::max(1, FDefaultGlyphCount) + 6;
        if (!glyph.IsEmpty() && wanted > ButtonWidth()) {
            FHolder->resize(wanted, FHolder->height());
            FButton->resize(wanted, FButton->height());
            PlaceButton();
        }
    }
    RebuildGlyph();
}

void TCustomComboEdit::RebuildGlyph() {
    switch (FGlyphKind) {
    case TGlyphKind::gkCustom:
        FButton->SetGlyph(FCustomGlyph);
        break;
    case TGlyphKind::gkDefault:
        FButton->SetGlyph(DefaultGlyph());
        FButton->SetNumGlyphs(FDefaultGlyphCount);
        break;
    case TGlyphKind::gkDropDown: {
        FButton->SetGlyph(DropDownGlyph());
        FButton->SetNumGlyphs(1);
        const int scrollWidth = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
        FHolder->resize(scrollWidth, FHolder->height());
        FButton->resize(scrollWidth, FButton->height());
        PlaceButton();
        break;
    }
    case TGlyphKind::gkEllipsis:
        FButton->SetGlyph(EllipsisGlyph(ButtonWidth()));
        FButton->SetNumGlyphs(1);
        break;
    }
}

void TCustomComboEdit::SetDirectInput(bool value) {
    FDirectInput = value;
    ApplyEditReadOnly();
}

void TCustomComboEdit::SetReadOnly(bool value) {
    if (value == FReadOnly) return;
    FReadOnly = value;
    ApplyEditReadOnly();
}

void TCustomComboEdit::ApplyEditReadOnly() {
    setReadOnly(FReadOnly || !FDirectInput);
}

void TCustomComboEdit::SetAlignment(TAlignment value) {
    if (value == FAlignment) return;
    FAlignment = value;
    setAlignment(QtAlignment(value));
}

void TCustomComboEdit::SetColor(TColor value) {
    if (value == FColor) return;
    FColor = value;
    ApplyPalette();
}

void TCustomComboEdit::ApplyPalette() {
    QPalette p = palette();
    p.setColor(QPalette::Base, ColorToQColor(FColor));
    // A disabled field shows its text in the grey-text colour, unless that is its own colour.
    const QColor grey = ColorToQColor(clGrayText);
    p.setColor(QPalette::Disabled, QPalette::Text,
               ColorToQColor(FColor) == grey ? p.color(QPalette::Active, QPalette::Text) : grey);
    setPalette(p);
    update();
}

void TCustomComboEdit::SetCtl3D(bool value) {
    if (value == FCtl3D) return;
    FCtl3D = value;
    PlaceButton();
    update();
}

void TCustomComboEdit::SetBorderStyle(TBorderStyle value) {
    if (value == FBorderStyle) return;
    FBorderStyle = value;
    PlaceButton();
    update();
}

int TCustomComboEdit::BorderWidth() const {
    if (FBorderStyle == TBorderStyle::bsNone) return 0;
    return FCtl3D ? 2 : 1;
}

QRect TCustomComboEdit::ClientRect() const {
    const int b = BorderWidth();
    return rect().adjusted(b, b, -b, -b);
}

// The holder's place in the client area, by border kind.
void TCustomComboEdit::PlaceButton() {
    const int w = ButtonWidth();
    const QRect client = ClientRect();
    QRect bounds;
    if (FBorderStyle == TBorderStyle::bsNone)
        bounds = QRect(width() - w, 0, w, height());
    else if (FCtl3D)
        bounds = QRect(width() - w - 4, 0, w, height() - 4);
    else
        bounds = QRect(width() - w - 2, 2, w, height() - 4);
    FHolder->setGeometry(bounds.translated(client.topLeft()));
    FButton->setGeometry(0, 0, w, bounds.height());
    FitTextArea();
}

// The text rectangle ends two pixels short of the holder. The line edit keeps a margin of two
// pixels inside its text margins on either side; on the left one of them stands for the edit
// control's own margin.
void TCustomComboEdit::FitTextArea() {
    const int b = BorderWidth();
    const int holder = FHolder->isVisibleTo(this) ? FHolder->width() : 0;
    setTextMargins(std::max(0, b - 1), b, b + holder, b);
}

int TCustomComboEdit::TextLineHeight() const {
    return std::min(QFontMetrics(QApplication::font()).height(), fontMetrics().height());
}

int TCustomComboEdit::MinimumHeight() const {
    constexpr int BorderHeight = 1;
    return TextLineHeight() + 4 * BorderHeight + 1;
}

void TCustomComboEdit::resizeEvent(QResizeEvent *event) {
    QLineEdit::resizeEvent(event);
    if (!IsLoading() && height() < MinimumHeight()) {
        resize(width(), MinimumHeight());
        return;
    }
    PlaceButton();
}

void TCustomComboEdit::changeEvent(QEvent *event) {
    QLineEdit::changeEvent(event);
    switch (event->type()) {
    case QEvent::FontChange:
        if (!IsLoading() && height() < MinimumHeight()) resize(width(), MinimumHeight());
        ShowEditCaret();
        break;
    case QEvent::EnabledChange:
        FButton->setEnabled(isEnabled());
        break;
    default:
        break;
    }
}

void TCustomComboEdit::ShowEditCaret() {
    auto *caret = static_cast<TCaretStyle *>(style());
    const int wanted = font().bold() ? 2 : 1;
    if (caret->CaretWidth == wanted) return;
    caret->CaretWidth = wanted;
    // The line edit reads the caret width from its style when the style is set.
    setStyle(caret);
}

void TCustomComboEdit::paintEvent(QPaintEvent *event) {
    QLineEdit::paintEvent(event);
    if (FBorderStyle == TBorderStyle::bsNone) return;
    QPainter painter(this);
    TCanvas canvas(painter);
    const int w = width(), h = height();
    if (!FCtl3D) {
        canvas.Brush.Style = TBrushStyle::bsClear;
        canvas.Pen.Color = ColorToQColor(clWindowFrame);
        canvas.Rectangle(0, 0, w, h);
        return;
    }
    // Sunken: shadow and dark shadow above and left, highlight and face below and right.
    DrawEdge(canvas, {0, 0, w, h}, ColorToQColor(clBtnShadow), ColorToQColor(clBtnHighlight));
    DrawEdge(canvas, {1, 1, w - 1, h - 1}, ColorToQColor(clWindowFrame), ColorToQColor(clBtnFace));
}

bool TCustomComboEdit::CanFocus() const {
    return isEnabled() && isVisible() && focusPolicy() != Qt::NoFocus;
}

void TCustomComboEdit::TakeFocusBack() {
    if (CanFocus()) setFocus(Qt::OtherFocusReason);
}

// ---- keys -------------------------------------------------------------------------------

void TCustomComboEdit::keyPressEvent(QKeyEvent *event) {
    DispatchKey(
        event, [this](TKeyCode &key, TShiftState shift) { KeyDown(key, shift); },
        [this](QChar &key) { KeyPress(key); },
        [this](QKeyEvent *native) {
            if (MayCutOrPaste(*native) && native->matches(QKeySequence::Paste))
                Paste();
            else if (MayCutOrPaste(*native) && native->matches(QKeySequence::Cut))
                Cut();
            else
                QLineEdit::keyPressEvent(native);
        });
}

void TCustomComboEdit::keyReleaseEvent(QKeyEvent *event) {
    TKeyCode key = VirtualKeyOf(*event);
    KeyUp(key, ShiftStateOf(event->modifiers()));
    if (key) QLineEdit::keyReleaseEvent(event);
}

void TCustomComboEdit::KeyDown(TKeyCode &key, TShiftState shift) {
    if (OnKeyDown) OnKeyDown(this, key, shift);
    // F4 as well, the desktop's key for a drop-down, since a window may take the click key
    // for a rule of its own.
    const bool clickKey = ShortCut(key, shift) == FClickKey || (key == VK_F4 && shift == 0);
    if (key && clickKey && ButtonWidth() > 0) {
        HandleButtonClick();
        key = 0;
    }
}

void TCustomComboEdit::KeyPress(QChar &key) {
    if (key == QChar(VK_RETURN) || key == QChar(VK_ESCAPE)) {
        if (FPopupShown) {
            ClosePopup(key == QChar(VK_RETURN));
            key = QChar();
            return;
        }
        // Offered to the window as a dialog key, so that its default and cancel buttons act;
        // the single-line edit never takes Enter as text.
        QKeyEvent dialogKey(QEvent::KeyPress,
                            key == QChar(VK_RETURN) ? Qt::Key_Return : Qt::Key_Escape,
                            Qt::NoModifier);
        if (window() != this) QCoreApplication::sendEvent(window(), &dialogKey);
        if (key == QChar(VK_RETURN)) {
            if (OnKeyPress) OnKeyPress(this, key);
            key = QChar();
            return;
        }
    }
    if (OnKeyPress) OnKeyPress(this, key);
}

void TCustomComboEdit::KeyUp(TKeyCode &key, TShiftState shift) {
    if (OnKeyUp) OnKeyUp(this, key, shift);
}

void TCustomComboEdit::Cut() {
    if (FDirectInput && !FReadOnly) cut();
}

void TCustomComboEdit::Paste() {
    if (FDirectInput && !FReadOnly) paste();
}

void TCustomComboEdit::contextMenuEvent(QContextMenuEvent *event) {
    QMenu *menu = createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    // The menu's cut and paste go the same way as the keys.
    for (QAction *action : menu->actions()) {
        if (action->objectName() == QLatin1String("edit-cut")) {
            action->disconnect();
            connect(action, &QAction::triggered, this, [this] { Cut(); });
        } else if (action->objectName() == QLatin1String("edit-paste")) {
            action->disconnect();
            connect(action, &QAction::triggered, this, [this] { Paste(); });
        }
    }
    menu->popup(event->globalPos());
}

// ---- change, focus and mouse -----------------------------------------------------------

void TCustomComboEdit::Change() {
    if (FPopupShown)
        PopupValueChanged();
    else if (OnChange)
        OnChange(this);
}

void TCustomComboEdit::focusInEvent(QFocusEvent *event) {
    QLineEdit::focusInEvent(event);
    ShowEditCaret();
    if (FFocusEntry.Enters()) DoEnter();
}

void TCustomComboEdit::DoEnter() {
    const bool byLeftPress = QGuiApplication::mouseButtons() & Qt::LeftButton;
    if (FAutoSelect && !byLeftPress) SelectAll();
    if (OnEnter) OnEnter(this);
}

void TCustomComboEdit::focusOutEvent(QFocusEvent *event) {
    QLineEdit::focusOutEvent(event);
    if (FPopupShown) CloseUp(false, false);
    if (FFocusEntry.Leaves(*event)) DoExit();
}

void TCustomComboEdit::DoExit() {
    FFocusEntry.Left();
    if (OnExit) OnExit(this);
}

void TCustomComboEdit::mousePressEvent(QMouseEvent *event) {
    if (FPopupShown && event->button() == Qt::LeftButton) {
        if (!hasFocus()) TakeFocusBack();
        if (!hasFocus()) return;
        ClosePopup(false);
    }
    QLineEdit::mousePressEvent(event);
}

void TCustomComboEdit::mouseReleaseEvent(QMouseEvent *event) {
    QLineEdit::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) &&
        OnClick)
        OnClick(this);
}

void TCustomComboEdit::mouseDoubleClickEvent(QMouseEvent *event) {
    QLineEdit::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton && OnDblClick) OnDblClick(this);
}
