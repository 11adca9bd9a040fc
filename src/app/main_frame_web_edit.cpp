// Editing web contents: the URL settings and URL options dialogs run on a
// copy of the record, which is stored in the web list when the operator
// confirms. The thumbnails framed in the dialog are written only after the
// list is saved, so a failed save leaves the stored ones as they were.
#include "app/main_frame.h"

#include "app/frame_message_ids.h"
#include "widgets/web_dialogs.h"
#include "core/last_error.h"
#include "core/message_box.h"
#include "core/path_utils.h"
#include "core/string_table.h"
#include "core/syslog.h"
#include "core/system_ini.h"
#include "core/clock.h"
#include "model/app_data.h"
#include "model/contents_list.h"
#include "model/contents_store.h"
#include "model/web_property.h"
#include "ops/list_undo.h"
#include "ops/local_page_site.h"
#include "ops/save_number.h"
#include "ops/web_thumbnail.h"

namespace {

constexpr quint32 kTextWebServerAccess = 6023;
constexpr quint32 kTextLocalFileAccess = 6024;

} // namespace

void CMainFrame::EditUrl(CWebProperty *record)
{
    CContentsStore &store = GetContentFolders();
    CContentsList *list = store.GetList(CONTENT_WEB);
    IWebDialogs *dialogs = GetWebDialogs();
    if (!list || !dialogs) {
        WriteSyslog(LOG_ERR_APP, "EditUrl : Invalid content type : type = %d", int(CONTENT_WEB));
        return;
    }
    if (!record && IsListFull(*list, CONTENT_WEB)) {
        ShowListFull(this, CONTENT_WEB);
        return;
    }
    CWebProperty edited;
    if (record)
        edited.Copy(record);
    int counter = 0;
    const qint32 newNumber = store.GetNewCode(CONTENT_WEB, counter);
    UrlSetResult result;
    if (newNumber < 0 || !dialogs->RunUrlSetDlg(this, edited, newNumber, result))
        return;
    edited.SetCreateDate(GetLocalTime());
    edited.SetDataFormat(LoadString(IsHttpUrl(edited.GetUrl()) ? kTextWebServerAccess : kTextLocalFileAccess));
    // A page newly given by its path is told about once, as registration does.
    const bool newPage = (!record || record->GetUrl() != edited.GetUrl()) && !IsHttpUrl(edited.GetUrl())
        && IsAbsolutePath(edited.GetUrl());
    if (!storeEditedRecord(*list, edited))
        return;
    if (edited.GetIndex() == newNumber) {
        CSystemIni &ini = GetSystemIni();
        ini.SetContentIndex(CONTENT_WEB, counter);
        ini.AdvanceContentIndex(CONTENT_WEB);
        ini.SaveContentIndex(CONTENT_WEB);
    }
    StoreEditedUrlThumbnails(GetAppData().GetDataRoot(), edited.GetIndex(), result.large, result.small,
                             result.copyThumbnailsFrom);
    NotifyContentsListChanged(CONTENT_WEB, 0, 0);
    if (newPage
        && IsLocalPageServedAlone(edited.GetUrl(), GetAppData().GetDataRoot(),
                                  WebContentOwnFolder(store, edited.GetIndex())))
        ShowMessageFormat(this, kTitleCaption, MB_OK | MB_ICONINFORMATION, kMsgPageShownAlone, edited.GetUrl());
}

void CMainFrame::EditUrlOpt(CWebProperty *record)
{
    CContentsList *list = GetContentFolders().GetList(CONTENT_WEB);
    IWebDialogs *dialogs = GetWebDialogs();
    if (!list || !dialogs) {
        WriteSyslog(LOG_ERR_APP, "EditUrlOpt : Invalid content type : type = %d", int(CONTENT_WEB));
        return;
    }
    if (!record || IsContentInTransfer({record->GetIndex()}, CONTENT_WEB, false))
        return;
    UrlOptValues values{record->GetXOffset(), record->GetYOffset(), record->GetOption(), record->GetReload()};
    if (!dialogs->RunUrlOptDlg(this, values))
        return;
    CWebProperty edited;
    edited.Copy(record);
    if (!edited.SetOffset(values.xOffset, values.yOffset) || !edited.SetOption(values.option)
        || !edited.SetReload(values.reload) || list->FindCode(edited.GetIndex()) < 0)
        return;
    edited.SetCreateDate(GetLocalTime());
    if (storeEditedRecord(*list, edited))
        NotifyContentsListChanged(CONTENT_WEB, 0, 0);
}

bool CMainFrame::storeEditedRecord(CContentsList &list, const CPropertyBase &record,
                                   const std::function<bool()> &beforeSave)
{
    CListUndo undo(list);
    if (!undo.Put(record))
        return false;
    if (beforeSave && !beforeSave()) {
        undo.Undo();
        return false;
    }
    const int type = list.GetContentType();
    return saveOrUndo({&undo}, [type] { return GetContentFolders().SaveLists(type, 1); });
}

bool CMainFrame::saveOrUndo(const QList<CListUndo *> &undos, const std::function<bool()> &save)
{
    if (save())
        return true;
    // The list files keep the old state: so do the lists.
    const quint32 error = GetLastError();
    for (CListUndo *undo : undos)
        undo->Undo();
    ShowMessageFormat(this, kTitleCaption, kExclamationStyle, kMsgFileError, error);
    return false;
}
