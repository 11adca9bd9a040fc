#include "ui/contents/no_play_date_set_dlg.h"

#include "widgets/dialog_buttons.h"
#include "widgets/weekday_checks.h"
#include "core/clock.h"
#include "core/message_box.h"
#include "core/time_utils.h"
#include "ui/contents/save_number_choice.h"

#include <QDateEdit>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

bool hasMonth(const DateValue &date)
{
    return date.month >= 1 && date.month <= 12;
}

} // namespace

CNoPlayDateSetDlg::CNoPlayDateSetDlg(QWidget *parent)
    : QDialog(parent)
    , m_startEdit(new QDateEdit(this))
    , m_endEdit(new QDateEdit(this))
    , m_weekdays(new CWeekdayChecks(kWeekdayIds, this))
{
    setObjectName(QString::number(kTemplateId));
    setWindowTitle(QStringLiteral("再生しない期間の設定"));
    m_startEdit->setObjectName(QString::number(kStartDateId));
    m_endEdit->setObjectName(QString::number(kEndDateId));
    auto *period = new QHBoxLayout;
    period->addWidget(m_startEdit);
    period->addWidget(new QLabel(QStringLiteral("～"), this));
    period->addWidget(m_endEdit);

    auto *days = new QHBoxLayout;
    days->addWidget(m_weekdays);
    auto *checkAll = new QPushButton(QStringLiteral("全てチェックする"), this);
    checkAll->setObjectName(QString::number(kCheckAllId));
    auto *uncheckAll = new QPushButton(QStringLiteral("全てチェックしない"), this);
    uncheckAll->setObjectName(QString::number(kUncheckAllId));
    days->addWidget(checkAll);
    days->addWidget(uncheckAll);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(period);
    layout->addLayout(days);
    layout->addWidget(CreateOkCancelButtons(this));

    for (QDateEdit *edit : {m_startEdit, m_endEdit}) {
        edit->setDateRange(QDate(2007, 1, 1), QDate(2035, 12, 31));
        edit->setCalendarPopup(true);
        connect(edit, &QDateEdit::dateChanged, this, [this] { m_modified = true; });
    }
    connect(checkAll, &QPushButton::clicked, this, [this] { setAllWeekdays(true); });
    connect(uncheckAll, &QPushButton::clicked, this, [this] { setAllWeekdays(false); });
}

QCheckBox *CNoPlayDateSetDlg::GetWeekdayCheck(int day) const
{
    return m_weekdays->GetCheck(day);
}

void CNoPlayDateSetDlg::showEvent(QShowEvent *event)
{
    const bool stored = hasMonth(m_start) && hasMonth(m_end);
    const QDate today = Clock().now().date();
    const QDate start = stored ? ToQDate(m_start) : today;
    const QDate end = stored ? ToQDate(m_end) : today;
    m_startEdit->setDate(start);
    m_endEdit->setDate(end);
    // A period without its own days ticks every day it holds, so that OK
    // accepts what the dialog opens with.
    m_weekdays->SetWeekdays(stored && !m_week.isEmpty() ? m_week : WeekdaysInPeriod(start, end));
    m_modified = false;
    QDialog::showEvent(event);
}

void CNoPlayDateSetDlg::setAllWeekdays(bool checked)
{
    m_weekdays->SetAllChecked(checked);
    m_modified = true;
}

QString CNoPlayDateSetDlg::WeekdaysInPeriod(const QDate &start, const QDate &end)
{
    QString digits;
    for (QDate day = start; day <= end && digits.size() < 7; day = day.addDays(1)) {
        if (!digits.contains(WeekdayDigitOf(day)))
            digits += WeekdayDigitOf(day);
    }
    return digits;
}

quint32 CNoPlayDateSetDlg::PeriodRefusal(const QDate &start, const QDate &end, const QString &week)
{
    if (end < start)
        return 5243;
    if (week.isEmpty())
        return 5244;
    const QString inPeriod = WeekdaysInPeriod(start, end);
    for (QChar digit : week) {
        if (!inPeriod.contains(digit))
            return 5245;
    }
    return 0;
}

void CNoPlayDateSetDlg::accept()
{
    const QDate start = m_startEdit->date();
    const QDate end = m_endEdit->date();
    const QString week = m_weekdays->GetWeekdays();
    if (const quint32 refusal = PeriodRefusal(start, end, week)) {
        ShowMessage(this, refusal, kTitleCaption, MB_OK | MB_ICONWARNING);
        return;
    }
    m_start = ToDateValue(start);
    m_end = ToDateValue(end);
    m_week = week;
    QDialog::accept();
}

void CNoPlayDateSetDlg::reject()
{
    if (!MayDiscardEdits(this, m_modified))
        return;
    QDialog::reject();
}
