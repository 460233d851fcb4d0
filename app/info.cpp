#include "app/info.h"

#include "app/artwork/artwork.h"
#include "platform/fonts.h"

#include <QGuiApplication>
#include <QScreen>

TForm2 *Form2 = nullptr;

namespace {

const QString MakerNotice = QStringLiteral("\u00a9 Morvane Software \u2013 Freeware");
const QString UseNotice = QStringLiteral(
    "Tarvo 2.3 free ist Freeware: Sie dürfen das Programm kostenlos nutzen und unverändert "
    "weitergeben. Alle Berechnungen erfolgen ohne Gewähr. Für Schäden, die aus der Nutzung "
    "des Programms oder seiner Ergebnisse entstehen, wird keine Haftung übernommen.");

TLabel *Label(TForm2 *form, const QString &name, QPoint at, const QString &caption) {
    auto *label = new TLabel(form, form);
    label->SetName(name);
    label->move(at);
    label->SetTransparent(true);
    label->SetCaption(caption);
    return label;
}

TBevel *Bevel(TForm2 *form, const QString &name, const QRect &bounds) {
    auto *bevel = new TBevel(form, form);
    bevel->SetName(name);
    bevel->setGeometry(bounds);
    return bevel;
}

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
        setWindowTitle(QStringLiteral("Info"));
        setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                       Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
        setFixedSize(300, 200);
        QPalette colours = palette();
        colours.setColor(QPalette::Window, ColorToQColor(11848909));
        setPalette(colours);
        setAutoFillBackground(true);
        setFont(LayoutFont(QStringLiteral("MS Sans Serif"), -11));

        Image1 = new TImage(this, this);
        Image1->SetName(QStringLiteral("Image1"));
        Image1->move(0, 0);
        Image1->SetAutoSize(true);
        Image1->SetPicture(LoadArtwork(QStringLiteral("dialog_background.jpg")));
        ImgBtn1 = new TImgBtn(this, this);
        ImgBtn1->SetName(QStringLiteral("ImgBtn1"));
        ImgBtn1->setGeometry(104, 176, 94, 15);
        ImgBtn1->SetPic(LoadArtwork(QStringLiteral("btn_schliessen.bmp")));
        ImgBtn1->SetPicUp(LoadArtwork(QStringLiteral("btn_schliessen_hover.bmp")));
        ImgBtn1->SetPicDown(LoadArtwork(QStringLiteral("btn_schliessen_down.bmp")));
        ImgBtn1->setAccessibleName(QStringLiteral("Schließen"));
        ImgBtn1->OnClick = [this](TObject *sender) { ImgBtn1Click(sender); };
        Bevel1 = Bevel(this, QStringLiteral("Bevel1"), {128, 128, 166, 42});
        const QFont bold = LayoutFont(QStringLiteral("MS Sans Serif"), -11, fsBold);
        Label1 = Label(this, QStringLiteral("Label1"), {136, 136}, QStringLiteral("Web:"));
        Label1->setFont(bold);
        Label2 = Label(this, QStringLiteral("Label2"), {136, 152}, QStringLiteral("eMail:"));
        Label2->setFont(bold);
        Bevel2 = Bevel(this, QStringLiteral("Bevel2"), {8, 128, 105, 42});

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

        Label3 = Label(this, QStringLiteral("Label3"), {8, 64}, QString());
        Label3->resize(273, 55);
        Label3->SetWordWrap(true);
        Label3->setFont(LayoutFont(QStringLiteral("Small Fonts"), -9));
        Label3->SetCaption(UseNotice);
        Label9 = Label(this, QStringLiteral("Label9"), {102, 36}, QString());
        Label9->setFont(LayoutFont(QStringLiteral("Small Fonts"), -9, fsBold));
        Label9->SetFontColor(4210688);
        Label9->SetCaption(MakerNotice);
        Label8 =
            Label(this, QStringLiteral("Label8"), {14, 136}, QStringLiteral("Testen Sie auch"));

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
    // Closing it hides it; only the bar ends the program.
    setAttribute(Qt::WA_QuitOnClose, false);
    // The dialog keeps the keyboard itself when shown, so that Enter opens no link before Tab
    // has reached one.
    setFocusPolicy(Qt::ClickFocus);
    setFocus();
}

TForm2::~TForm2() {
    if (Form2 == this) Form2 = nullptr;
}

// The window's outer size is known once it has been shown; the first time it is centred by
// its inside.
void TForm2::setVisible(bool visible) {
    if (visible && !isVisible()) {
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        const QSize outer = frameGeometry().size();
        move(screen.x() + (screen.width() - outer.width()) / 2,
             screen.y() + (screen.height() - outer.height()) / 2);
    }
    QWidget::setVisible(visible);
}

void TForm2::ImgBtn1Click(TObject *) {
    hide();
}
