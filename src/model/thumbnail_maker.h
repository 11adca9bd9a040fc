#pragma once
// The two thumbnails of a video or still content: "%09d.jpg" (large) and
// "%09dt.jpg" (small, for the 96 x 96 cells of the contents list), in the
// thumbnail folder of the content's type.

#include <QImage>
#include <QSize>
#include <QString>

// The small thumbnail fits into a square of this side.
constexpr int kSmallThumbnailSide = 94;
// The large thumbnail is the picture fitted into a square of this side, never
// enlarged: enough for the layout preview, small enough to make quickly.
constexpr int kLargeThumbnailSide = 640;

// The small thumbnail of a width x height picture: the longer side becomes 94
// and the other is truncated from its ratio with the single-precision factor
// 1/94 (1600 x 900 gives 94 x 52, 800 x 2400 gives 31 x 94); a side that would
// be 0 becomes 1. An empty size for a picture without area.
QSize FitSmallThumbnailSize(int width, int height);
// The large thumbnail: the picture itself when both sides are within 640,
// else the longer side becomes 640 and the other keeps the ratio (truncated,
// at least 1). An empty size for a picture without area.
QSize FitLargeThumbnailSize(int width, int height);

// "<dataRoot>/TelvData/Q9Data/Thumb/<kind>": Video (type 1), Still (2), URL (4)
// and Flash (5); an empty text for the other types.
QString ThumbnailFolder(const QString &dataRoot, int contentType);
// The large or the small thumbnail file of a content number in a folder; false
// with last error 87 for an empty folder or a number without nine digits.
bool MakeThumbnailPath(const QString &folder, qint64 number, bool small, QString &path);

// Writes both thumbnails of a picture whose original size is originalSize
// (the small size follows the original, so a picture decoded at reduced size
// gives the same small thumbnail). picture is scaled to the large size when it
// is not already that size. Creates the folder; each file is replaced
// atomically. False with the last error when a file could not be written.
bool WriteThumbnails(const QImage &picture, QSize originalSize, const QString &folder, qint64 number);

// The small thumbnail of a picture (FitSmallThumbnailSize, smooth scaling); a
// null image for a picture without area.
QImage MakeSmallThumbnail(const QImage &picture);
// Writes the large and the small thumbnail of a content as they are (a null
// image is left out); used for pages captured at their own size. Creates the
// folder; each file is replaced atomically. False with the last error.
bool WriteThumbnailPair(const QImage &large, const QImage &small, const QString &folder, qint64 number);
