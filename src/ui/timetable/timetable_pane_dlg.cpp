#include "ui/timetable/timetable_pane_dlg.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>

CTimetablePaneDlg::CTimetablePaneDlg(const QSize &initialSize, quint32 titleId, int mode)
    : CTitledPaneDlg(0, initialSize, titleId), m_mode(mode)
{
}

bool CTimetablePaneDlg::OnInitDialog()
{
    CTitledPaneDlg::OnInitDialog();
    m_caption = new QLabel(this);
    m_grid = new CTimetableGrid(this);
    m_buttons = new QHBoxLayout;
    m_print = CreatePrintButton(this);
    connect(m_print, &QPushButton::clicked, this, [this] { OnPrint(); });
    GetBodyLayout()->addWidget(m_caption);
    GetBodyLayout()->addWidget(m_grid);
    addCommands();
    m_buttons->addStretch(1);
    m_buttons->addWidget(m_print);
    GetBodyLayout()->addLayout(m_buttons);
    refresh();
    return true;
}

void CTimetablePaneDlg::addCommands()
{
    if (!IsEditing()) {
        addButton("clear", "クリア", [this] { OnClear(); });
        return;
    }
    CTimetableEditor::Setup setup = editorSetup();
    setup.model = [this] { return shownModel(); };
    m_editor = new CTimetableEditor(m_grid, std::move(setup));
    m_grid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_grid, &QWidget::customContextMenuRequested, this, &CTimetablePaneDlg::showContextMenu);

    addButton("new", "新規作成", [this] { OnNew(); });
    addButton("save", "保存", [this] { OnSave(false); });
    addButton("saveAsNew", "新規保存", [this] { OnSave(true); });
    addButton("time", "時間変更", [this] { m_editor->EditCurrentTime(true); });
    addButton("delete", "削除", [this] { m_editor->DeleteCurrent(); });
    initEditing();
}

void CTimetablePaneDlg::showContextMenu(const QPoint &point)
{
    QMenu menu(this);
    m_editor->AddCommands(menu);
    addMenuCommands(menu);
    menu.exec(m_grid->viewport()->mapToGlobal(point));
}

QPushButton *CTimetablePaneDlg::addButton(const char *name, const char *text, const std::function<void()> &command)
{
    auto *button = new QPushButton(QString::fromUtf8(text), this);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, [command] { command(); });
    m_buttons->addWidget(button);
    return button;
}

QPushButton *CTimetablePaneDlg::GetButton(const QString &name) const
{
    return findChild<QPushButton *>(name);
}

QString CTimetablePaneDlg::GetListCaption() const
{
    return m_caption ? m_caption->text() : QString();
}

void CTimetablePaneDlg::setCaption(const QString &text)
{
    if (m_caption)
        m_caption->setText(text);
}

void CTimetablePaneDlg::showModel(const CTimetableModel &model, const QStringList &trackNames)
{
    if (!m_grid)
        return;
    m_caption->setText(CTimetableGrid::ListCaption(model));
    m_grid->ShowModel(model, trackNames);
}

void CTimetablePaneDlg::OnContentsListChanged(int, int, int)
{
    // Titles of the shown contents may have changed.
    refresh();
}
