#pragma once
// "スケジュールの設定" (dialog 2018): the whole schedule block of a save
// (ScheduleSetBlock, ops/playlist_storage.h): whether the save also sets a
// schedule, for which group, its background colour from the calendar colour
// table, the days it plays from and to, the time of day it plays from and
// to, and its weekdays ("1" Sunday to "7" Saturday). OK refuses a schedule
// without a group, a period that ends before it starts, no weekday, a
// weekday the period never reaches, an event that would run past midnight
// and one shorter than five seconds, and then gives the block back.
//
// A block that already sets a schedule (the save or edit of a schedule of the
// current group) keeps its flag, group and times, as a schedule plays the
// times of its events: only a playlist's save chooses whether to set a
// schedule, for which group and when in the day. While the flag is off the
// rest of the block is not asked.

#include "ops/playlist_storage.h"

#include <QDialog>
#include <QString>

#include <array>

class CColorComboBox;
class CWeekdayChecks;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QTimeEdit;

class CScheduleSetDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 2018;
    static constexpr int kSetScheduleId = 1301;
    static constexpr int kGroupId = 1302;
    static constexpr int kColorId = 1303;
    static constexpr int kStartDateId = 1304;
    static constexpr int kEndDateId = 1305;
    static constexpr int kStartTimeId = 1306;
    static constexpr int kEndTimeId = 1307;
    // The weekday checks, Sunday to Saturday.
    static constexpr std::array<int, 7> kWeekdayIds = {1311, 1312, 1313, 1314, 1315, 1316, 1317};

    explicit CScheduleSetDlg(QWidget *parent = nullptr);

    void SetBlock(const ScheduleSetBlock &block);
    const ScheduleSetBlock &GetBlock() const { return m_block; }

    QCheckBox *GetSetScheduleCheck() const { return m_setSchedule; }
    QComboBox *GetGroupCombo() const { return m_group; }
    CColorComboBox *GetColorCombo() const { return m_color; }
    QDateEdit *GetStartDateEdit() const { return m_startDate; }
    QDateEdit *GetEndDateEdit() const { return m_endDate; }
    QTimeEdit *GetStartTimeEdit() const { return m_startTime; }
    QTimeEdit *GetEndTimeEdit() const { return m_endTime; }
    QCheckBox *GetWeekdayCheck(int day) const; // 0 Sunday .. 6 Saturday

    // Checks the fields and takes them into the block.
    void accept() override;

private:
    void fillGroups();
    void fillColors();
    void showBlock();
    void enableFields();
    // The message that refuses the fields; 0 when they can be taken.
    quint32 refusal() const;

    ScheduleSetBlock m_block;
    QCheckBox *m_setSchedule = nullptr;
    QComboBox *m_group = nullptr;
    CColorComboBox *m_color = nullptr;
    QDateEdit *m_startDate = nullptr;
    QDateEdit *m_endDate = nullptr;
    QTimeEdit *m_startTime = nullptr;
    QTimeEdit *m_endTime = nullptr;
    CWeekdayChecks *m_days = nullptr;
};
