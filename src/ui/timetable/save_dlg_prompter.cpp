#include "ui/timetable/save_dlg_prompter.h"

#include "ui/contents/property_set_dlg.h"
#include "ui/timetable/schedule_set_dlg.h"

CSaveDlgPrompter::CSaveDlgPrompter()
{
    SetSaveDialogPrompter(this);
}

CSaveDlgPrompter::~CSaveDlgPrompter()
{
    SetSaveDialogPrompter(nullptr);
}

bool CSaveDlgPrompter::AskScheduleSet(QWidget *owner, ScheduleSetBlock &block)
{
    CScheduleSetDlg dialog(owner);
    dialog.SetBlock(block);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    block = dialog.GetBlock();
    return true;
}

bool CSaveDlgPrompter::AskProperty(QWidget *owner, QString &info, QString &title)
{
    CPropertySetDlg dialog(owner);
    dialog.SetCategory(info);
    dialog.SetTitle(title);
    // An empty title is allowed: the save names the list by the time instead.
    dialog.SetTitleRequired(false);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    info = dialog.GetCategory();
    title = dialog.GetTitle();
    return true;
}
