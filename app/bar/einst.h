#pragma once
// The settings dialog: stay on top, save the position, autostart, and the interest formula.
// The bar's Einstellungen button fills and shows it; Speichern stores the choices in the
// bar's settings, applies them at once and hides it. It never reads the registry itself.

#include "controls/bevel.h"
#include "controls/image.h"
#include "controls/imgbtn.h"
#include "controls/label.h"
#include "controls/mrvcheckbox.h"
#include "controls/mrvradiobutton.h"
#include "platform/core/component.h"

#include <QWidget>

class TForm3 : public QWidget, public TComponent {
    Q_OBJECT
public:
    explicit TForm3(QWidget *parent = nullptr);
    ~TForm3() override;

    // The layout's controls, in declaration order.
    TImage *Image1 = nullptr;
    TBevel *Bevel1 = nullptr;
    TImgBtn *ImgBtn1 = nullptr;
    TLabel *Label1 = nullptr;
    TMRVCheckbox *check1 = nullptr; // "Immer im Vordergrund"
    TMRVCheckbox *check2 = nullptr; // "Position abspeichern"
    TMRVCheckbox *check3 = nullptr; // "Autostart"
    TLabel *Label2 = nullptr;
    TLabel *Label3 = nullptr;
    TLabel *Label4 = nullptr;
    TLabel *Label5 = nullptr;
    TLabel *Label6 = nullptr;
    TLabel *Label7 = nullptr;
    TLabel *Label8 = nullptr;
    TBevel *Bevel2 = nullptr;
    TMRVRadioButton *check4 = nullptr; // "EURO"
    TLabel *Label9 = nullptr;
    TMRVRadioButton *check5 = nullptr; // "deutsche"
    TMRVRadioButton *check6 = nullptr; // "englische"

    // Speichern.
    void ImgBtn1Click(TObject *Sender);

    // Centred on the desktop each time it is shown, with the focus on its first control.
    void setVisible(bool visible) override;
};

extern TForm3 *Form3;
