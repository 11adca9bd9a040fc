#pragma once
// Controls of the settings pages made one way: each carries its numeric id
// as its object name; times show "HH:mm:ss" and convert to and from the
// stored time values.

#include "core/win_types.h"

#include <QString>
#include <QTime>

class QCheckBox;
class QSpinBox;
class QTimeEdit;
class QWidget;

QCheckBox *MakeCheckField(QWidget *parent, const QString &text, int id);
QTimeEdit *MakeTimeField(QWidget *parent, int id);
QSpinBox *MakeSpinField(QWidget *parent, int id, int minimum, int maximum);

QTime ToQTime(const TimeValue &time);
TimeValue ToTimeValue(const QTime &time);
