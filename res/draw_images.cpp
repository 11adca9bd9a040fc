// Draws the program's bitmaps and icons as small PNG files:
//   res/bitmaps/<id>.png  navigation buttons, guidance toggle, thumbnail frames
//   res/icons/<id>.png    sort marks
// and the pictures the layout check shows for contents without a thumbnail:
//   res/pictures/ExInput.jpg, IpCamera.jpg, PinP.jpg (640 x 480, beside the program)
// Run res/draw_images.sh after changing a drawing; the images are committed.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cstdio>

namespace {

QString g_outRoot;

bool save(const QImage &image, const char *folder, int id)
{
    const QString path = QStringLiteral("%1/%2/%3.png").arg(g_outRoot, QString::fromLatin1(folder)).arg(id);
    if (image.save(path))
        return true;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
}

QImage blank(int width, int height, QColor fill = Qt::transparent)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(fill);
    return image;
}

// The looks of one navigation button.
enum class Look { Normal, Pressed, Current };

constexpr int kBarWidth = 148;
constexpr int kViewHeight = 44;
constexpr int kToggleHeight = 26;

QColor baseColor(Look look)
{
    switch (look) {
    case Look::Pressed:
        return QColor(40, 62, 96);
    case Look::Current:
        return QColor(214, 120, 32);
    case Look::Normal:
        break;
    }
    return QColor(70, 98, 136);
}

void drawButtonFace(QPainter &p, const QRect &r, Look look)
{
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    const QColor base = baseColor(look);
    g.setColorAt(0, base.lighter(look == Look::Pressed ? 105 : 135));
    g.setColorAt(1, base);
    p.fillRect(r, g);
    p.setPen(base.darker(160));
    p.drawRect(r.adjusted(0, 0, -1, -1));
    p.setPen(QColor(255, 255, 255, look == Look::Pressed ? 40 : 110));
    p.drawLine(r.left() + 1, r.top() + 1, r.right() - 1, r.top() + 1);
}

// A small symbol per view, drawn at the left end of the button; the button
// draws its label to the right of it.
void drawSymbol(QPainter &p, const QRect &box, int symbol)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::white, 1.6));
    p.setBrush(Qt::NoBrush);
    const QRectF r = QRectF(box).adjusted(2, 2, -2, -2);
    const QPointF c = r.center();
    switch (symbol % 8) {
    case 0: // stacked sheets
        p.drawRect(r.adjusted(0, 4, -4, 0));
        p.drawLine(QPointF(r.left() + 4, r.top()), QPointF(r.right(), r.top()));
        p.drawLine(QPointF(r.right(), r.top()), QPointF(r.right(), r.bottom() - 4));
        break;
    case 1: // play triangle
    {
        QPainterPath path;
        path.moveTo(r.left() + 3, r.top());
        path.lineTo(r.right(), c.y());
        path.lineTo(r.left() + 3, r.bottom());
        path.closeSubpath();
        p.drawPath(path);
        break;
    }
    case 2: // note
        p.drawEllipse(QRectF(r.left(), r.bottom() - 6, 7, 6));
        p.drawLine(QPointF(r.left() + 7, r.bottom() - 3), QPointF(r.left() + 7, r.top()));
        p.drawLine(QPointF(r.left() + 7, r.top()), QPointF(r.right(), r.top() + 3));
        break;
    case 3: // clock
        p.drawEllipse(r);
        p.drawLine(c, QPointF(c.x(), r.top() + 3));
        p.drawLine(c, QPointF(r.right() - 3, c.y()));
        break;
    case 4: // calendar grid
        p.drawRect(r);
        for (int i = 1; i < 3; ++i) {
            p.drawLine(QPointF(r.left() + i * r.width() / 3, r.top()), QPointF(r.left() + i * r.width() / 3, r.bottom()));
            p.drawLine(QPointF(r.left(), r.top() + i * r.height() / 3), QPointF(r.right(), r.top() + i * r.height() / 3));
        }
        break;
    case 5: // arrow to a box (delivery)
        p.drawRect(QRectF(r.right() - 6, r.top(), 6, r.height()));
        p.drawLine(QPointF(r.left(), c.y()), QPointF(r.right() - 8, c.y()));
        p.drawLine(QPointF(r.right() - 12, c.y() - 4), QPointF(r.right() - 8, c.y()));
        p.drawLine(QPointF(r.right() - 12, c.y() + 4), QPointF(r.right() - 8, c.y()));
        break;
    case 6: // monitor
        p.drawRect(r.adjusted(0, 0, 0, -5));
        p.drawLine(QPointF(c.x(), r.bottom() - 5), QPointF(c.x(), r.bottom()));
        p.drawLine(QPointF(c.x() - 4, r.bottom()), QPointF(c.x() + 4, r.bottom()));
        break;
    default: // gear
        p.drawEllipse(QRectF(c.x() - 4, c.y() - 4, 8, 8));
        for (int i = 0; i < 8; ++i) {
            p.save();
            p.translate(c);
            p.rotate(45.0 * i);
            p.drawLine(QPointF(0, -5), QPointF(0, -r.height() / 2));
            p.restore();
        }
        break;
    }
    p.restore();
}

QImage viewButton(Look look, int symbol)
{
    QImage image = blank(kBarWidth, kViewHeight);
    QPainter p(&image);
    drawButtonFace(p, image.rect(), look);
    drawSymbol(p, QRect(8, (kViewHeight - 20) / 2, 20, 20), symbol);
    if (look == Look::Current) {
        p.setPen(QPen(QColor(255, 236, 180), 2));
        p.drawRect(QRect(1, 1, kBarWidth - 3, kViewHeight - 3));
    }
    return image;
}

// The settings group toggles: an open group shows a minus, a closed one a plus.
QImage toggleButton(Look look, bool opens)
{
    QImage image = blank(kBarWidth, kToggleHeight);
    QPainter p(&image);
    drawButtonFace(p, image.rect(), look);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::white, 2));
    const QPointF c(kBarWidth - 13, kToggleHeight / 2.0);
    p.drawLine(c - QPointF(5, 0), c + QPointF(5, 0));
    if (opens)
        p.drawLine(c - QPointF(0, 5), c + QPointF(0, 5));
    return image;
}

QImage picture(int height, bool heading)
{
    QImage image = blank(kBarWidth, height, QColor(98, 126, 160));
    QPainter p(&image);
    if (heading) {
        QLinearGradient g(0, 0, kBarWidth, 0);
        g.setColorAt(0, QColor(30, 48, 80));
        g.setColorAt(1, QColor(98, 126, 160));
        p.fillRect(image.rect(), g);
        p.setPen(QPen(QColor(255, 200, 120), 3));
        p.drawLine(6, height - 6, kBarWidth - 6, height - 6);
    } else {
        p.setPen(QColor(200, 214, 232));
        p.drawLine(6, height / 2, kBarWidth - 7, height / 2);
    }
    return image;
}

// The guidance bar's toggle: a double chevron pointing left (navigation shown,
// click hides it) or right (navigation hidden).
QImage guideToggle(bool pointsLeft, bool pressed)
{
    QImage image = blank(24, 20);
    QPainter p(&image);
    drawButtonFace(p, image.rect(), pressed ? Look::Pressed : Look::Normal);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::white, 1.8));
    const qreal dir = pointsLeft ? -1 : 1;
    for (const qreal x : {9.5, 14.5}) {
        const QPointF tip(x + 2.5 * dir, 10);
        p.drawLine(tip, QPointF(x - 2.5 * dir, 5));
        p.drawLine(tip, QPointF(x - 2.5 * dir, 15));
    }
    return image;
}

QImage sortMark(bool ascending, QColor color)
{
    QImage image = blank(16, 16);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    QPainterPath path;
    if (ascending) {
        path.moveTo(8, 4);
        path.lineTo(13, 11);
        path.lineTo(3, 11);
    } else {
        path.moveTo(3, 5);
        path.lineTo(13, 5);
        path.lineTo(8, 12);
    }
    path.closeSubpath();
    p.drawPath(path);
    return image;
}

QImage thumbnailFrame()
{
    QImage image = blank(96, 96, QColor(236, 236, 236));
    QPainter p(&image);
    p.setPen(QColor(160, 160, 160));
    p.drawRect(0, 0, 95, 95);
    p.setPen(Qt::white);
    p.drawLine(1, 1, 94, 1);
    p.drawLine(1, 1, 1, 94);
    return image;
}

// Missing file: a sheet with a red cross. No thumbnail: an empty picture frame.
QImage missingFile()
{
    QImage image = thumbnailFrame();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(90, 90, 90), 2));
    p.setBrush(Qt::white);
    p.drawRect(30, 22, 36, 48);
    p.setPen(QPen(QColor(200, 30, 30), 4));
    p.drawLine(36, 34, 60, 58);
    p.drawLine(60, 34, 36, 58);
    return image;
}

QImage noThumbnail()
{
    QImage image = thumbnailFrame();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(120, 120, 120), 2));
    p.drawRect(22, 28, 52, 40);
    p.drawEllipse(QPointF(36, 40), 4, 4);
    p.drawLine(26, 64, 44, 48);
    p.drawLine(44, 48, 54, 58);
    p.drawLine(54, 58, 62, 50);
    p.drawLine(62, 50, 72, 64);
    return image;
}

QImage telopPlaceholder()
{
    QImage image = blank(96, 24, QColor(24, 24, 48));
    QPainter p(&image);
    p.setPen(QColor(255, 255, 255));
    for (int x = 8; x < 88; x += 10)
        p.drawLine(x, 12, x + 6, 12);
    return image;
}

struct NavEntry {
    int normal;
    int pressed;
    int current; // -1: a toggle or a picture
    int symbol;
};

// A 640 x 480 picture standing for a kind of content: a coloured field with
// a symbol and its name.
QImage contentPicture(QColor base, const char *name, int symbol)
{
    QImage image(640, 480, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, 480);
    g.setColorAt(0, base.lighter(130));
    g.setColorAt(1, base.darker(130));
    p.fillRect(image.rect(), g);
    p.setPen(QPen(Qt::white, 10));
    p.setBrush(Qt::NoBrush);
    const QRect mark(220, 110, 200, 150);
    if (symbol == 0) { // a plug
        p.drawRoundedRect(mark.adjusted(30, 40, -30, 0), 16, 16);
        p.drawLine(280, 110, 280, 150);
        p.drawLine(360, 110, 360, 150);
    } else if (symbol == 1) { // a camera
        p.drawRoundedRect(mark.adjusted(0, 20, -50, -10), 12, 12);
        p.drawPolygon(QPolygon({QPoint(370, 165), QPoint(420, 135), QPoint(420, 235), QPoint(370, 205)}));
    } else { // a picture in a picture
        p.drawRect(mark);
        p.fillRect(QRect(320, 185, 90, 65), Qt::white);
    }
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(44);
    font.setBold(true);
    p.setFont(font);
    p.drawText(QRect(0, 300, 640, 80), Qt::AlignCenter, QString::fromLatin1(name));
    return image;
}

bool savePicture(const QImage &image, const char *name)
{
    const QString path = QStringLiteral("%1/pictures/%2").arg(g_outRoot, QString::fromLatin1(name));
    if (image.save(path, "JPG", 90))
        return true;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    g_outRoot = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath();
    QDir().mkpath(g_outRoot + QStringLiteral("/bitmaps"));
    QDir().mkpath(g_outRoot + QStringLiteral("/icons"));
    QDir().mkpath(g_outRoot + QStringLiteral("/pictures"));
    bool ok = true;

    // Navigation bar: view buttons (normal, pressed, current view).
    const NavEntry views[] = {
        {115, 116, 119, 0}, {121, 122, 120, 1}, {124, 125, 123, 2}, {127, 128, 126, 3},
        {131, 132, 130, 5}, {170, 171, 169, 4}, {117, 118, 129, 5}, {134, 135, 133, 1},
        {162, 163, 161, 6}, {150, 151, 149, 6}, {112, 113, 136, 7}, {138, 139, 137, 6},
        {141, 142, 140, 0}, {144, 145, 143, 0}, {147, 148, 146, 7}, {153, 154, 152, 4},
    };
    for (const NavEntry &v : views) {
        ok &= save(viewButton(Look::Normal, v.symbol), "bitmaps", v.normal);
        ok &= save(viewButton(Look::Pressed, v.symbol), "bitmaps", v.pressed);
        ok &= save(viewButton(Look::Current, v.symbol), "bitmaps", v.current);
    }
    // The settings group: 110/111 open it, 155/156 close it.
    ok &= save(toggleButton(Look::Normal, true), "bitmaps", 110);
    ok &= save(toggleButton(Look::Pressed, true), "bitmaps", 111);
    ok &= save(toggleButton(Look::Normal, false), "bitmaps", 155);
    ok &= save(toggleButton(Look::Pressed, false), "bitmaps", 156);
    // Pictures: the heading and the separators between the groups.
    ok &= save(picture(36, true), "bitmaps", 165);
    for (int id : {114, 164, 166, 167, 168})
        ok &= save(picture(10, false), "bitmaps", id);

    // Guidance bar toggle: 157/158 while the navigation bar is shown, 159/160 hidden.
    ok &= save(guideToggle(true, false), "bitmaps", 157);
    ok &= save(guideToggle(true, true), "bitmaps", 158);
    ok &= save(guideToggle(false, false), "bitmaps", 159);
    ok &= save(guideToggle(false, true), "bitmaps", 160);

    // Thumbnail pictures.
    ok &= save(thumbnailFrame(), "bitmaps", 180);
    ok &= save(missingFile(), "bitmaps", 181);
    ok &= save(noThumbnail(), "bitmaps", 182);
    ok &= save(telopPlaceholder(), "bitmaps", 183);

    // Menu sort marks (190 descending, 191 ascending) and list header marks
    // (803 descending, 804 ascending).
    ok &= save(sortMark(false, QColor(60, 60, 60)), "bitmaps", 190);
    ok &= save(sortMark(true, QColor(60, 60, 60)), "bitmaps", 191);
    ok &= save(sortMark(false, QColor(70, 98, 136)), "icons", 803);
    ok &= save(sortMark(true, QColor(70, 98, 136)), "icons", 804);

    // Pictures of the layout check: external input, IP camera, picture in picture.
    ok &= savePicture(contentPicture(QColor(48, 110, 72), "EXTERNAL INPUT", 0), "ExInput.jpg");
    ok &= savePicture(contentPicture(QColor(60, 80, 150), "IP CAMERA", 1), "IpCamera.jpg");
    ok &= savePicture(contentPicture(QColor(130, 70, 120), "PICTURE IN PICTURE", 2), "PinP.jpg");
    return ok ? 0 : 1;
}
