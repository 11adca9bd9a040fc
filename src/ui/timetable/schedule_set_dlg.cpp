#include "ui/timetable/schedule_set_dlg.h"

#include "widgets/calendar_colors.h"
#include "widgets/control_id.h"
#include "widgets/dialog_buttons.h"
#include "widgets/name_fields.h"
#include "widgets/weekday_checks.h"
#include "core/message_box.h"
#include "core/time_utils.h"
#include "model/app_data.h"
#include "ops/frame_checks.h"
#include "ui/contents/color_combo_box.h"
#include "ui/contents/no_play_date_set_dlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLocale>
#include <QTimeEdit>

namespace {

constexpr quint32 kMsgNoGroup = 5326;
// The calendar colours are dark: their names read in white.
constexpr ColorRef kColorTextColor = 0xFFFFFF;

QTime ToQTime(const TimeValue &time)
{
    return QTime(time.hour, time.minute, time.second);
}

TimeValue ToTimeValue(const QTime &time)
{
    return TimeValue{quint16(time.hour()), quint16(time.minute()), quint16(time.second()), 0};
}

} // namespace

CScheduleSetDlg::CScheduleSetDlg(QWidget *parent) : QDialog(parent)
{
    setObjectName(QString::number(kTemplateId));
    setWindowTitle(QStringLiteral("スケジュールの設定"));
    const QLocale japanese(QLocale::Japanese);
    setLocale(japanese);

    m_setSchedule = WithControlId(new QCheckBox(QStringLiteral("スケジュールを設定する"), this), kSetScheduleId);
    m_group = WithControlId(new QComboBox(this), kGroupId);
    FitNameCombo(m_group);
    m_color = WithControlId(new CColorComboBox(this), kColorId);
    m_startDate = WithControlId(new QDateEdit(this), kStartDateId);
    m_endDate = WithControlId(new QDateEdit(this), kEndDateId);
    m_startTime = WithControlId(new QTimeEdit(this), kStartTimeId);
    m_endTime = WithControlId(new QTimeEdit(this), kEndTimeId);
    for (QDateEdit *edit : {m_startDate, m_endDate}) {
        edit->setDisplayFormat(QStringLiteral("yyyy/MM/dd"));
        edit->setCalendarPopup(true);
        edit->setLocale(japanese);
    }
    for (QTimeEdit *edit : {m_startTime, m_endTime})
        edit->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    m_days = new CWeekdayChecks(kWeekdayIds, this);

    auto *form = new QFormLayout(this);
    form->addRow(m_setSchedule);
    form->addRow(QStringLiteral("グループ"), m_group);
    form->addRow(QStringLiteral("背景色"), m_color);
    form->addRow(QStringLiteral("開始日"), m_startDate);
    form->addRow(QStringLiteral("終了日"), m_endDate);
    form->addRow(QStringLiteral("開始時間"), m_startTime);
    form->addRow(QStringLiteral("終了時間"), m_endTime);
    form->addRow(QStringLiteral("曜日の指定"), m_days);
    form->addRow(CreateOkCancelButtons(this));
    connect(m_setSchedule, &QCheckBox::toggled, this, &CScheduleSetDlg::enableFields);
    fillColors();
    showBlock();
}

QCheckBox *CScheduleSetDlg::GetWeekdayCheck(int day) const
{
    return m_days->GetCheck(day);
}

void CScheduleSetDlg::SetBlock(const ScheduleSetBlock &block)
{
    m_block = block;
    showBlock();
}

void CScheduleSetDlg::fillGroups()
{
    m_group->clear();
    const CQ9GroupXml &groups = GetAppData().GetGroupXml();
    CGroupRecord group;
    for (int i = 0; groups.GetGroup(i, group); ++i)
        m_group->addItem(group.Name);
    // A group the list no longer holds is still the block's.
    if (!m_block.groupName.isEmpty() && m_group->findText(m_block.groupName, Qt::MatchFixedString) < 0)
        m_group->addItem(m_block.groupName);
    m_group->setCurrentIndex(m_group->findText(m_block.groupName, Qt::MatchFixedString));
}

void CScheduleSetDlg::fillColors()
{
    for (int i = 0; i < CSystemIni::kCalendarColorCount; ++i)
        m_color->AddColor(GetCalendarColorName(i), GetCalendarColor(i), kColorTextColor);
}

void CScheduleSetDlg::showBlock()
{
    // Only a block that does not set a schedule yet may choose to and where.
    const bool choosing = !m_block.setSchedule;
    m_setSchedule->setChecked(m_block.setSchedule);
    m_setSchedule->setEnabled(choosing);
    fillGroups();
    m_color->SetCurSel(m_block.background < m_color->count() ? m_block.background : -1);
    // A block without a period shows the period a new schedule opens with.
    const ScheduleSetBlock fresh = DefaultScheduleBlock(m_block.groupName);
    const QDate start = ToQDate(m_block.startDate);
    const QDate end = ToQDate(m_block.endDate);
    m_startDate->setDate(start.isValid() ? start : ToQDate(fresh.startDate));
    m_endDate->setDate(end.isValid() ? end : ToQDate(fresh.endDate));
    m_startTime->setTime(ToQTime(m_block.startTime));
    m_endTime->setTime(ToQTime(m_block.endTime));
    m_days->SetWeekdays(m_block.weekdays);
    enableFields();
}

void CScheduleSetDlg::enableFields()
{
    const bool asked = m_setSchedule->isChecked();
    const bool choosing = !m_block.setSchedule;
    m_group->setEnabled(asked && choosing);
    for (QWidget *field : std::initializer_list<QWidget *>{m_color, m_startDate, m_endDate})
        field->setEnabled(asked);
    for (QTimeEdit *field : {m_startTime, m_endTime})
        field->setEnabled(asked && choosing);
    m_days->setEnabled(asked);
}

quint32 CScheduleSetDlg::refusal() const
{
    if (!m_setSchedule->isChecked())
        return 0;
    if (m_group->currentText().isEmpty())
        return kMsgNoGroup;
    if (const quint32 period = CNoPlayDateSetDlg::PeriodRefusal(m_startDate->date(), m_endDate->date(),
                                                                 m_days->GetWeekdays()))
        return period;
    if (!m_startTime->isEnabled())
        return 0;
    // The day's event cannot run past midnight into the next day.
    const int seconds = m_startTime->time().secsTo(m_endTime->time());
    if (seconds < 0)
        return kMsgPast24;
    return seconds < kMinPlaySeconds ? kMsgEventTooShort : 0;
}

void CScheduleSetDlg::accept()
{
    if (const quint32 message = refusal()) {
        ShowMessage(this, message, kTitleCaption, MB_OK | MB_ICONWARNING);
        return;
    }
    m_block.setSchedule = m_setSchedule->isChecked();
    if (!m_block.setSchedule) {
        QDialog::accept();
        return;
    }
    m_block.groupName = m_group->currentText();
    if (m_color->currentIndex() >= 0)
        m_block.background = m_color->currentIndex();
    m_block.startDate = ToDateValue(m_startDate->date());
    m_block.endDate = ToDateValue(m_endDate->date());
    m_block.startTime = ToTimeValue(m_startTime->time());
    m_block.endTime = ToTimeValue(m_endTime->time());
    m_block.weekdays = m_days->GetWeekdays();
    QDialog::accept();
}
