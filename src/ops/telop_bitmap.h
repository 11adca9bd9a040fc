#pragma once
// The telop bitmap the players show: the whole text on one row, each line
// break drawn as one blank, as a Windows BMP file (docs/file-formats.md,
// "Telop bitmap"): 1 or 4 bits per pixel with the telop's palette, or 24 bits
// when the system's 24-bit colour setting is on. Qt writes no 4-bit BMP, so
// the file is put together here.

#include "ops/telop_files.h"

#include <QByteArray>
#include <QImage>

class CTelopTextDoc;

struct TelopBitmapOptions {
    int depth = 4;              // 1 or 4 bits per pixel in palette mode
    bool color24 = false;       // the system's 24-bit colour setting
    ColorRef transparent = 0;   // the players' transparent colour
};

// Draws the text into an RGB32 image as wide as the text and as tall as its
// font size. False (last error 87) when the text has no width or no height.
bool RenderTelopImage(const CTelopTextDoc &doc, const TelopPalette &palette, const TelopBitmapOptions &options,
                      QImage &image);

// The BMP file of an image: in palette mode every pixel becomes the index of
// the first of the palette's entries equal to it (1 when none is), else 24-bit
// rows. False (last error 87) for an empty image or a depth other than 1 or 4.
bool EncodeTelopBmp(const QImage &image, const TelopPalette &palette, const TelopBitmapOptions &options,
                    QByteArray &bytes);

// RenderTelopImage then EncodeTelopBmp.
bool GetBmpData(const CTelopTextDoc &doc, const TelopPalette &palette, const TelopBitmapOptions &options,
                QByteArray &bytes);
