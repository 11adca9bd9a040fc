#include "ui/contents/content_edit_dialogs_runner.h"

#include "ui/contents/control_edit_dlg.h"
#include "ui/contents/ip_camera_set_dlg.h"
#include "ui/contents/no_play_date_set_dlg.h"
#include "ui/contents/property_set_dlg.h"
#include "model/timetable_item.h"

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
    // The play time shows as it plays; left as shown, the record keeps its
    // fraction of a second, so what the players get does not change.
    const PlayLength shown = PlayedLength(values.playTime);
    if (values.hasPlayTime)
        dialog.SetPlayTime(shown.hour, shown.minute, shown.second);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    values.info = dialog.GetCategory();
    values.title = dialog.GetTitle();
    if (values.hasPlayTime) {
        PlayLength typed;
        dialog.GetPlayTime(typed.hour, typed.minute, typed.second);
        if (typed != shown)
            values.playTime = typed;
    }
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
