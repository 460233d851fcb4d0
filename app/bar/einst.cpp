#include "app/bar/einst.h"

#include "app/bar/layout_p.h"
#include "app/bar/mrvmain.h"
#include "platform/gui/accessibility.h"
#include "platform/gui/fonts.h"
#include "platform/gui/screens.h"

#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QScreen>

#include <algorithm>

TForm3 *Form3 = nullptr;

namespace {

// The title tab of a group: olive behind its text.
TLabel *TitleLabel(TForm3 *form, const QString &name, QPoint at, const QString &caption) {
    TLabel *label = AddLabel(form, name, at, caption);
    label->SetTransparent(false);
    label->SetColor(clOlive);
    return label;
}

const int CaptionLeft = 19; // where the check box draws its caption

TMRVCheckbox *CheckBox(TForm3 *form, const QString &name, const QRect &bounds,
                       const QString &caption) {
    auto *box = new TMRVCheckbox(form, form);
    box->SetName(name);
    box->SetCaption(caption);
    // The substitute font runs wider than the layout's: no caption may be cut off.
    const int fit = CaptionLeft + box->fontMetrics().horizontalAdvance(caption);
    box->setGeometry(bounds.x(), bounds.y(), std::max(bounds.width(), fit), bounds.height());
    box->SetCheckStyle(mrvYesNo);
    return box;
}

TMRVRadioButton *RadioButton(TForm3 *form, const QString &name, const QRect &bounds,
                             const QString &caption) {
    auto *radio = new TMRVRadioButton(form, form);
    radio->SetName(name);
    radio->setGeometry(bounds);
    radio->SetCaption(caption);
    return radio;
}

} // namespace

TForm3::TForm3(QWidget *parent) : QWidget(parent), TComponent(nullptr) {
    Form3 = this;
    ReadLayout(*this, [&] {
        SetName(QStringLiteral("Form3"));
        SetUpDialog(*this, QStringLiteral("Tarvo Einstellungen"), {300, 263}, 13494762);

        Image1 = new TImage(this, this);
        Image1->SetName(QStringLiteral("Image1"));
        Image1->setGeometry(0, 0, 300, 263);
        Image1->SetStretch(true);
        Image1->SetPicture(LoadArtwork(QStringLiteral("dialog_background.jpg")));
        Bevel1 = AddBevel(this, QStringLiteral("Bevel1"), {16, 24, 265, 145});
        ImgBtn1 = AddPictureButton(this, QStringLiteral("ImgBtn1"), {112, 240, 94, 15},
                                   QStringLiteral("btn_speichern"), QStringLiteral("Speichern"));
        ImgBtn1->OnClick = [this](TObject *sender) { ImgBtn1Click(sender); };
        Label1 =
            TitleLabel(this, QStringLiteral("Label1"), {16, 11}, QStringLiteral(" Einstellungen "));
        check1 = CheckBox(this, QStringLiteral("check1"), {48, 32, 125, 16},
                          QStringLiteral("Immer im Vordergrund"));
        check2 = CheckBox(this, QStringLiteral("check2"), {48, 80, 153, 16},
                          QStringLiteral("Position abspeichern"));
        check3 = CheckBox(this, QStringLiteral("check3"), {48, 136, 65, 16},
                          QStringLiteral("Autostart"));
        Label2 = AddLabel(this, QStringLiteral("Label2"), {66, 48},
                          QStringLiteral("der Zinsrechner wird immer so angezeigt,"));
        Label3 = AddLabel(this, QStringLiteral("Label3"), {66, 58},
                          QStringLiteral("dass Sie ihn sofort nutzen können"));
        Label4 = AddLabel(this, QStringLiteral("Label4"), {66, 96},
                          QStringLiteral("Diese Funktion speichert automatisch beim"));
        Label5 = AddLabel(this, QStringLiteral("Label5"), {66, 106},
                          QStringLiteral("Beenden der Software die Position"));
        Label6 = AddLabel(this, QStringLiteral("Label6"), {66, 116},
                          QStringLiteral("des Berechnungsfensters ab"));
        // The desktop session starts it here, not Windows.
        Label7 = AddLabel(this, QStringLiteral("Label7"), {66, 152},
                          QStringLiteral("startet Tarvo 2.3 beim Systemstart"));
        Label8 =
            TitleLabel(this, QStringLiteral("Label8"), {16, 179}, QStringLiteral(" Zinsformel "));
        Bevel2 = AddBevel(this, QStringLiteral("Bevel2"), {16, 192, 265, 41});
        check4 =
            RadioButton(this, QStringLiteral("check4"), {48, 200, 57, 16}, QStringLiteral("EURO"));
        Label9 = AddLabel(this, QStringLiteral("Label9"), {66, 216}, QStringLiteral("(MRV Norm))"));
        Label9->setFont(LayoutFont(QStringLiteral("Small Fonts"), -9));
        check5 = RadioButton(this, QStringLiteral("check5"), {128, 200, 65, 16},
                             QStringLiteral("deutsche"));
        check6 = RadioButton(this, QStringLiteral("check6"), {208, 200, 73, 16},
                             QStringLiteral("englische"));
    });
    // The frames gather the controls drawn in them, under their title tabs.
    SetAccessibleGroup(*Bevel1, QStringLiteral("Einstellungen"),
                       {check1, Label2, Label3, check2, Label4, Label5, Label6, check3, Label7});
    SetAccessibleLabel(*Bevel1, *Label1);
    SetAccessibleGroup(*Bevel2, QStringLiteral("Zinsformel"), {check4, Label9, check5, check6});
    SetAccessibleLabel(*Bevel2, *Label8);
    AddShortcut(*this, {Qt::Key_Escape}, QStringLiteral("Esc: schließen"), [this] { close(); });
    AddShortcut(
        *this, {Qt::CTRL | Qt::Key_S}, QStringLiteral("Strg+S"), [this] { ImgBtn1Click(ImgBtn1); },
        ImgBtn1);
}

TForm3::~TForm3() {
    if (Form3 == this) Form3 = nullptr;
}

void TForm3::setVisible(bool visible) {
    if (visible && !isVisible()) {
        CentreWindow(*this, QGuiApplication::primaryScreen()->virtualGeometry());
        check1->setFocus(Qt::OtherFocusReason);
    }
    QWidget::setVisible(visible);
}

void TForm3::ImgBtn1Click(TObject *) {
    TStoredSettings settings = Form1->Settings();
    settings.SetProgramFolder(QDir::toNativeSeparators(QCoreApplication::applicationDirPath()) +
                              QDir::separator());
    settings.SetOnTop(check1->Checked());
    settings.SetKeepPosition(check2->Checked());
    settings.SetAutoStart(check3->Checked());
    const TMRVRadioButton *formulas[] = {check4, check5, check6};
    for (int i = 0; i < 3; ++i)
        if (formulas[i]->Checked()) {
            settings.SetFormula(qint32(i));
            Form1->FormulaCode = i + 1;
        }
    Form1->SetStayOnTop(check1->Checked());
    Form1->autrun->SetAutoRun(check3->Checked());
    hide();
}
