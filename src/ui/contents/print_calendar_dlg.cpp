#include "ui/contents/print_calendar_dlg.h"

#include "widgets/dialog_buttons.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

const char *const kPrintTitle = "印刷";
const char *const kMonthly = "月間スケジュールのExcel表示";
const char *const kWithLists = "スケジュールおよびプレイリスト・BGMリストのExcel表示";
const char *const kNote = "[ご注意]\n内容によりマクロ処理に時間がかかり中止できません。";

} // namespace

CPrintCalendarDlg::CPrintCalendarDlg(QWidget *parent) : QDialog(parent)
{
    setObjectName(QString::number(kTemplateId));
    setWindowTitle(QString::fromUtf8(kPrintTitle));
    auto *column = new QVBoxLayout(this);
    m_monthly = new QRadioButton(QString::fromUtf8(kMonthly), this);
    m_monthly->setObjectName(QString::number(kMonthlyId));
    column->addWidget(m_monthly);
    m_withLists = new QRadioButton(QString::fromUtf8(kWithLists), this);
    m_withLists->setObjectName(QString::number(kWithListsId));
    column->addWidget(m_withLists);
    m_note = new QLabel(QString::fromUtf8(kNote), this);
    m_note->setObjectName(QString::number(kNoteId));
    column->addWidget(m_note);
    column->addWidget(CreateOkCancelButtons(this));
    connect(m_monthly, &QRadioButton::clicked, this, [this] { choose(0); });
    connect(m_withLists, &QRadioButton::clicked, this, [this] { choose(1); });
    m_withLists->setChecked(true);
    choose(1);
}

CPrintCalendarDlg::~CPrintCalendarDlg() = default;

void CPrintCalendarDlg::choose(quint8 choice)
{
    m_choice = choice;
    // The note warns of the long macro run, which only the lists bring.
    m_note->setVisible(choice == 1);
}
