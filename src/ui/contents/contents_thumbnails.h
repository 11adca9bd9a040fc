#pragma once
// The pictures of the thumbnail view: a content's 96 x 96 cell made from its
// stored small thumbnail, the pictures of a missing file and of a missing
// thumbnail, and a telop row drawn from the telop's rendered bitmap.

#include <QImage>

class CPropertyBase;
class CTelopProperty;
class QPainter;
class QRect;

inline constexpr int kThumbnailCellSize = 96;

// True when the record's content file should exist and does not: the
// material file of video, still, Flash and audio contents, the telop file of
// a telop, the local file of a URL content (a web address never misses).
bool IsContentFileMissing(const CPropertyBase &record);

// The cell of a video, still, URL or Flash record: its thumbnail unscaled and
// centred on the cell background (cropped around its centre when larger), the
// no-thumbnail picture when it does not load, and the missing-file picture
// (the no-thumbnail one for stills) when the content file is missing.
QImage MakeThumbnailCell(const CPropertyBase &record);

// Draws a telop's bitmap into a row: the row less 4 pixels left and right and
// 2 top and bottom, scaled to that height; when wider, only the left part of
// the bitmap that fits is used. Without the bitmap file the telop placeholder
// is drawn. Nothing is drawn for an empty rectangle or a bitmap of no size.
void DrawTelopThumbnail(QPainter &painter, const QRect &row, const CTelopProperty &record);
