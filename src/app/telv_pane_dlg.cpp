#include "app/telv_pane_dlg.h"

#include "app/pane_frame.h"
#include "app/telv_tool_bar_ctrl.h"

#include <QResizeEvent>

CTelvPaneDlg::CTelvPaneDlg(int templateId) : CTelvPaneDlg(templateId, nullptr) {}

CTelvPaneDlg::CTelvPaneDlg(int templateId, QWidget *parent) : QDialog(parent), m_templateId(templateId)
{
    setObjectName(QString::number(templateId));
}

CTelvPaneDlg::~CTelvPaneDlg()
{
    // Leave the pane list before anything of the pane is torn down, so no
    // broadcast reaches a pane that is being destroyed.
    if (m_created) {
        if (IPaneFrame *frame = GetPaneFrame())
            frame->RemoveView(this);
    }
    if (auto *host = dynamic_cast<IPaneHost *>(parentWidget()))
        host->DetachPane();
}

bool CTelvPaneDlg::Create(QWidget *parent)
{
    if (dynamic_cast<IPaneHost *>(parent))
        setParent(parent, Qt::Widget);
    else
        setParent(parent, windowFlags() | Qt::Dialog);
    if (!m_created) {
        if (!OnInitDialog())
            return false;
        m_initialSize = size();
        m_created = true;
    }
    if (IPaneFrame *frame = GetPaneFrame())
        frame->AddView(this);
    return true;
}

void CTelvPaneDlg::ResizeFrameToClient(const QSize &clientSize)
{
    if (auto *host = dynamic_cast<IPaneHost *>(parentWidget()))
        parentWidget()->resize(host->FrameSizeForClient(clientSize));
    resize(clientSize);
}

bool CTelvPaneDlg::CreateToolBar(const ToolBarButton *buttons, int count, bool listStyle)
{
    delete m_toolBar;
    m_toolBar = nullptr;
    if (!buttons || count <= 0)
        return false;

    m_toolBar = new CTelvToolBarCtrl(this);
    if (!m_toolBar->Initialize(QSize(16, 16), listStyle))
        return false;
    for (int i = 0; i < count; ++i) {
        const ToolBarButton &button = buttons[i];
        if (button.command < 0) {
            m_toolBar->AddSeparator();
        } else if (CanExecuteCommand(button.command)) {
            if (!m_toolBar->AddButton(button))
                return false;
        }
    }
    connect(m_toolBar, &CTelvToolBarCtrl::commandTriggered, this, [this](int id) { routeCommand(id); });

    m_toolBar->adjustSize();
    const QSize size = m_toolBar->GetMaxSize();
    const QWidget *placeholder = findChild<QWidget *>(QString::number(kToolBarPlaceholderId));
    if (placeholder && placeholder != m_toolBar)
        m_toolBar->setGeometry(QRect(placeholder->mapTo(this, QPoint(0, 0)), size));
    else
        m_toolBar->resize(size);
    m_toolBar->show();
    return true;
}

void CTelvPaneDlg::routeCommand(int commandId)
{
    if (OnCommand(commandId))
        return;
    if (IPaneFrame *frame = GetPaneFrame())
        frame->OnCommand(commandId);
}

void CTelvPaneDlg::OnFrameActivate(bool) {}
void CTelvPaneDlg::OnContentsChanged(QWidget *) {}
void CTelvPaneDlg::OnColorChanged() {}
void CTelvPaneDlg::OnSettingChanged(int) {}
void CTelvPaneDlg::OnContentPicked(int, int) {}
void CTelvPaneDlg::OnLayoutChanged(QWidget *, int) {}
void CTelvPaneDlg::OnCheckPlaylistSelected(int) {}
void CTelvPaneDlg::OnEditPlaylistSelected(int, int) {}
void CTelvPaneDlg::OnPlayerChanged() {}
void CTelvPaneDlg::OnGroupChanged() {}

bool CTelvPaneDlg::QueryClose()
{
    return true;
}

void CTelvPaneDlg::OnContentsListChanged(int, int, int) {}
void CTelvPaneDlg::OnRefreshLists() {}
void CTelvPaneDlg::OnCheckListChanged(int, int) {}
void CTelvPaneDlg::OnEditListChanged(int, int) {}
void CTelvPaneDlg::OnCheckScheduleChanged() {}
void CTelvPaneDlg::OnEditScheduleChanged(int) {}

bool CTelvPaneDlg::CanExecuteCommand(int)
{
    return true;
}

void CTelvPaneDlg::OnUpdateCommand(CCmdUI &) {}

bool CTelvPaneDlg::OnCommand(int)
{
    return false;
}

bool CTelvPaneDlg::OnInitDialog()
{
    return true;
}

void CTelvPaneDlg::OnOK() {}
void CTelvPaneDlg::OnCancel() {}

void CTelvPaneDlg::accept()
{
    OnOK();
}

void CTelvPaneDlg::reject()
{
    OnCancel();
}

int CTelvPaneDlg::currentSizeType() const
{
    // A pane in a child frame takes the frame's state; a pane window its own.
    const QWidget *host = dynamic_cast<const IPaneHost *>(parentWidget()) ? parentWidget() : this;
    if (host->isMinimized())
        return SIZE_MINIMIZED;
    if (host->isMaximized())
        return SIZE_MAXIMIZED;
    return SIZE_RESTORED;
}

void CTelvPaneDlg::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    OnSize(currentSizeType(), event->size().width(), event->size().height());
}

void CTelvPaneDlg::OnSize(int sizeType, int, int)
{
    if (sizeType == SIZE_RESTORED)
        m_anchors.Apply(this);
}
