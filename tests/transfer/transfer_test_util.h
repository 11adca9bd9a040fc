#pragma once
// Shared helpers of the transfer tests: hand-written golden files, dates and
// times, and a temporary folder per test.

#include "core/win_types.h"

#include <QByteArray>
#include <QString>

// The bytes of a golden file under tests/transfer/golden.
QByteArray ReadGolden(const QString &name);
QByteArray ReadFileBytes(const QString &path);

SystemTime MakeTime(int year, int month, int day, int hour = 0, int minute = 0, int second = 0,
                    int milliseconds = 0);
DateValue MakeDate(int year, int month, int day);
