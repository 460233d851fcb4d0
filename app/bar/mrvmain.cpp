#include "app/bar/mrvmain.h"

#include "app/artwork/artwork.h"
#include "app/bar/einst.h"
#include "app/bar/info.h"
#include "app/bar/layout_p.h"
#include "engine/interest.h"
#include "platform/base/exceptions.h"
#include "platform/core/desktop.h"
#include "platform/gui/accessibility.h"
#include "platform/gui/application.h"
#include "platform/gui/focus.h"
#include "platform/gui/fonts.h"
#include "platform/gui/screens.h"

#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QMenu>
#include <QScopedValueRollback>
#include <QStyle>

#include <algorithm>

TForm1 *Form1 = nullptr;

namespace {

// Where the bar goes when the stored position is unusable, and what Ende stores without "pos".
constexpr int DefaultLeft = 20;
constexpr int DefaultTop = 20;

// The bar's labels are all in the small bold font.
TLabel *Label(TForm1 *form, const QString &name, QPoint at, const QString &caption) {
    TLabel *label = AddLabel(form, name, at, caption);
    label->setFont(LayoutFont(QStringLiteral("Small Fonts"), -9, fsBold));
    return label;
}

// The fields' background while they do not have the focus, and while they have it.
constexpr TColor FieldColor = 14346217;
constexpr TColor FocusedFieldColor = clWhite;

// Replaces Enter and Down once the key handler has taken them: no control acts on it.
constexpr TKeyCode KeyTaken = 135;

void SetFieldColor(TObject *field, TColor color) {
    if (auto *edit = dynamic_cast<TCustomComboEdit *>(field)) edit->SetColor(color);
}

void FieldLook(TCustomComboEdit *field, const QString &name, QRect bounds,
               const QString &accessibleName) {
    field->SetName(name);
    field->setGeometry(bounds);
    field->SetColor(FieldColor);
    field->SetCtl3D(false);
    field->setFont(LayoutFont(QStringLiteral("Small Fonts"), -9, fsBold));
    field->setAccessibleName(accessibleName);
}

TDateEdit *DateField(TForm1 *form, const QString &name, QRect bounds, const QString &title) {
    auto *field = new TDateEdit(form, form);
    FieldLook(field, name, bounds, title);
    field->SetYearDigits(TYearDigits::dyFour);
    field->SetButtonWidth(17);
    field->SetNumGlyphs(2);
    field->SetPopupColor(11587536);
    field->SetDialogTitle(title);
    return field;
}

TCurrencyEdit *CurrencyField(TForm1 *form, const QString &name, QRect bounds,
                             const QString &accessibleName) {
    auto *field = new TCurrencyEdit(form, form);
    FieldLook(field, name, bounds, accessibleName);
    field->SetDisplayFormat(QStringLiteral(",0.00;-,0.00"));
    return field;
}

void ShowAndActivate(QWidget *window) {
    window->show();
    window->raise();
    window->activateWindow();
}

// Above the bar when it stays on top, where it would otherwise cover the dialog.
void ShowWithoutModalLoop(QWidget *window) {
    if (!window) return;
    SetStaysOnTop(*window, Form1->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    ShowAndActivate(window);
}

// Shows the text where it fits in `room` pixels; else cut short, with the whole text as the
// label's tool tip.
void ShowFitting(TLabel *label, const QString &text, int room) {
    const QFontMetrics metrics(label->font());
    const bool fits = metrics.horizontalAdvance(text) <= room;
    label->SetCaption(fits ? text : metrics.elidedText(text, Qt::ElideRight, room));
    label->setToolTip(fits ? QString() : text);
}

// The room of the day label up to "Zinssatz", and of the result from "%" on.
constexpr int DayLabelRoom = 350 - 2 - 234;
constexpr int ResultRoom = 463 - (392 + 9 + 2);

} // namespace

TForm1::TForm1(QWidget *parent) : QWidget(parent), TComponent(nullptr) {
    Form1 = this;
    // The layout in its declaration order, area by area.
    ReadLayout(*this, [&] {
        // While the layout is read, the window carries the font every control that shows text
        // uses, so that none lays out its text in another font first and loads that font's
        // files for nothing the bar draws; the window's own font comes last.
        setFont(LayoutFont(QStringLiteral("Small Fonts"), -9, fsBold));
        LayOutWindow();
        LayOutPicturesAndButtons();
        LayOutSettings();
        LayOutLabelsAndFields();
        ConnectFields();
        LayOutInstanceGuard();
        setFont(LayoutFont(QStringLiteral("MS Sans Serif"), -11));
    });
    // The picture buttons take no focus; these keys press them. Not Ctrl+B or Ctrl+E: the
    // fields move the caret with them.
    AddShortcut(
        *this, {Qt::CTRL | Qt::Key_Q}, QStringLiteral("Strg+Q"), [this] { btn_endClick(btn_end); },
        btn_end);
    AddShortcut(
        *this, {Qt::Key_F9}, QStringLiteral("F9"), [this] { btn_berClick(btn_ber); }, btn_ber);
    AddShortcut(
        *this, {Qt::CTRL | Qt::Key_Comma}, QStringLiteral("Strg+Komma"),
        [this] { btn_einClick(btn_ein); }, btn_ein);
    AddShortcut(
        *this, {Qt::Key_F1}, QStringLiteral("F1"), [this] { ImgBtn1Click(ImgBtn1); }, ImgBtn1);
    // The focus always stands in a field, whose own menu the right button still opens.
    AddShortcut(*this, {Qt::Key_Menu, Qt::SHIFT | Qt::Key_F10},
                QStringLiteral("Menütaste oder Umschalt+F10"), [this] { ShowBarMenuByKey(); });
    FormCreate();
    // The store writes itself back as the bar goes after the loop; the session may end the
    // process soon after it asks to save, and exit() ends it without the bar being destroyed.
    if (TApplication *app = TApplication::Instance())
        connect(app, &TApplication::Ending, this, [this](TEnding how) {
            if (how != TEnding::LoopEnds) SaveSettingsNow();
        });
}

void TForm1::LayOutWindow() {
    SetName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Tarvo 2.3 Freeware"));
    setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                   Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    move(289, 144);
    setFixedSize(635, 40);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, ColorToQColor(clBtnFace));
    setPalette(palette);
    setWindowIcon(LoadProgramIcon());
}

void TForm1::LayOutPicturesAndButtons() {
    Image1 = new TImage(this, this);
    Image1->SetName(QStringLiteral("Image1"));
    Image1->setGeometry(0, 0, 635, 40);
    Image1->SetStretch(true);
    Image1->SetPicture(LoadArtwork(QStringLiteral("bar_background.jpg")));
    Label1 = Label(this, QStringLiteral("Label1"), {10, 3}, QStringLiteral("Betrag"));
    btn_ber = AddPictureButton(this, QStringLiteral("btn_ber"), {483, 19, 102, 15},
                               QStringLiteral("btn_berechnen"), QStringLiteral("Berechnen"));
    btn_ber->SetTransparent(true);
    btn_ber->OnClick = [this](TObject *sender) { btn_berClick(sender); };
    btn_end = AddPictureButton(this, QStringLiteral("btn_end"), {587, 19, 45, 15},
                               QStringLiteral("btn_ende"), QStringLiteral("Ende"));
    btn_end->OnClick = [this](TObject *sender) { btn_endClick(sender); };
    btn_ein =
        AddPictureButton(this, QStringLiteral("btn_ein"), {467, 2, 118, 15},
                         QStringLiteral("btn_einstellungen"), QStringLiteral("Einstellungen"));
    btn_ein->SetAutoSize(true);
    btn_ein->SetTransparent(true);
    btn_ein->OnClick = [this](TObject *sender) { btn_einClick(sender); };
    // The window keeps its size, so the two buttons anchored to the right edge stay put.
    ImgBtn1 = AddPictureButton(this, QStringLiteral("ImgBtn1"), {587, 2, 45, 15},
                               QStringLiteral("btn_info"), QStringLiteral("Info"),
                               QStringLiteral("btn_info.gif"));
    ImgBtn1->OnClick = [this](TObject *sender) { ImgBtn1Click(sender); };
    Label2 =
        Label(this, QStringLiteral("Label2"), {110, 3}, QStringLiteral("Zinszeitraum / Zinstage"));
}

void TForm1::LayOutSettings() {
    autrun = std::make_unique<TAutoRun>(this);
    autrun->SetName(QStringLiteral("autrun"));
    autrun->SetKind(aekUserRun);
    regval = std::make_unique<TRegValues>(this);
    regval->SetName(QStringLiteral("regval"));
    regval->SetRootKey(rkHKEY_CURRENT_USER);
    regval->SetKey(SettingsKey);
    regval->SetCanCreate(true);
    regval->SetAutoLoad(true);
    regval->SetAutoSave(true);
    for (const TStoredSetting &setting : StoredSettings) {
        TRegValue &value = regval->Items().Add();
        value.SetValueType(setting.Type);
        if (setting.Default) value.SetDefValue(QString::fromLatin1(setting.Default));
        // Assigning the name loads the value.
        LoadSetting(value, [&] { value.SetValueName(setting); });
        value.SetAutoStore(true);
    }
}

void TForm1::LayOutLabelsAndFields() {
    Label3 = Label(this, QStringLiteral("Label3"), {350, 3}, QStringLiteral("Zinssatz"));
    Label4 = Label(this, QStringLiteral("Label4"), {392, 25}, QStringLiteral("%"));
    Label5 = Label(this, QStringLiteral("Label5"), {408, 3}, QStringLiteral("Zinsbetrag"));
    Label6 = Label(this, QStringLiteral("Label6"), {441, 25}, QStringLiteral("0,00"));
    Label6->resize(22, 11);
    Label6->SetAlignment(TLabel::TAlignment::taRightJustify);
    Label6->SetFontColor(clMaroon);
    Label7 = Label(this, QStringLiteral("Label7"), {234, 3}, QStringLiteral("( 0 Tage )"));
    Label7->SetFontColor(clNavy);
    DateEdit1 = DateField(this, QStringLiteral("DateEdit1"), {110, 22, 81, 16},
                          QStringLiteral("Anfangsdatum"));
    DateEdit2 =
        DateField(this, QStringLiteral("DateEdit2"), {200, 22, 81, 16}, QStringLiteral("Enddatum"));
    DateEdit2->SetDefaultToday(true);
    // Today, not a fixed day that would quietly end every period there.
    DateEdit2->SetDateValue(CurrentDateSerial());
    Label8 = Label(this, QStringLiteral("Label8"), {193, 24}, QStringLiteral("-"));
    sedit1 =
        CurrencyField(this, QStringLiteral("sedit1"), {8, 22, 89, 16}, QStringLiteral("Betrag"));
    sedit1->SetValue(0);
    sedit2 = CurrencyField(this, QStringLiteral("sedit2"), {350, 22, 41, 16},
                           QStringLiteral("Zinssatz"));
    sedit2->SetValue(10.0L);
    // The captions above the fields, and the result's, read as their labels.
    SetAccessibleLabel(*sedit1, *Label1);
    SetAccessibleLabel(*DateEdit1, *Label2);
    SetAccessibleLabel(*DateEdit2, *Label2);
    SetAccessibleLabel(*Label7, *Label2);
    SetAccessibleLabel(*sedit2, *Label3);
    SetAccessibleLabel(*Label6, *Label5);
}

void TForm1::ConnectFields() {
    // Only the four fields take the focus: amount, start, end, rate.
    setTabOrder(sedit1, DateEdit1);
    setTabOrder(DateEdit1, DateEdit2);
    setTabOrder(DateEdit2, sedit2);
    sedit1->OnEnter = [this](TObject *sender) { sedit1Enter(sender); };
    DateEdit1->OnEnter = [this](TObject *sender) { DateEdit1Enter(sender); };
    DateEdit2->OnEnter = [this](TObject *sender) { DateEdit2Enter(sender); };
    sedit2->OnEnter = [this](TObject *sender) { sedit2Enter(sender); };
    sedit1->OnExit = [this](TObject *sender) { sedit1Exit(sender); };
    DateEdit1->OnExit = [this](TObject *sender) { DateEdit1Exit(sender); };
    DateEdit2->OnExit = [this](TObject *sender) { DateEdit2Exit(sender); };
    sedit2->OnExit = [this](TObject *sender) { sedit2Exit(sender); };
    for (TCustomComboEdit *field :
         {static_cast<TCustomComboEdit *>(sedit1), static_cast<TCustomComboEdit *>(DateEdit1),
          static_cast<TCustomComboEdit *>(DateEdit2), static_cast<TCustomComboEdit *>(sedit2)}) {
        field->OnKeyDown = [this](TObject *sender, TKeyCode &key, TShiftState shift) {
            DateEdit1KeyDown(sender, key, shift);
        };
        // The X11 platform turns the Menu key into a context-menu request to the focused field
        // before the key itself arrives.
        field->installEventFilter(this);
    }
}

void TForm1::LayOutInstanceGuard() {
    OneInstance1 = std::make_unique<TOneInstance>(this);
    OneInstance1->SetName(QStringLiteral("OneInstance1"));
    OneInstance1->OnComeForward = [this](TObject *, const QString &window) {
        BringWindowForward(*this);
        OpenWindow(window);
    };
}

TForm1::~TForm1() {
    // Before the bar's settings go.
    FWindows.clear();
    FSettingsForm.reset();
    FInfoForm.reset();
    if (Form1 == this) Form1 = nullptr;
}

void TForm1::FormCreate() {
    autrun->SetFileName(TApplication::ExeName());
    // Without this every start would remove the entry the user asked for.
    autrun->SetAutoRun(Settings().AutoStart());
    FormulaCode = int(qint64(Settings().Formula()) + 1);
    if (Settings().OnTop()) SetStayOnTop(true);
    // As the store's LoadValues, but value by value, all in one reading of the key.
    const TRegistry::TReadTogether together(regval->Registry());
    for (int i = 0; i < regval->Items().Count(); ++i) {
        TRegValue &value = regval->Items().Items(i);
        LoadSetting(value, [&] { value.Load(); });
    }
    if (FSettingsError) ReportException(*FSettingsError);
    PlaceAtStoredPosition();
}

// A wrongly typed value must not stop the start: it keeps its default, and the others still
// load.
void TForm1::LoadSetting(TRegValue &value, const std::function<void()> &load) {
    try {
        load();
    } catch (const ERegistryException &error) {
        value.SetCurrentValue(value.Default());
        if (!FSettingsError) FSettingsError = error;
    }
}

// A position that is no number gives 20/20. The bar must lie wholly on one screen, title bar
// included: one that does not is moved the least distance that brings it there.
void TForm1::PlaceAtStoredPosition() {
    QPoint at(DefaultLeft, DefaultTop);
    try {
        at = Settings().Position();
    } catch (const EVariantError &) {
    }
    // The window manager's frame is not known before the bar is shown; the style's title bar
    // stands in for it.
    QSize frame = frameGeometry().size();
    if (frame == size()) frame.rheight() += style()->pixelMetric(QStyle::PM_TitleBarHeight);
    move(PlaceInside(QRect(at, frame), AvailableScreenAreas()));
}

void TForm1::SetStayOnTop(bool value) {
    SetStaysOnTop(*this, value);
}

void TForm1::AddWindow(TBarWindow window) {
    const QString name = window.Name;
    AddShortcut(*this, {window.Keys}, window.SpokenKeys, [this, name] { OpenWindow(name); });
    FWindowKinds.push_back(std::move(window));
}

// Made only when first asked for: the bar's start does not pay for it. An ordinary window, not
// kept above other programs' windows.
bool TForm1::OpenWindow(const QString &request) {
    const qsizetype blank = request.indexOf(u' ');
    const QString name = blank < 0 ? request : request.left(blank);
    const auto kind = std::find_if(FWindowKinds.begin(), FWindowKinds.end(),
                                   [&](const TBarWindow &window) { return window.Name == name; });
    if (kind == FWindowKinds.end()) return false;
    std::unique_ptr<QWidget> &window = FWindows[name];
    if (!window) window = kind->Make();
    ShowAndActivate(window.get());
    if (blank >= 0 && kind->Take) kind->Take(*window, request.mid(blank + 1));
    return true;
}

QWidget *TForm1::Window(const QString &name) const {
    const auto made = FWindows.find(name);
    return made == FWindows.end() ? nullptr : made->second.get();
}

QMenu *TForm1::ShowBarMenuByKey() {
    const QWidget *field = focusWidget() ? focusWidget() : this;
    QMenu *menu = ShowBarMenu(field->mapToGlobal(QPoint(0, field->height())));
    // As a menu opened by key does: Enter takes the first entry, the arrows go on from it.
    menu->setActiveAction(menu->actions().constFirst());
    return menu;
}

bool TForm1::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::ContextMenu &&
        static_cast<QContextMenuEvent *>(event)->reason() == QContextMenuEvent::Keyboard) {
        // The key that follows would reach the menu as a key of its own.
        if (!QApplication::activePopupWidget()) ShowBarMenuByKey();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

QMenu *TForm1::ShowBarMenu(QPoint at) {
    auto *menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->setAccessibleName(QStringLiteral("Tarvo"));
    for (const TBarWindow &window : FWindowKinds) {
        const QString name = window.Name;
        menu->addAction(window.MenuEntry + u'\t' + window.SpokenKeys, this,
                        [this, name] { OpenWindow(name); });
    }
    menu->addAction(QStringLiteral("&Einstellungen …\tStrg+,"), this,
                    [this] { btn_einClick(btn_ein); });
    menu->addAction(QStringLiteral("&Info …\tF1"), this, [this] { ImgBtn1Click(ImgBtn1); });
    menu->addSeparator();
    menu->addAction(QStringLiteral("&Beenden\tStrg+Q"), this, [this] { btn_endClick(btn_end); });
    menu->popup(at);
    return menu;
}

// The fields keep their own edit menu; everything else on the bar gives the bar's.
void TForm1::contextMenuEvent(QContextMenuEvent *event) {
    ShowBarMenu(event->globalPos());
}

// A field whose text is no date stops the calculation: it takes the focus with its text
// selected and says so, and nothing of the last result changes.
std::optional<TDateTime> TForm1::CalculationDate(TDateEdit *field) {
    try {
        return field->StrictDateValue();
    } catch (const EConvertError &error) {
        field->setFocus(Qt::OtherFocusReason);
        field->SelectAll();
        ReportException(error);
        return std::nullopt;
    }
}

void TForm1::btn_berClick(TObject *) {
    // A faulty date that takes the focus from the rate field would calculate once more.
    if (FCalculating) return;
    const QScopedValueRollback<bool> calculating(FCalculating, true);
    const std::optional<TDateTime> start = CalculationDate(DateEdit1);
    if (!start) return;
    const std::optional<TDateTime> end = CalculationDate(DateEdit2);
    if (!end) return;
    const TInterestText text =
        CalculateInterestText(FormulaCode, *start, *end, sedit1->Value(), sedit2->Value());
    ShowFitting(Label7, text.DayLabel, DayLabelRoom);
    ShowFitting(Label6, text.Interest, ResultRoom);
    Desktop().SetClipboardText(text.Interest);
}

// The dialogs are made when first asked for, not before the bar is drawn: the bar shows
// sooner and the program holds their pictures only once they are wanted.
TForm2 &TForm1::InfoForm() {
    if (!Form2) FInfoForm = std::make_unique<TForm2>();
    return *Form2;
}

TForm3 &TForm1::SettingsForm() {
    if (!Form3) FSettingsForm = std::make_unique<TForm3>();
    return *Form3;
}

// Fills the dialog afresh each time, dropping what was left unsaved.
void TForm1::btn_einClick(TObject *) {
    TForm3 &dialog = SettingsForm();
    dialog.check1->SetChecked(Settings().OnTop());
    dialog.check2->SetChecked(Settings().KeepPosition());
    dialog.check3->SetChecked(Settings().AutoStart());
    TMRVRadioButton *const formulas[] = {dialog.check4, dialog.check5, dialog.check6};
    if (FormulaCode >= 1 && FormulaCode <= 3) formulas[FormulaCode - 1]->SetChecked(true);
    ShowWithoutModalLoop(&dialog);
}

void TForm1::ImgBtn1Click(TObject *) {
    ShowWithoutModalLoop(&InfoForm());
}

// A further window may keep the program running: one with unsaved changes asks first.
bool TForm1::CloseFurtherWindows() {
    for (auto &[name, window] : FWindows)
        if (window && window->isVisible() && !window->close()) return false;
    return true;
}

void TForm1::btn_endClick(TObject *) {
    if (!CloseFurtherWindows()) return;
    Settings().SetPosition(Settings().KeepPosition() ? pos() : QPoint(DefaultLeft, DefaultTop));
    TApplication::Instance()->Terminate();
}

void TForm1::FieldEntered(TObject *Sender) {
    SetFieldColor(Sender, FocusedFieldColor);
}

void TForm1::FieldLeft(TObject *Sender) {
    SetFieldColor(Sender, FieldColor);
}

// Leaving the rate field calculates, as a click on Berechnen does.
void TForm1::sedit2Exit(TObject *Sender) {
    FieldLeft(Sender);
    if (btn_ber->OnClick) btn_ber->OnClick(btn_ber);
}

// The code is replaced before the field looks at it, so Alt+Down moves on instead of
// opening the calendar. The move is posted: it happens once the key has been handled, and
// from the rate field it wraps around to the amount.
void TForm1::DateEdit1KeyDown(TObject *, TKeyCode &Key, TShiftState) {
    if (Key != VK_RETURN && Key != VK_DOWN) return;
    Key = KeyTaken;
    PostFocusMove(this);
}

// The close box ends the program as the main window's closing does, open dialogs or not.
void TForm1::closeEvent(QCloseEvent *event) {
    if (!CloseFurtherWindows()) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
    if (event->isAccepted()) TApplication::Instance()->Terminate();
}

void TForm1::SaveSettingsNow() {
    try {
        regval->SaveValues();
    } catch (const std::exception &error) {
        ReportException(error);
    }
}
