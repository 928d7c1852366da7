// Pictures of the window, drawn by the program: the cross-sections of the
// line types (128 x 80, one table keyed by the descriptor's `picture`), the arrow glyphs of Analyze and
// Synthesize, the maker's button picture and the window icon.
//
// Sizes are in logical (device-independent) pixels.  Each picture is drawn
// at a device pixel ratio, so that it stays sharp on a high-density screen or
// under QT_SCALE_FACTOR: its pixmap has size x ratio pixels and carries the
// ratio.  The overloads without a ratio take the application's.
#pragma once

#include <QIcon>
#include <QPixmap>
#include <string_view>
#include <vector>

#include "core/lineinputs.h"

struct LinePictureEntry {
    const char* key;        // a descriptor's `picture`
    const char* objectName; // of the window's label that shows it
    QPixmap (*draw)(qreal devicePixelRatio);
};

// The cross-sections the window can show, one row each.
const std::vector<LinePictureEntry>& LinePictures();

// The picture of the line type on this tab, by its descriptor's key; a tab
// without a line type, or a key without a picture, gives an empty picture.
QPixmap LinePicture(int tabIndex);
QPixmap LinePicture(int tabIndex, qreal devicePixelRatio);
QPixmap LinePicture(std::string_view key, qreal devicePixelRatio);
// The same showing a solder mask and a cover where the line has them.
QPixmap LinePicture(std::string_view key, qreal devicePixelRatio, const Coating& coating);
// The object name of the label showing the picture of `key`.
const char* LinePictureName(std::string_view key);

// 32 x 32 arrow; Analyze points left (from the physical group to the
// electrical group), Synthesize right.
QPixmap ArrowGlyph(bool pointsLeft);
QPixmap ArrowGlyph(bool pointsLeft, qreal devicePixelRatio);

// 62 x 21 picture of the maker's (documentation) button.
QPixmap MakerPicture();
QPixmap MakerPicture(qreal devicePixelRatio);

// Drawn afresh at every size it is asked for, when it is asked for.
QIcon WindowIcon();

// The ratio the pictures are drawn at when none is given: the highest of the
// application's screens (1 without a running application).
qreal PictureDevicePixelRatio();
