#include "ui/contents/color_button.h"

#include "widgets/color_dialog.h"

#include <QPainter>
#include <QStyleOptionFocusRect>

CColorButton::CColorButton(QWidget *parent) : QAbstractButton(parent)
{
    setCheckable(true);
    setFocusPolicy(Qt::StrongFocus);
}

void CColorButton::SetColor(ColorRef color)
{
    m_color = color;
    repaint();
}

QSize CColorButton::sizeHint() const
{
    return {32, 24};
}

void CColorButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRect client = rect();
    painter.fillRect(client, palette().color(QPalette::Button));
    const QRect swatch = client.adjusted(1, 1, -1, -1);
    painter.fillRect(swatch, ToQColor(m_color));

    // A sunken frame: shadow at the top and left, light at the bottom and right.
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawLine(swatch.topLeft(), swatch.topRight());
    painter.drawLine(swatch.topLeft(), swatch.bottomLeft());
    painter.setPen(palette().color(QPalette::Light));
    painter.drawLine(swatch.bottomLeft(), swatch.bottomRight());
    painter.drawLine(swatch.topRight(), swatch.bottomRight());

    if (hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = client;
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}
