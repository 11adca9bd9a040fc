#include "ui/players/settings_fields.h"

#include <QCheckBox>
#include <QSpinBox>
#include <QTimeEdit>

QCheckBox *MakeCheckField(QWidget *parent, const QString &text, int id)
{
    auto *box = new QCheckBox(text, parent);
    box->setObjectName(QString::number(id));
    return box;
}

QTimeEdit *MakeTimeField(QWidget *parent, int id)
{
    auto *edit = new QTimeEdit(parent);
    edit->setObjectName(QString::number(id));
    edit->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    return edit;
}

QSpinBox *MakeSpinField(QWidget *parent, int id, int minimum, int maximum)
{
    auto *spin = new QSpinBox(parent);
    spin->setObjectName(QString::number(id));
    spin->setRange(minimum, maximum);
    return spin;
}

QTime ToQTime(const TimeValue &time)
{
    return QTime(time.hour, time.minute, time.second);
}

TimeValue ToTimeValue(const QTime &time)
{
    return TimeValue{quint16(time.hour()), quint16(time.minute()), quint16(time.second()), 0};
}
