#include "ui/timetable/calendar_dlg_view.h"

#include "widgets/color_dialog.h"
#include "app/main_frame.h"
#include "widgets/weekday_checks.h"
#include "core/clock.h"
#include "core/time_utils.h"
#include "model/calendar_list.h"
#include "model/calendar_property.h"
#include "model/contents_store.h"
#include "model/schedule_edit_model.h"
#include "model/schedule_property.h"
#include "ui/contents/print_calendar_dlg.h"
#include "ui/timetable/timetable_grid.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QLocale>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QToolButton>

namespace {

constexpr int kWeeks = 6;
constexpr int kDays = 7;
constexpr int kLegendColumns = 4;
// The calendar colours are dark: days in them read in white.
const QColor kColoredDayText = Qt::white;

quint32 TitleOfType(int dataType)
{
    return dataType == CCalendarDlgView::DATA_DELIVERY_STATUS ? 5510 : 5509;
}

QLocale Japanese()
{
    return QLocale(QLocale::Japanese);
}

// The column of a date: Sunday first.
int ColumnOf(const QDate &date)
{
    return date.dayOfWeek() % kDays;
}

// The first list of a kind (playlist or background-music list) that the
// schedule plays; -1 when it plays none.
qint32 FirstListOf(const CScheduleEditModel &schedule, int kind)
{
    const int track = schedule.FindTrackForType(kind);
    TimetableCell cell;
    for (int row = 0; track >= 1 && row < schedule.GetRowCount(); ++row) {
        if (schedule.GetItem(row, track, cell) && cell.kind != 0 && !cell.gap)
            return cell.item.GetIndex();
    }
    return -1;
}

// Draws the chosen day in its schedule's colour inside a frame of the
// selection colour, so the choice never hides what the day plays.
class DayDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QStyleOptionViewItem plain(option);
        plain.state &= ~QStyle::State_Selected;
        QStyledItemDelegate::paint(painter, plain, index);
        if (!(option.state & QStyle::State_Selected))
            return;
        painter->save();
        QPen frame(option.palette.color(QPalette::Highlight), kFrameWidth);
        frame.setJoinStyle(Qt::MiterJoin);
        painter->setPen(frame);
        painter->drawRect(option.rect.adjusted(1, 1, -2, -2));
        painter->restore();
    }

private:
    static constexpr int kFrameWidth = 3;
};

QToolButton *MonthButton(Qt::ArrowType arrow, const QString &name, QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setArrowType(arrow);
    button->setObjectName(name);
    button->setAutoRaise(true);
    return button;
}

} // namespace

CCalendarDlgView::CCalendarDlgView(int dataType)
    : CTitledPaneDlg(0, QSize(380, 360), TitleOfType(dataType)), m_dataType(dataType)
{
}

bool CCalendarDlgView::OnInitDialog()
{
    if (!CTitledPaneDlg::OnInitDialog())
        return false;
    // The month takes the place of the title.
    GetTitleLabel()->hide();
    setLocale(Japanese());

    auto *head = new QHBoxLayout;
    QToolButton *previous = MonthButton(Qt::LeftArrow, QStringLiteral("previousMonth"), this);
    QToolButton *next = MonthButton(Qt::RightArrow, QStringLiteral("nextMonth"), this);
    m_monthTitle = new QLabel(this);
    m_monthTitle->setAlignment(Qt::AlignCenter);
    head->addWidget(previous);
    head->addWidget(m_monthTitle, 1);
    head->addWidget(next);
    connect(previous, &QToolButton::clicked, this, [this] {
        const QDate month = m_shown.addMonths(-1);
        ShowMonth(month.year(), month.month());
    });
    connect(next, &QToolButton::clicked, this, [this] {
        const QDate month = m_shown.addMonths(1);
        ShowMonth(month.year(), month.month());
    });

    m_grid = new QTableWidget(kWeeks, kDays, this);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->verticalHeader()->hide();
    m_grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_grid->verticalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_grid->setItemDelegate(new DayDelegate(m_grid));
    m_grid->setHorizontalHeaderLabels(ShortDayNamesSundayFirst());
    connect(m_grid, &QTableWidget::cellClicked, this,
            [this](int row, int column) { ChooseDate(dateOfCell(row, column)); });
    connect(m_grid, &QTableWidget::cellActivated, this,
            [this](int row, int column) { ChooseDate(dateOfCell(row, column)); });

    auto *legend = new QGridLayout;
    for (int color = 0; color < CSystemIni::kCalendarColorCount; ++color) {
        auto *swatch = new QLabel(this);
        swatch->setFixedSize(16, 12);
        swatch->setAutoFillBackground(true);
        QPalette colors = swatch->palette();
        colors.setColor(QPalette::Window, ToQColor(GetCalendarColor(color)));
        swatch->setPalette(colors);
        m_swatches[size_t(color)] = swatch;
        m_names[size_t(color)] = new QLabel(this);
        const int row = color / kLegendColumns;
        const int column = color % kLegendColumns * 2;
        legend->addWidget(swatch, row, column);
        legend->addWidget(m_names[size_t(color)], row, column + 1);
    }

    layout()->addItem(head);
    layout()->addWidget(m_grid);
    layout()->addItem(legend);
    if (m_dataType != DATA_DELIVERY_STATUS) {
        QPushButton *print = CreatePrintButton(this);
        connect(print, &QPushButton::clicked, this, [this] { OnPrint(); });
        layout()->addWidget(print);
    }
    fillLegend();
    const QDate today = Clock().now().date();
    ShowMonth(today.year(), today.month());
    return true;
}

void CCalendarDlgView::SelectDate(int year, int month, int day)
{
    if (year < 0 || month < 0 || day < 0) {
        m_selected = m_selectedLast = QDate();
        showSelection();
        return;
    }
    const QDate date(year, month, day);
    SelectPeriod(date, date);
}

void CCalendarDlgView::SelectPeriod(const QDate &first, const QDate &last)
{
    if (!first.isValid() || !last.isValid())
        return;
    m_selected = first;
    m_selectedLast = std::max(first, last);
    if (m_grid && (first.year() != m_shown.year() || first.month() != m_shown.month()))
        ShowMonth(first.year(), first.month());
    showSelection();
}

void CCalendarDlgView::ShowMonth(int year, int month)
{
    const QDate first(year, month, 1);
    if (!first.isValid() || !m_grid)
        return;
    m_shown = first;
    m_monthTitle->setText(GetMonthTitle());
    fillMonth();
}

QString CCalendarDlgView::GetMonthTitle() const
{
    return Japanese().toString(m_shown, QStringLiteral("yyyy年 MMMM"));
}

QDate CCalendarDlgView::dateOfCell(int row, int column) const
{
    const QDate date = m_shown.addDays(row * kDays + column - ColumnOf(m_shown));
    return date.month() == m_shown.month() ? date : QDate();
}

QTableWidgetItem *CCalendarDlgView::GetDayItem(const QDate &date) const
{
    if (!m_grid || date.year() != m_shown.year() || date.month() != m_shown.month())
        return nullptr;
    const int cell = ColumnOf(m_shown) + date.day() - 1;
    return m_grid->item(cell / kDays, cell % kDays);
}

int CCalendarDlgView::GetDayColor(const QDate &date)
{
    return planOf(date).color;
}

QLabel *CCalendarDlgView::GetLegendSwatch(int color) const
{
    return color >= 0 && color < int(m_swatches.size()) ? m_swatches[size_t(color)] : nullptr;
}

QLabel *CCalendarDlgView::GetLegendName(int color) const
{
    return color >= 0 && color < int(m_names.size()) ? m_names[size_t(color)] : nullptr;
}

CCalendarDlgView::DayPlan CCalendarDlgView::planOf(const QDate &date)
{
    DayPlan plan;
    CContentsStore &store = GetContentFolders();
    auto *calendar = dynamic_cast<CCalendarList *>(store.GetList(CONTENT_CALENDAR));
    CContentsList *schedules = store.GetList(CONTENT_SCHEDULE);
    if (!calendar || !schedules || !date.isValid())
        return plan;
    const int position = calendar->FindByDate(ToDateValue(date));
    const auto *row = position >= 0 ? dynamic_cast<const CCalendarProperty *>(calendar->GetAt(position)) : nullptr;
    if (!row || row->GetFlag() == CCalendarProperty::FLAG_NOTPLAY)
        return plan;
    plan.schedule = row->GetSchedule();
    const int found = schedules->FindCode(plan.schedule);
    if (const auto *schedule = found >= 0 ? dynamic_cast<const CScheduleProperty *>(schedules->GetAt(found)) : nullptr) {
        plan.color = schedule->GetBgColor() < CSystemIni::kCalendarColorCount ? schedule->GetBgColor() : -1;
        plan.title = schedule->GetTitle();
    }
    return plan;
}

void CCalendarDlgView::fillMonth()
{
    m_grid->clearContents();
    const QDate end = m_shown.addMonths(1);
    for (QDate date = m_shown; date < end; date = date.addDays(1)) {
        const DayPlan plan = planOf(date);
        auto *item = new QTableWidgetItem(plan.title.isEmpty() ? QString::number(date.day())
                                                               : QString::number(date.day()) + u'\n' + plan.title);
        item->setTextAlignment(Qt::AlignLeft | Qt::AlignTop);
        item->setToolTip(Japanese().toString(date, QLocale::LongFormat));
        if (plan.color >= 0) {
            item->setBackground(ToQColor(GetCalendarColor(plan.color)));
            item->setForeground(kColoredDayText);
        }
        const int cell = ColumnOf(m_shown) + date.day() - 1;
        m_grid->setItem(cell / kDays, cell % kDays, item);
    }
    showSelection();
}

void CCalendarDlgView::fillLegend()
{
    for (int color = 0; color < CSystemIni::kCalendarColorCount; ++color)
        m_names[size_t(color)]->setText(GetCalendarColorName(color));
}

void CCalendarDlgView::showSelection()
{
    if (!m_grid)
        return;
    m_grid->clearSelection();
    if (!m_selected.isValid())
        return;
    // Only the days of the shown month have cells.
    const QDate monthEnd = m_shown.addMonths(1).addDays(-1);
    for (QDate day = std::max(m_selected, m_shown); day <= std::min(m_selectedLast, monthEnd); day = day.addDays(1)) {
        if (QTableWidgetItem *item = GetDayItem(day))
            item->setSelected(true);
    }
}

void CCalendarDlgView::ChooseDate(const QDate &date)
{
    if (!date.isValid())
        return;
    m_selected = m_selectedLast = date;
    showSelection();
    CMainFrame *frame = GetMainFrame();
    if (m_dataType != DATA_CHECK_CALENDAR || !frame)
        return;
    const DayPlan plan = planOf(date);
    if (plan.schedule < 0) {
        frame->ScheduleCheckClear(CMainFrame::CheckPanes::Show, CMainFrame::CalendarDay::Keep);
        return;
    }
    if (frame->ScheduleCheckLoad(plan.schedule, CMainFrame::CalendarDay::Keep))
        showListsOf(*GetContentFolders().GetSecondScheduleModel());
}

void CCalendarDlgView::showListsOf(const CScheduleEditModel &schedule)
{
    CMainFrame *frame = GetMainFrame();
    // The background-music list first, so that the playlist's pane is the one left shown.
    const qint32 bgm = FirstListOf(schedule, SCHEDULE_KIND_BGM);
    if (bgm < 0 || !frame->PlaylistCheckLoad(bgm, CONTENT_BGMLIST, true))
        frame->PlaylistCheckClear(CONTENT_BGMLIST, true);
    const qint32 playlist = FirstListOf(schedule, SCHEDULE_KIND_PLAYLIST);
    if (playlist < 0 || !frame->PlaylistCheckLoad(playlist, CONTENT_PLAYLIST, false))
        frame->PlaylistCheckClear(CONTENT_PLAYLIST, false);
}

void CCalendarDlgView::OnContentsListChanged(int contentType, int, int)
{
    if (contentType == 0 || contentType == CONTENT_CALENDAR || contentType == CONTENT_SCHEDULE)
        fillMonth();
}

void CCalendarDlgView::OnContentsChanged(QWidget *)
{
    fillMonth();
}

void CCalendarDlgView::OnRefreshLists()
{
    fillMonth();
}

void CCalendarDlgView::OnGroupChanged()
{
    fillMonth();
}

void CCalendarDlgView::OnColorChanged()
{
    fillLegend();
}

void CCalendarDlgView::OnPrint()
{
    CMainFrame *frame = GetMainFrame();
    CPrintCalendarDlg choice(this);
    if (!frame || choice.exec() != QDialog::Accepted)
        return;
    if (choice.GetChoice() == 0)
        frame->PrintCalendar(m_shown.year(), m_shown.month());
    else
        frame->PrintSchedule(false, false);
}
