#pragma once
// The bitmaps and icons compiled into the program, by resource id.

#include <QPixmap>

// The bitmap of an id (":/bitmaps/<id>.png"); a null pixmap when there is none.
QPixmap LoadBitmapResource(int id);
// The icon of an id (":/icons/<id>.png"); a null pixmap when there is none.
QPixmap LoadIconResource(int id);
