// Pictures of the window, drawn by the program: the cross-sections of the
// eight line types (128 x 80, in tab order), the arrow glyphs of Analyze and
// Synthesize, the maker's button picture and the window icon.
#pragma once

#include <QIcon>
#include <QPixmap>

// Tab index 0..7: microstrip, stripline, CPW, grounded CPW, round coaxial,
// slotline, coupled microstrip, coupled stripline.  Other indexes give an
// empty picture.
QPixmap LinePicture(int tabIndex);

// 32 x 32 arrow; Analyze points left (from the physical group to the
// electrical group), Synthesize right.
QPixmap ArrowGlyph(bool pointsLeft);

// 62 x 21 picture of the maker's (documentation) button.
QPixmap MakerPicture();

QIcon WindowIcon();
