#include "app/bar/info.h"

#include "app/bar/layout_p.h"
#include "platform/gui/accessibility.h"
#include "platform/gui/fonts.h"
#include "platform/gui/screens.h"

#include <QGuiApplication>
#include <QScreen>

TForm2 *Form2 = nullptr;

namespace {

const QString MakerNotice = QStringLiteral("\u00a9 Morvane Software \u2013 Freeware");
const QString UseNotice = QStringLiteral(
    "Tarvo 2.3 free ist Freeware: Sie dürfen das Programm kostenlos nutzen und unverändert "
    "weitergeben. Alle Berechnungen erfolgen ohne Gewähr. Für Schäden, die aus der Nutzung "
    "des Programms oder seiner Ergebnisse entstehen, wird keine Haftung übernommen.");

TURLLink *Link(TForm2 *form, const QString &name, QPoint at, const QString &caption,
               const QString &link, TColor color, TColor focusColor) {
    auto *label = new TURLLink(form, form);
    label->SetName(name);
    label->move(at);
    label->setCursor(Qt::PointingHandCursor);
    label->SetColor(clBlue);
    label->SetTransparent(true);
    const QString family = QStringLiteral("MS Sans Serif");
    label->SetFont({family, -11, fsBold, color});
    label->SetFocusFont({family, -11, fsBold | fsUnderline, focusColor});
    label->SetCaption(caption);
    label->SetLink(link);
    return label;
}

} // namespace

// Created back to front, as the controls overlap.
TForm2::TForm2(QWidget *parent) : QWidget(parent), TComponent(nullptr) {
    Form2 = this;
    ReadLayout(*this, [&] {
        SetName(QStringLiteral("Form2"));
        SetUpDialog(*this, QStringLiteral("Info"), {300, 200}, 11848909);

        Image1 = new TImage(this, this);
        Image1->SetName(QStringLiteral("Image1"));
        Image1->move(0, 0);
        Image1->SetAutoSize(true);
        Image1->SetPicture(LoadArtwork(QStringLiteral("dialog_background.jpg")));
        ImgBtn1 = AddPictureButton(this, QStringLiteral("ImgBtn1"), {104, 176, 94, 15},
                                   QStringLiteral("btn_schliessen"), QStringLiteral("Schließen"));
        ImgBtn1->OnClick = [this](TObject *sender) { ImgBtn1Click(sender); };
        Bevel1 = AddBevel(this, QStringLiteral("Bevel1"), {128, 128, 166, 42});
        const QFont bold = LayoutFont(QStringLiteral("MS Sans Serif"), -11, fsBold);
        Label1 = AddLabel(this, QStringLiteral("Label1"), {136, 136}, QStringLiteral("Web:"));
        Label1->setFont(bold);
        Label2 = AddLabel(this, QStringLiteral("Label2"), {136, 152}, QStringLiteral("eMail:"));
        Label2->setFont(bold);
        Bevel2 = AddBevel(this, QStringLiteral("Bevel2"), {8, 128, 105, 42});

        MRV3DRLabel1 = new TMRV3DRLabel(this, this);
        MRV3DRLabel1->SetName(QStringLiteral("MRV3DRLabel1"));
        MRV3DRLabel1->SetAutoSize(false); // room for the shadow beyond the text
        MRV3DRLabel1->setGeometry(24, 8, 254, 32);
        MRV3DRLabel1->SetTextRotation(0);
        MRV3DRLabel1->SetStyle(mrvShadowRB);
        MRV3DRLabel1->SetBaseColor(clGreen);
        MRV3DRLabel1->setFont(LayoutFont(QStringLiteral("Arial"), -27, fsBold));
        MRV3DRLabel1->SetFontColor(clGreen);
        MRV3DRLabel1->SetTransparent(true);
        MRV3DRLabel1->SetCaption(QStringLiteral("Tarvo 2.3 free"));

        Label3 = AddLabel(this, QStringLiteral("Label3"), {8, 64}, UseNotice);
        Label3->resize(273, 55);
        Label3->SetWordWrap(true);
        Label3->setFont(LayoutFont(QStringLiteral("Small Fonts"), -9));
        Label9 = AddLabel(this, QStringLiteral("Label9"), {102, 36}, MakerNotice);
        Label9->setFont(LayoutFont(QStringLiteral("Small Fonts"), -9, fsBold));
        Label9->SetFontColor(4210688);
        Label8 =
            AddLabel(this, QStringLiteral("Label8"), {14, 136}, QStringLiteral("Testen Sie auch"));

        URLLink1 =
            Link(this, QStringLiteral("URLLink1"), {176, 136}, QStringLiteral("www.mrv.example"),
                 QStringLiteral("http://www.mrv.example"), clNavy, clBlue);
        URLLink2 =
            Link(this, QStringLiteral("URLLink2"), {176, 152}, QStringLiteral("info@mrv.example"),
                 QStringLiteral("mailto:info@mrv.example"), clNavy, clBlue);
        URLLink3 =
            Link(this, QStringLiteral("URLLink3"), {16, 152}, QStringLiteral("Fristo 1.1 free"),
                 QStringLiteral("http://www.mrv.example/fristo"), 16384, clGreen);
    });
    // A click beside the links takes the focus from them, so that Enter closes again.
    setFocusPolicy(Qt::ClickFocus);
    SetAccessibleLabel(*URLLink1, *Label1);
    SetAccessibleLabel(*URLLink2, *Label2);
    SetAccessibleLabel(*URLLink3, *Label8);
    // Enter on a link opens the link: the link takes the key before the shortcut sees it.
    AddShortcut(
        *this, {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter}, QStringLiteral("Esc oder Eingabe"),
        [this] { ImgBtn1Click(ImgBtn1); }, ImgBtn1);
}

TForm2::~TForm2() {
    if (Form2 == this) Form2 = nullptr;
}

void TForm2::setVisible(bool visible) {
    if (visible && !isVisible()) {
        CentreWindow(*this, QGuiApplication::primaryScreen()->geometry());
        URLLink1->setFocus(Qt::OtherFocusReason);
    }
    QWidget::setVisible(visible);
}

void TForm2::ImgBtn1Click(TObject *) {
    hide();
}
