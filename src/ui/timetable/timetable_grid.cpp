#include "ui/timetable/timetable_grid.h"

#include "core/content_id.h"
#include "model/contents_store.h"
#include "model/timetable_model.h"

#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QPushButton>

namespace {

QString TimeText(const TimeValue &time)
{
    return QString::asprintf("%02d:%02d:%02d", time.hour, time.minute, time.second);
}

// The number and, when the library holds it, the title of a cell's item.
QString ItemText(const CTimetableItem &item)
{
    QString text = FormatContentIdFixed(item.GetIndex());
    if (CPropertyBase *record = GetContentFolders().FindRecord(item.GetContentType(), item.GetIndex()))
        text += QLatin1Char(' ') + record->GetTitle();
    return text;
}

} // namespace

CTimetableGrid::CTimetableGrid(QWidget *parent) : QTableWidget(parent)
{
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::NoSelection);
    verticalHeader()->setVisible(false);
}

void CTimetableGrid::ShowModel(const CTimetableModel &model, const QStringList &trackNames)
{
    clear();
    setColumnCount(model.GetTrackCount());
    setHorizontalHeaderLabels(QStringList{QString()} + trackNames);
    setRowCount(model.GetRowCount());
    for (int row = 0; row < model.GetRowCount(); ++row) {
        TimeValue start;
        model.GetStartTime(row, start);
        setItem(row, 0, new QTableWidgetItem(TimeText(start)));
        for (int track = 1; track < model.GetTrackCount(); ++track) {
            TimetableCell cell;
            if (!model.GetItem(row, track, cell) || cell.kind == 0)
                continue;
            setItem(row, track, new QTableWidgetItem(cell.gap ? QStringLiteral("│") : ItemText(cell.item)));
        }
    }
}

QString CTimetableGrid::ListCaption(const CTimetableModel &model)
{
    if (model.GetIndex() < 0)
        return QString();
    return FormatContentIdFixed(model.GetIndex()) + QLatin1Char(' ') + model.GetTitle();
}

CTimetablePaneDlg::CTimetablePaneDlg(const QSize &initialSize, quint32 titleId)
    : CTitledPaneDlg(0, initialSize, titleId)
{
}

bool CTimetablePaneDlg::OnInitDialog()
{
    CTitledPaneDlg::OnInitDialog();
    m_caption = new QLabel(this);
    m_grid = new CTimetableGrid(this);
    m_print = CreatePrintButton(this);
    connect(m_print, &QPushButton::clicked, this, [this] { OnPrint(); });
    layout()->addWidget(m_caption);
    layout()->addWidget(m_grid);
    layout()->addWidget(m_print);
    refresh();
    return true;
}

QString CTimetablePaneDlg::GetListCaption() const
{
    return m_caption ? m_caption->text() : QString();
}

void CTimetablePaneDlg::showModel(const CTimetableModel &model, const QStringList &trackNames)
{
    if (!m_grid)
        return;
    m_caption->setText(CTimetableGrid::ListCaption(model));
    m_grid->ShowModel(model, trackNames);
}

QPushButton *CreatePrintButton(QWidget *pane)
{
    auto *button = new QPushButton(QString::fromUtf8("印刷"), pane);
    button->setObjectName(QStringLiteral("print"));
    button->setAutoDefault(false);
    return button;
}
