#include "ui/contents/contents_list_dlg.h"

#include "widgets/color_dialog.h"
#include "core/app_ini.h"
#include "core/system_ini.h"
#include "model/property_base.h"
#include "ui/contents/contents_list_ctrl.h"
#include "ui/contents/contents_thumb_view.h"

#include <QVBoxLayout>

CContentsListDlg::CContentsListDlg(int contentType) : CTelvPaneDlg(kTemplateId), m_type(contentType) {}

bool CContentsListDlg::CreatePage(QWidget *parent)
{
    // A page lives inside the pane, never as a window of its own; the pane
    // passes the frame's notifications on to it.
    setParent(parent, Qt::Widget);
    if (!m_list && !OnInitDialog())
        return false;
    return true;
}

bool CContentsListDlg::OnInitDialog()
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_list = new CContentsListCtrl(m_type, this);
    m_list->SetMode(m_mode);
    layout->addWidget(m_list);
    if (m_list->GetThumbView())
        layout->addWidget(m_list->GetThumbView());
    ApplyView();
    return true;
}

bool CContentsListDlg::isEditedList(int mode) const
{
    return (m_type == CONTENT_PLAYLIST && mode == 11) || (m_type == CONTENT_BGMLIST && mode == 12)
        || (m_type == CONTENT_SCHEDULE && mode == 13);
}

void CContentsListDlg::SetMode(int mode)
{
    m_mode = mode;
    if (m_list)
        m_list->SetMode(mode);
    setAutoFillBackground(true);
    QPalette colors = palette();
    colors.setColor(QPalette::Window, isEditedList(mode) ? QPalette().color(QPalette::Window)
                                                         : ToQColor(CSystemIni::GetContentColor(m_type)));
    setPalette(colors);
}

void CContentsListDlg::ApplyView()
{
    const bool thumbnails = m_type >= 1 && m_type <= 5 && !m_list->IsRemote() && GetAppIni().GetLastThumbDisp(m_type);
    m_list->SetThumbnailMode(thumbnails);
    m_list->InsertColumns();
    m_list->Refresh();
}

void CContentsListDlg::OnSettingChanged(int)
{
    ApplyView();
}

void CContentsListDlg::OnPlayerChanged()
{
    if (m_list->IsRemote())
        m_list->Refresh();
}

void CContentsListDlg::OnGroupChanged()
{
    if (m_type == CONTENT_SCHEDULE && !m_list->IsRemote())
        m_list->Refresh();
}

void CContentsListDlg::OnContentsListChanged(int contentType, int index, int flag)
{
    if (contentType != 0 && contentType != m_type)
        return;
    if ((index != 0) != m_list->IsRemote())
        return;
    if (flag) {
        m_list->GetActiveView()->clearSelection();
        m_list->GetActiveView()->setCurrentIndex(QModelIndex());
    }
    m_list->Refresh();
}
