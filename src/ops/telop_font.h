#pragma once
// Fonts of telop texts. A telop's font size is the height of a character cell
// (ascent plus descent) in pixels, as the players and the stored files count
// it, not the em size Qt calls the pixel size: a 60-pixel telop has lines
// exactly 60 pixels tall. Kerning is off so that a text drawn cell by cell is
// as wide as the sum of its cells.

#include <QFont>
#include <QString>
#include <QStringList>

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

// A family's name without the foundry the toolkit adds where several
// foundries make a family ("C059 [UKWN]" is "C059"): the players and the
// stored files know a face by its family name alone.
QString TelopFamilyName(const QString &listed);

// The installed families a telop may use, each once, by family name. With
// filter only scalable faces, and none written sideways (named with a
// leading at sign) or of symbols.
QStringList TelopFamilies(bool filter);

// The family name under which an installed face is listed here, whatever
// the locale calls it ("IPAGothic" is listed as "IPAゴシック" under a Japanese
// locale and the other way round); empty when the face is not installed.
QString InstalledTelopFamily(const QString &face);

// The face of a new telop: the first installed of the Japanese faces the
// program prefers, else the first installed family that writes Japanese;
// empty when there is none.
QString DefaultTelopFamily();
