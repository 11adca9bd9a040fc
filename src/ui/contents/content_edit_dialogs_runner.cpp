#include "ui/contents/content_edit_dialogs_runner.h"

#include "ui/contents/control_edit_dlg.h"
#include "ui/contents/ip_camera_set_dlg.h"
#include "ui/contents/no_play_date_set_dlg.h"
#include "ui/contents/property_set_dlg.h"

CContentEditDialogsRunner &CContentEditDialogsRunner::Instance()
{
    static CContentEditDialogsRunner runner;
    return runner;
}

bool CContentEditDialogsRunner::RunControlEditDlg(QWidget *parent, CControlProperty &record, qint32 newIndex)
{
    CControlEditDlg dialog(parent);
    dialog.SetControlProperty(record);
    dialog.SetNewIndex(newIndex);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    dialog.GetControlProperty(record);
    return true;
}

bool CContentEditDialogsRunner::RunIpCameraSetDlg(QWidget *parent, CStreamingProperty &record, qint32 newIndex)
{
    CIpCameraSetDlg dialog(parent);
    dialog.SetStreamingProperty(record);
    dialog.SetNewIndex(newIndex);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    dialog.GetStreamingProperty(record);
    return true;
}

bool CContentEditDialogsRunner::RunPropertySetDlg(QWidget *parent, PropertyValues &values)
{
    CPropertySetDlg dialog(parent);
    dialog.SetCategory(values.info);
    dialog.SetTitle(values.title);
    dialog.SetTitleLocked(values.titleLocked);
    if (values.hasPlayTime)
        dialog.SetPlayTime(values.playTime.hour, values.playTime.minute, values.playTime.second);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    values.info = dialog.GetCategory();
    values.title = dialog.GetTitle();
    if (values.hasPlayTime)
        dialog.GetPlayTime(values.playTime.hour, values.playTime.minute, values.playTime.second);
    return true;
}

bool CContentEditDialogsRunner::RunNoPlayDateSetDlg(QWidget *parent, PeriodValues &values)
{
    CNoPlayDateSetDlg dialog(parent);
    dialog.SetStartDate(values.start);
    dialog.SetEndDate(values.end);
    dialog.SetWeek(values.week);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    values = PeriodValues{dialog.GetStartDate(), dialog.GetEndDate(), dialog.GetWeek()};
    return true;
}
