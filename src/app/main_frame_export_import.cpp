// Export and import of playlists with their contents: the frame's entry
// points, its worker and its window.

#include "app/app_message.h"
#include "app/frame_message_ids.h"
#include "app/frame_worker.h"
#include "app/main_frame.h"
#include "app/playlist_ex_import_dlg.h"
#include "core/message_box.h"
#include "model/app_data.h"
#include "model/contents_store.h"
#include "ops/export_import.h"

bool CMainFrame::openExImportDlg(int mode, const QList<quint32> &playlists)
{
    if (IsBusy() || m_exImportWorker) {
        ShowMessage(this, kMsgCommunicating, kTitleCaption, MB_OK | MB_ICONWARNING);
        return false;
    }
    if (!m_exImportDlg) {
        m_exImportDlg = new CPlaylistExImportDlg(this);
        SetExImportView(m_exImportDlg);
    }
    m_exImportDlg->SetMode(mode);
    if (mode == 0)
        m_exImportDlg->SetPlaylistIndexes(playlists);
    if (!m_exImportDlg->GetTargetPath())
        return false;
    m_exImportDlg->RestoreWindowPos();
    m_exImportDlg->show();
    return true;
}

bool CMainFrame::ShowExportDlg(const QList<quint32> &playlists)
{
    return openExImportDlg(0, playlists);
}

bool CMainFrame::ShowImportDlg()
{
    return openExImportDlg(1, {});
}

bool CMainFrame::startExImport(std::function<int(CExImport &)> run)
{
    CContentsStore &store = GetContentFolders();
    m_exImport = std::make_unique<CExImport>(store, GetAppData().GetDataRoot(),
                                             [this](int number, quint32 wParam, quint32 lParam) {
                                                 PostAppMessage(this, number, wParam, lParam);
                                             });
    CExImport *exImport = m_exImport.get();
    // The window keeps the operator out while the worker runs; the frame
    // itself stays as it is.
    return StartWorker(m_exImportWorker, [exImport, run] { run(*exImport); }, false);
}

bool CMainFrame::StartExport(const QList<quint32> &playlists, const QString &targetPath, bool toFile,
                             bool keepPackage)
{
    const ExportRequest request{playlists, targetPath, toFile, keepPackage};
    return startExImport([request](CExImport &run) { return run.ExportMain(request); });
}

bool CMainFrame::StartImport(const QString &packagePath)
{
    return startExImport([packagePath](CExImport &run) { return run.ImportMain(packagePath); });
}

void CMainFrame::StopExImport()
{
    if (m_exImport)
        m_exImport->StopExImport();
}

bool CMainFrame::IsExImportStopped() const
{
    return m_exImport && m_exImport->IsStopped();
}

quint32 CMainFrame::GetExImportTotalCount() const
{
    return m_exImport ? m_exImport->GetTotalCount() : 0;
}

quint64 CMainFrame::GetExImportTotalBytes() const
{
    return m_exImport ? m_exImport->GetTotalBytes() : 0;
}

quint32 CMainFrame::GetExImportMissingNumber() const
{
    return m_exImport ? m_exImport->GetMissingNumber() : 0;
}

QStringList CMainFrame::GetExportLeftOutFiles() const
{
    return m_exImport ? m_exImport->GetLeftOutFiles() : QStringList();
}

QList<ImportReplacement> CMainFrame::GetImportReplacements() const
{
    return m_exImport ? m_exImport->GetReplacements() : QList<ImportReplacement>();
}

void CMainFrame::AnswerImportReplace(bool replace)
{
    if (m_exImport)
        m_exImport->AnswerReplace(replace);
}

quint32 CMainFrame::GetImportReplacedCount() const
{
    return m_exImport ? m_exImport->GetReplacedCount() : 0;
}

QList<ImportedItem> CMainFrame::GetImportedItems() const
{
    return m_exImport ? m_exImport->GetImportedItems() : QList<ImportedItem>();
}
