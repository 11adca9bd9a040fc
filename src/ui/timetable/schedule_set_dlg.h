#pragma once
// STAND-IN for the schedule setting dialog (dialog 2018), until the schedule
// editor is built: the least the save of a playlist or schedule needs of it.
// It edits the schedule block (whether to set a schedule, the group, the
// background colour, the start and end dates and times and the weekdays) and
// gives it back on OK (ScheduleSetBlock, ops/playlist_storage.h). The colour
// passes through unchanged.

#include "ops/playlist_storage.h"

#include <QDialog>
#include <QString>

#include <array>

class QCheckBox;
class QDateEdit;
class QLabel;
class QTimeEdit;

class CScheduleSetDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 2018;

    explicit CScheduleSetDlg(QWidget *parent = nullptr);

    void SetBlock(const ScheduleSetBlock &block);
    const ScheduleSetBlock &GetBlock() const { return m_block; }

    // Takes the fields into the block.
    void accept() override;

private:
    void showBlock();

    ScheduleSetBlock m_block;
    QCheckBox *m_setSchedule = nullptr;
    QLabel *m_group = nullptr;
    QDateEdit *m_startDate = nullptr;
    QDateEdit *m_endDate = nullptr;
    QTimeEdit *m_startTime = nullptr;
    QTimeEdit *m_endTime = nullptr;
    std::array<QCheckBox *, 7> m_days{};
};
