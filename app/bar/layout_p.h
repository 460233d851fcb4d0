#pragma once
// What the bar's layouts share: the dialog window itself, the transparent label, the bevel
// frame and the picture button with its pictures.

#include "app/artwork/artwork.h"
#include "controls/bevel.h"
#include "controls/imgbtn.h"
#include "controls/label.h"
#include "platform/gui/colors.h"

#include <QRect>

// A fixed-size dialog with only a close box, in its colour and the layouts' window font.
// Closing it hides it; only the bar ends the program.
void SetUpDialog(QWidget &form, const QString &caption, QSize clientSize, TColor color);

// Keeps a window above ordinary windows, or stops doing so, where it stands.
void SetStaysOnTop(QWidget &window, bool value);

template <class TForm>
TLabel *AddLabel(TForm *form, const QString &name, QPoint at, const QString &caption) {
    auto *label = new TLabel(form, form);
    label->SetName(name);
    label->move(at);
    label->SetTransparent(true);
    label->SetCaption(caption);
    return label;
}

template <class TForm> TBevel *AddBevel(TForm *form, const QString &name, const QRect &bounds) {
    auto *bevel = new TBevel(form, form);
    bevel->SetName(name);
    bevel->setGeometry(bounds);
    return bevel;
}

// Shows <stem>.bmp, or the normal picture given, with <stem>_hover.bmp under the pointer and
// <stem>_down.bmp while pressed.
template <class TForm>
TImgBtn *AddPictureButton(TForm *form, const QString &name, const QRect &bounds,
                          const QString &stem, const QString &accessibleName,
                          const QString &normal = {}) {
    auto *button = new TImgBtn(form, form);
    button->SetName(name);
    button->setGeometry(bounds);
    button->SetPic(LoadArtwork(normal.isEmpty() ? stem + QStringLiteral(".bmp") : normal));
    button->SetPicUp(LoadArtwork(stem + QStringLiteral("_hover.bmp")));
    button->SetPicDown(LoadArtwork(stem + QStringLiteral("_down.bmp")));
    button->setAccessibleName(accessibleName);
    return button;
}
