#include "ops/frame_helpers.h"

#include "core/data_folders.h"
#include "model/contents_store.h"
#include "transfer/dlk_request_send.h"

namespace {

// Archive members name their paths from the data root with "\" separators.
constexpr const char *kDataFolder = "TelvData\\Q9Data";
constexpr const char *kSettingsFolders[] = {"ContentData", "Group", "Log", "Setup", "Template", "KDP-R40"};

QString member(const char *name)
{
    return QStringLiteral("%1\\%2").arg(QLatin1String(kDataFolder), QLatin1String(name));
}

} // namespace

bool SetGroupFolders(CDlkRequestSend &request, const CContentsStore &store, const QString &dataRoot)
{
    QString scheduleFolder;
    QString sequenceFolder;
    if (!store.GetCurrentGroup().isEmpty()
        && !store.GetGroupScheduleFolders(store.GetCurrentGroup(), scheduleFolder, sequenceFolder))
        return false;
    return request.SetTextFolder(TextFolderOf(dataRoot))
        && request.SetPlaylistFolders(store.m_playlistFolder, store.m_sequenceFolder)
        && request.SetGroupFolders(scheduleFolder, sequenceFolder);
}

void CollectSettingsFiles(QStringList &names)
{
    names.append(member("*.ini"));
    names.append(member("*.xml"));
    for (const char *folder : kSettingsFolders)
        names.append(member(folder));
}

void CollectTempLogFiles(QStringList &names)
{
    names.append(member("LogTemp"));
}
