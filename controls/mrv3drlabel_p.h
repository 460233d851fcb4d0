#pragma once
// Placement of turned text, apart so that its arithmetic can be checked on its own.

// For a one-line text of the given width and height turned counter-clockwise by angle
// (1..360) about the top-left corner of its cell: the offset (DX, DY) of that corner from the
// top-left of the text's bounding box, and the box's size. Worked in extended precision,
// each part cut toward zero.
struct TRotatedTextBox {
    int DX = 0, DY = 0;
    int Width = 0, Height = 0;
    bool operator==(const TRotatedTextBox &) const = default;
};

TRotatedTextBox RotatedTextBox(int angle, int width, int height);
