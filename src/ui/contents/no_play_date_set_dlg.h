#pragma once
// "再生しない期間の設定": a period of days and the weekdays in it on which a
// schedule does not play. The weekdays are the digits "1" (Sunday) to "7"
// (Saturday); every checked weekday must occur in the period.

#include "core/win_types.h"

#include <QDialog>

#include <array>

class CWeekdayChecks;
class QCheckBox;
class QDateEdit;

class CNoPlayDateSetDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 2011;
    static constexpr int kStartDateId = 1102;
    static constexpr int kEndDateId = 1100;
    static constexpr int kCheckAllId = 1005;
    static constexpr int kUncheckAllId = 1006;
    // The weekday checks, Sunday to Saturday.
    static constexpr std::array<int, 7> kWeekdayIds = {1064, 1049, 1069, 1076, 1068, 1045, 1056};

    explicit CNoPlayDateSetDlg(QWidget *parent = nullptr);

    void SetStartDate(const DateValue &date) { m_start = date; }
    void SetEndDate(const DateValue &date) { m_end = date; }
    void SetWeek(const QString &week) { m_week = week; }
    DateValue GetStartDate() const { return m_start; }
    DateValue GetEndDate() const { return m_end; }
    QString GetWeek() const { return m_week; }
    bool IsModified() const { return m_modified; }

    QDateEdit *GetStartEdit() const { return m_startEdit; }
    QDateEdit *GetEndEdit() const { return m_endEdit; }
    QCheckBox *GetWeekdayCheck(int day) const; // 0 Sunday .. 6 Saturday

    void accept() override;
    void reject() override;

    // The weekday digits of the days from start to end; all seven once the
    // period covers a whole week.
    static QString WeekdaysInPeriod(const QDate &start, const QDate &end);
    // Why a period with weekdays cannot be taken: 5243 (ends before it
    // starts), 5244 (no weekday) or 5245 (a weekday that the period never
    // reaches); 0 when it can.
    static quint32 PeriodRefusal(const QDate &start, const QDate &end, const QString &week);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void setAllWeekdays(bool checked);

    QDateEdit *m_startEdit;
    QDateEdit *m_endEdit;
    CWeekdayChecks *m_weekdays;
    DateValue m_start;
    DateValue m_end;
    QString m_week;
    bool m_modified = false;
};
