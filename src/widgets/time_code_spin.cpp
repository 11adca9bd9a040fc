#include "widgets/time_code_spin.h"

#include <QToolButton>

#include <algorithm>

CTimeCodeSpin::CTimeCodeSpin(QWidget *parent)
    : QWidget(parent), m_up(new QToolButton(this)), m_down(new QToolButton(this))
{
    for (QToolButton *button : {m_up, m_down}) {
        button->setAutoRepeat(true);
        button->setFocusPolicy(Qt::NoFocus);
    }
    m_up->setArrowType(Qt::UpArrow);
    m_down->setArrowType(Qt::DownArrow);
    connect(m_up, &QToolButton::clicked, this, [this] { step(1); });
    connect(m_down, &QToolButton::clicked, this, [this] { step(-1); });
    setFocusPolicy(Qt::NoFocus);
}

void CTimeCodeSpin::SetRange(int minimum, int maximum)
{
    m_minimum = minimum;
    m_maximum = std::max(minimum, maximum);
    m_position = std::clamp(m_position, m_minimum, m_maximum);
}

void CTimeCodeSpin::SetPos(int position)
{
    m_position = std::clamp(position, m_minimum, m_maximum);
}

void CTimeCodeSpin::step(int delta)
{
    const int next = std::clamp(m_position + delta, m_minimum, m_maximum);
    if (next == m_position)
        return;
    m_position = next;
    emit positionChanged(next);
}

QSize CTimeCodeSpin::sizeHint() const
{
    return QSize(16, 22);
}

void CTimeCodeSpin::resizeEvent(QResizeEvent *)
{
    const int half = height() / 2;
    m_up->setGeometry(0, 0, width(), half);
    m_down->setGeometry(0, half, width(), height() - half);
}
