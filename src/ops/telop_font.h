#pragma once
// Fonts of telop texts. A telop's font size is the height of a character cell
// (ascent plus descent) in pixels, as the players and the stored files count
// it, not the em size Qt calls the pixel size: a 60-pixel telop has lines
// exactly 60 pixels tall. Kerning is off so that a text drawn cell by cell is
// as wide as the sum of its cells.

#include <QFont>
#include <QString>

// Style bits of a telop cell. Bit 3 travels with the text (stored, compared,
// saved) without changing how it is drawn.
enum TelopStyle : quint32 {
    TELOP_STYLE_NORMAL = 0,
    TELOP_STYLE_BOLD = 1,
    TELOP_STYLE_ITALIC = 2,
    TELOP_STYLE_UNDERLINE = 4,
    TELOP_STYLE_CARRIED = 8,
    TELOP_STYLE_MASK = 15,
};

// The font of the face whose cell is height pixels tall, with the style bits.
// Without antialiasing the glyphs are drawn in the text colour only, so a
// rendered telop holds no colour outside its palette.
QFont MakeTelopFont(const QString &face, int height, quint32 style, bool antialiased);

// The pixel size at which the face's cell is height pixels tall (at least 1).
int TelopPixelSize(const QString &face, int height);
