#pragma once
// Finds a window's control as an operator would point at it: by the dialog
// resource id that the views give their controls as object names.

#include <QString>
#include <QWidget>

#include <gtest/gtest.h>

template <class Control>
Control *control(QWidget *parent, int id)
{
    auto *found = parent->findChild<Control *>(QString::number(id));
    EXPECT_NE(found, nullptr) << id;
    return found;
}
