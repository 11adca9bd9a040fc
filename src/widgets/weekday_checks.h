#pragma once
// A row of seven day boxes, Sunday to Saturday under their short Japanese
// names, that shows and takes the weekday digits of a schedule or a period
// ("1" Sunday to "7" Saturday, see core/time_utils.h). Each box keeps the
// control id its dialog gives it.

#include <QWidget>

#include <array>

class QCheckBox;

class CWeekdayChecks : public QWidget {
    Q_OBJECT
public:
    CWeekdayChecks(const std::array<int, 7> &controlIds, QWidget *parent);

    // The box of a day, 0 Sunday .. 6 Saturday; null outside.
    QCheckBox *GetCheck(int day) const;
    // Checks the days whose digits the text holds and clears the others.
    void SetWeekdays(const QString &digits);
    // The digits of the checked days, Sunday first.
    QString GetWeekdays() const;
    void SetAllChecked(bool checked);

private:
    std::array<QCheckBox *, 7> m_days{};
};

// The seven short Japanese weekday names, Sunday first as the calendar shows
// the week and as the weekday digits count.
QStringList ShortDayNamesSundayFirst();
