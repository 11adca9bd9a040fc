#pragma once
// A dialog's control carries its control id as object name: the tests, the
// window layouts and the help find it by that id.

#include <QString>

template <class Widget>
Widget *WithControlId(Widget *widget, int id)
{
    widget->setObjectName(QString::number(id));
    return widget;
}
