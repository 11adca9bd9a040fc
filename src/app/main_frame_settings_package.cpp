// The settings package command of the frame.

#include "widgets/file_dialog_prompter.h"
#include "app/main_frame.h"
#include "core/app_ini.h"
#include "core/message_box.h"
#include "core/string_table.h"
#include "core/syslog.h"
#include "model/app_data.h"
#include "model/q9_display_xml.h"
#include "ops/settings_package.h"

#include <QDir>
#include <QFileInfo>

namespace {

constexpr quint32 kMsgSetupIncomplete = 5454;
constexpr quint32 kMsgSettingsWritten = 5369;
constexpr quint32 kMsgSettingsFailed = 5368;
constexpr quint32 kTextDialogTitle = 5521;
constexpr quint32 kTextDialogFilter = 5888;

// Nothing writes the display list until displays are set up, so a fresh
// installation has none; the package then carries the empty list, written
// where it belongs so that a restored package and this installation agree.
bool EnsureDisplayList(const CAppData &data)
{
    const QString path = data.GetDisplayFilePath();
    if (QFileInfo::exists(path))
        return true;
    CQ9DisplayXml empty;
    return empty.Save(path);
}

} // namespace

void CMainFrame::OnExportSettings()
{
    CAppData &data = GetAppData();
    if (!data.IsInitialSetupDone()) {
        ShowMessage(this, kMsgSetupIncomplete, kTitleCaption, MB_OK | MB_ICONWARNING);
        return;
    }
    CAppIni &appIni = GetAppIni();
    FileDialogRequest request;
    request.title = LoadString(kTextDialogTitle);
    request.folder = appIni.GetLastExportFolder();
    request.fileName = QStringLiteral("Q9Setup.cab");
    request.filter = LoadString(kTextDialogFilter);
    request.defaultExt = QStringLiteral("cab");
    // A dialog may move the process's current folder; the program's relative
    // paths depend on it.
    const QString currentFolder = QDir::currentPath();
    const QString path = PromptSaveFileName(this, request);
    QDir::setCurrent(currentFolder);
    if (path.isEmpty())
        return;
    const QString folder = FolderOfChosenPath(path);
    if (!folder.isEmpty())
        appIni.SetLastExportFolder(QDir::toNativeSeparators(folder));
    if (!EnsureDisplayList(data))
        WriteSyslog(LOG_ERR_APP, "Display list write error");
    const int result = MakeSettingsPackage(data.GetDataRoot(), path);
    if (result == 0) {
        ShowMessageFormat(this, kTitleCaption, MB_OK | MB_ICONINFORMATION, kMsgSettingsWritten, path);
        return;
    }
    WriteSyslog(LOG_ERR_APP, "CAB Compress Error(%d)", result);
    ShowMessage(this, kMsgSettingsFailed, kTitleCaption, MB_OK | MB_ICONWARNING);
}
