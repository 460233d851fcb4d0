#pragma once
// The info dialog: the program's about box with its relief title, the maker's notice, the
// liability and free-use notice and three links. Hidden until the bar's Info button shows it;
// Schließen and the close box hide it alike.

#include "controls/bevel.h"
#include "controls/image.h"
#include "controls/imgbtn.h"
#include "controls/label.h"
#include "controls/mrv3drlabel.h"
#include "controls/urllink.h"
#include "platform/core/component.h"

#include <QWidget>

class TForm2 : public QWidget, public TComponent {
    Q_OBJECT
public:
    explicit TForm2(QWidget *parent = nullptr);
    ~TForm2() override;

    // The layout's controls, in declaration order.
    TImage *Image1 = nullptr;
    TImgBtn *ImgBtn1 = nullptr; // Schließen
    TLabel *Label1 = nullptr;   // "Web:"
    TBevel *Bevel1 = nullptr;
    TLabel *Label2 = nullptr; // "eMail:"
    TBevel *Bevel2 = nullptr;
    TMRV3DRLabel *MRV3DRLabel1 = nullptr; // the title
    TLabel *Label3 = nullptr;             // liability and free use
    TLabel *Label9 = nullptr;             // the maker
    TLabel *Label8 = nullptr;             // "Testen Sie auch"
    TURLLink *URLLink1 = nullptr;         // the maker's web page
    TURLLink *URLLink2 = nullptr;         // the maker's mail address
    TURLLink *URLLink3 = nullptr;         // another product's page

    // Schließen.
    void ImgBtn1Click(TObject *Sender);

    // Centred on the screen each time it is shown, with the focus on the first link.
    void setVisible(bool visible) override;
};

extern TForm2 *Form2;
