#include "widgets/del_date_chg_dlg.h"

#include "core/clock.h"
#include "core/format_utils.h"
#include "core/message_box.h"
#include "core/string_table.h"
#include "core/system_ini.h"
#include "core/time_utils.h"

#include <QDateEdit>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QRadioButton>

namespace {

constexpr quint32 kMsgChangeDate = 5009;
constexpr quint32 kTextNeverDate = 5633;
const QDate kLastPickable(2035, 12, 31);
constexpr DateValue kNever{9999, 12, 31};

QDate FirstPickable()
{
    return Clock().now().date().addDays(GetSystemIni().Settings().AutoDelOffsetDay);
}

QRadioButton *MakeRadio(QWidget *parent, int id, const char *text)
{
    auto *radio = new QRadioButton(QString::fromUtf8(text), parent);
    radio->setObjectName(QString::number(id));
    return radio;
}

} // namespace

CDelDateChgDlg::CDelDateChgDlg(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QString::number(kTemplateId));
    setWindowTitle(QString::fromUtf8("自動削除日の変更"));
    auto *grid = new QGridLayout(this);
    m_clear = MakeRadio(this, kClearId, "削除日をクリアする");
    m_never = MakeRadio(this, kNeverId, "自動削除しない");
    m_change = MakeRadio(this, kChangeId, "削除日を変更する");
    m_neverLabel = new QLabel(FormatString(kTextNeverDate, FormatLocaleDateYmd(9999, 12, 31)), this);
    m_neverLabel->setObjectName(QString::number(kNeverLabelId));
    m_dateLabel = new QLabel(QString::fromUtf8(" 削除日："), this);
    m_dateLabel->setObjectName(QString::number(kDateLabelId));
    m_picker = new QDateEdit(this);
    m_picker->setObjectName(QString::number(kDatePickerId));
    m_picker->setCalendarPopup(true);
    m_picker->setDateRange(FirstPickable(), kLastPickable);
    grid->addWidget(m_clear, 0, 0);
    grid->addWidget(new QLabel(QString::fromUtf8("（削除日：空欄）"), this), 0, 1);
    grid->addWidget(m_never, 1, 0);
    grid->addWidget(m_neverLabel, 1, 1);
    grid->addWidget(m_change, 2, 0);
    grid->addWidget(m_dateLabel, 3, 0, Qt::AlignRight);
    grid->addWidget(m_picker, 3, 1);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    grid->addWidget(buttons, 4, 0, 1, 2);
    connect(buttons, &QDialogButtonBox::accepted, this, &CDelDateChgDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CDelDateChgDlg::reject);
    connect(m_clear, &QRadioButton::clicked, this, &CDelDateChgDlg::OnClear);
    connect(m_never, &QRadioButton::clicked, this, &CDelDateChgDlg::OnNever);
    connect(m_change, &QRadioButton::clicked, this, &CDelDateChgDlg::OnChange);
    SetDate(DateValue{});
}

void CDelDateChgDlg::SetDate(const DateValue &date)
{
    m_date = date;
    const bool none = date.year == 0;
    const bool never = date == kNever;
    m_choice = none ? CHOICE_CLEAR : never ? CHOICE_NEVER : CHOICE_CHANGE;
    (none ? m_clear : never ? m_never : m_change)->setChecked(true);
    showDate(m_choice == CHOICE_CHANGE);
    if (none || never) {
        m_picker->setDate(FirstPickable());
        return;
    }
    // A stored date before the first pickable day is kept as it is unless
    // the operator changes it: the picker's range is widened to hold it.
    const QDate stored = ToQDate(date);
    if (stored.isValid() && stored < m_picker->minimumDate())
        m_picker->setMinimumDate(stored);
    m_picker->setDate(stored);
}

void CDelDateChgDlg::showDate(bool show)
{
    m_dateLabel->setVisible(show);
    m_picker->setVisible(show);
}

void CDelDateChgDlg::OnClear()
{
    m_choice = CHOICE_CLEAR;
    showDate(false);
}

void CDelDateChgDlg::OnNever()
{
    m_choice = CHOICE_NEVER;
    showDate(false);
}

void CDelDateChgDlg::OnChange()
{
    m_choice = CHOICE_CHANGE;
    showDate(true);
}

void CDelDateChgDlg::accept()
{
    switch (m_choice) {
    case CHOICE_NEVER:
        m_date = kNever;
        break;
    case CHOICE_CHANGE: {
        if (ShowMessage(this, kMsgChangeDate, kTitleCaption, MB_YESNO | MB_ICONQUESTION) != IDYES)
            return;
        m_date = ToDateValue(m_picker->date());
        break;
    }
    default:
        m_date = DateValue{};
        break;
    }
    QDialog::accept();
}
