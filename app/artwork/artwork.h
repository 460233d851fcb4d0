#pragma once
// The program's pictures, compiled in as Qt resources under ":/artwork/". Drawn by
// tools/make_artwork.sh; the glyphs keep the resource names the controls ask for
// ("DATEGLYPH", "PREV2", "PREV1", "NEXT1", "NEXT2").

#include "pictures/picture.h"

#include <QIcon>

// Loads one picture by its resource name, for example "btn_ende.bmp" or "DATEGLYPH".
// A name that is not compiled in throws EInvalidGraphic.
TPicture LoadArtwork(const QString &name);

// The program's icon in its three sizes, 16, 32 and 48 pixels.
QIcon LoadProgramIcon();
