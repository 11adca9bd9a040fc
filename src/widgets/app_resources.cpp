#include "widgets/app_resources.h"

#include <QString>

namespace {

QPixmap loadResource(const char *folder, int id)
{
    if (id < 0)
        return {};
    return QPixmap(QStringLiteral(":/%1/%2.png").arg(QLatin1String(folder)).arg(id));
}

} // namespace

QPixmap LoadBitmapResource(int id)
{
    return loadResource("bitmaps", id);
}

QPixmap LoadIconResource(int id)
{
    return loadResource("icons", id);
}
