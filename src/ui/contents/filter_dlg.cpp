#include "ui/contents/filter_dlg.h"

#include "widgets/control_id.h"
#include "widgets/dialog_buttons.h"
#include "app/main_frame.h"
#include "app/window_placement.h"
#include "core/app_ini.h"
#include "core/clock.h"
#include "core/message_box.h"
#include "model/app_data.h"
#include "model/contents_list.h"
#include "model/contents_store.h"
#include "model/disp_filter_xml.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QDir>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr quint32 kMsgFilterNotSaved = 5433;

} // namespace

CFilterDlg::CFilterDlg(QWidget *owner)
    : QDialog(owner),
      m_showAll(WithControlId(new QCheckBox(QStringLiteral("すべてのコンテンツを表示"), this), IDC_SHOW_ALL)),
      m_useDate(WithControlId(new QCheckBox(QStringLiteral("下記の日付以降に更新されたコンテンツのみ表示"), this), IDC_USE_DATE)),
      m_useType(WithControlId(new QCheckBox(QStringLiteral("チェックした分類のコンテンツのみ表示"), this), IDC_USE_TYPE)),
      m_date(WithControlId(new QDateEdit(this), IDC_DATE)),
      m_categories(WithControlId(new QListWidget(this), IDC_CATEGORIES)),
      m_checkAll(WithControlId(new QPushButton(QStringLiteral("全てチェック"), this), IDC_CHECK_ALL)),
      m_uncheckAll(WithControlId(new QPushButton(QStringLiteral("全てチェックしない"), this), IDC_UNCHECK_ALL))
{
    setObjectName(QString::number(kTemplateId));
    setWindowTitle(QStringLiteral("表示フィルター設定"));
    setWindowModality(Qt::NonModal);
    m_date->setDateRange(QDate(2007, 1, 1), QDate(2035, 12, 31));
    m_date->setCalendarPopup(true);

    auto *group = WithControlId(new QGroupBox(this), IDC_GROUP);
    auto *groupLayout = new QVBoxLayout(group);
    auto *checkButtons = new QHBoxLayout;
    checkButtons->addWidget(m_useType);
    checkButtons->addStretch();
    checkButtons->addWidget(m_checkAll);
    checkButtons->addWidget(m_uncheckAll);
    groupLayout->addLayout(checkButtons);
    groupLayout->addWidget(m_categories);

    auto *apply = WithControlId(new QPushButton(QStringLiteral("適用"), this), IDC_APPLY);
    QDialogButtonBox *buttons = CreateOkCancelButtons(this);
    buttons->addButton(apply, QDialogButtonBox::ApplyRole);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_showAll);
    layout->addWidget(m_useDate);
    layout->addWidget(m_date, 0, Qt::AlignLeft);
    layout->addWidget(group, 1);
    layout->addWidget(buttons);

    connect(m_showAll, &QCheckBox::clicked, this, &CFilterDlg::onShowAllClicked);
    connect(m_useDate, &QCheckBox::clicked, this, &CFilterDlg::onUseDateClicked);
    connect(m_useType, &QCheckBox::clicked, this, &CFilterDlg::onUseTypeClicked);
    connect(m_checkAll, &QPushButton::clicked, this, [this] { setAllCategories(true); });
    connect(m_uncheckAll, &QPushButton::clicked, this, [this] { setAllCategories(false); });
    connect(apply, &QPushButton::clicked, this, &CFilterDlg::OnApply);
    adjustSize();
    setMinimumSize(size());
}

void CFilterDlg::Start(int contentType)
{
    m_type = contentType;
    const CDispFilterXml *filter = GetAppData().GetDispFilter(contentType);
    if (!filter)
        return;
    m_useDate->setChecked(filter->GetUseDate());
    m_useType->setChecked(filter->GetUseType());
    m_showAll->setChecked(!filter->GetUseDate() && !filter->GetUseType());
    const SystemTime &date = filter->GetDate();
    const QDate stored(date.year, date.month, date.day);
    m_date->setDate(stored.isValid() ? stored : Clock().now().date());

    m_categories->clear();
    QStringList excluded;
    for (int i = 0; i < filter->GetTypeCount(); ++i)
        excluded.append(filter->GetType(i));
    if (CContentsList *list = GetContentFolders().GetList(contentType)) {
        for (const QString &category : list->GetCategories()) {
            auto *item = new QListWidgetItem(category, m_categories);
            item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
            item->setCheckState(excluded.contains(category, Qt::CaseSensitive) ? Qt::Unchecked : Qt::Checked);
        }
    }
    updateEnables();
    restorePlacement();
}

void CFilterDlg::restorePlacement()
{
    WinRect saved;
    if (!GetAppIni().GetWindowRect(kWindowId, saved))
        return;
    const QRect rect = ToQRect(saved);
    if (rect.isEmpty())
        return;
    setGeometry(FitOnScreen(IsWindowRectVisible(saved) ? rect : QRect(QPoint(0, 0), rect.size())));
}

void CFilterDlg::updateEnables()
{
    m_date->setEnabled(m_useDate->isChecked());
    const bool byCategory = m_useType->isChecked();
    m_categories->setEnabled(byCategory);
    m_checkAll->setEnabled(byCategory);
    m_uncheckAll->setEnabled(byCategory);
}

void CFilterDlg::onShowAllClicked()
{
    if (m_showAll->isChecked()) {
        m_useDate->setChecked(false);
        m_useType->setChecked(false);
    } else {
        m_useType->setChecked(true);
    }
    updateEnables();
}

void CFilterDlg::onUseDateClicked()
{
    if (m_useDate->isChecked())
        m_showAll->setChecked(false);
    else if (!m_useType->isChecked())
        m_showAll->setChecked(true);
    updateEnables();
}

void CFilterDlg::onUseTypeClicked()
{
    if (m_useType->isChecked())
        m_showAll->setChecked(false);
    else if (!m_useDate->isChecked())
        m_showAll->setChecked(true);
    updateEnables();
}

void CFilterDlg::setAllCategories(bool checked)
{
    for (int i = 0; i < m_categories->count(); ++i)
        m_categories->item(i)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

void CFilterDlg::OnApply()
{
    CDispFilterXml *filter = GetAppData().GetDispFilter(m_type);
    if (!filter)
        return;
    filter->SetUseDate(m_useDate->isChecked());
    // The filter compares whole days: the date counts from its midnight.
    SystemTime date;
    const QDate day = m_date->date();
    date.year = quint16(day.year());
    date.month = quint16(day.month());
    date.day = quint16(day.day());
    date.dayOfWeek = quint16(day.dayOfWeek() % 7);
    filter->SetDate(date);
    filter->SetUseType(m_useType->isChecked());
    filter->RemoveAllTypes();
    for (int i = 0; i < m_categories->count(); ++i) {
        if (m_categories->item(i)->checkState() != Qt::Checked)
            filter->AddType(m_categories->item(i)->text());
    }
    if (!GetAppData().SaveDispFilter(m_type)) {
        // Shown for now, but gone at the next start: the operator is told.
        ShowMessageFormat(this, kTitleCaption, MB_OK | MB_ICONEXCLAMATION, kMsgFilterNotSaved,
                          QDir::toNativeSeparators(GetAppData().GetDispFilterPath(m_type)));
    }
    GetContentFolders().ApplyDispFilter(m_type);
    if (CMainFrame *frame = GetMainFrame())
        frame->NotifyContentsListChanged(m_type, 0, 1);
}

void CFilterDlg::accept()
{
    OnApply();
    finish(Accepted);
}

void CFilterDlg::reject()
{
    // Unapplied edits are dropped: the documents are read again.
    GetAppData().LoadDispFilters();
    finish(Rejected);
}

void CFilterDlg::finish(int result)
{
    GetAppIni().SetWindowRect(kWindowId, ToWinRect(geometry()));
    if (parentWidget())
        parentWidget()->setEnabled(true);
    QDialog::done(result);
    deleteLater();
}
