#include "widgets/telv_bmp_button.h"

#include "widgets/app_resources.h"

#include <QFontMetrics>
#include <QPainter>

CTelvBmpButton::CTelvBmpButton(QWidget *parent) : QAbstractButton(parent) {}

bool CTelvBmpButton::SetBitmaps(const QString &label, int normalId, int pressedId, int currentId)
{
    const QPixmap normal = LoadBitmapResource(normalId);
    const QPixmap pressed = LoadBitmapResource(pressedId);
    if (normal.isNull() || pressed.isNull())
        return false;
    m_normal = normal;
    m_pressed = pressed;
    m_current = LoadBitmapResource(currentId);
    setText(label);
    setFixedSize(m_normal.size());
    update();
    return true;
}

void CTelvBmpButton::SetPushed(bool pushed)
{
    if (pushed == m_pushed)
        return;
    m_pushed = pushed;
    update();
}

void CTelvBmpButton::SetTextColor(const QColor &color)
{
    m_textColor = color;
    update();
}

void CTelvBmpButton::SetTextOffset(int left)
{
    m_textLeft = left;
    update();
}

QSize CTelvBmpButton::sizeHint() const
{
    return m_normal.isNull() ? QSize(1, 1) : m_normal.size();
}

QFont CTelvBmpButton::LabelFont() const
{
    constexpr qreal kSmallestPoints = 6.0;
    constexpr qreal kStepPoints = 0.5;
    constexpr int kRightMargin = 2;
    QFont fitted = font();
    const int room = width() - m_textLeft - kRightMargin;
    qreal points = fitted.pointSizeF();
    while (points - kStepPoints >= kSmallestPoints && QFontMetrics(fitted).horizontalAdvance(text()) > room) {
        points -= kStepPoints;
        fitted.setPointSizeF(points);
    }
    return fitted;
}

void CTelvBmpButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QPixmap &face = isDown() ? m_pressed : m_normal;
    if (!face.isNull())
        painter.drawPixmap(rect(), face);
    if (m_pushed && !m_current.isNull())
        painter.drawPixmap(rect(), m_current);
    if (!text().isEmpty()) {
        painter.setPen(m_textColor);
        painter.setFont(LabelFont());
        painter.drawText(rect().adjusted(m_textLeft, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                         text());
    }
    if (hasFocus()) {
        painter.setPen(QPen(m_textColor, 1, Qt::DotLine));
        painter.drawRect(rect().adjusted(2, 2, -3, -3));
    }
}
