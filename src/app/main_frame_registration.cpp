// Content registration and material replacement: the main frame's entry
// points. The work itself is the content registration of the operations
// layer, run on a worker thread while the frame is disabled; this file shows
// the progress window, starts and joins the worker and tells the result.
#include "app/main_frame.h"

#include "app/app_message.h"
#include "app/frame_message_ids.h"
#include "app/frame_worker.h"
#include "widgets/reg_cont_dlg.h"
#include "core/format_utils.h"
#include "core/message_box.h"
#include "core/path_utils.h"
#include "core/setting_ini.h"
#include "core/string_table.h"
#include "core/system_ini.h"
#include "model/property_base.h"
#include "ops/content_registration.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

namespace {

constexpr quint32 kMsgUnsupportedExtension = 5357;
constexpr quint32 kMsgLocalPagesOff = 5449;
constexpr quint32 kTextLocalPagesOption = 6726;
constexpr quint32 kMsgNotPortableName = 5358;
constexpr quint32 kMsgDiskFull = 5254;
constexpr quint32 kMsgRegistError = 5255;
constexpr quint32 kMsgPageUnreadable = 5960;
constexpr quint32 kMsgPackageBroken = 5441;
constexpr quint32 kMsgPackageNoIndex = 5442;
constexpr quint32 kMsgPlayTimeChanged = 5424;
constexpr quint32 kMsgSizeChanged = 5425;
constexpr quint32 kTextFailedFile = 5645;

// The worker's notices are posted as the frame's messages of the same numbers.
static_assert(int(REGIST_NOTICE_END) == int(APPMSG_REGIST_END) && int(REGIST_NOTICE_COPY) == int(APPMSG_REGIST_COPY)
              && int(REGIST_NOTICE_STEP) == int(APPMSG_REGIST_STEP)
              && int(REGIST_NOTICE_THUMB) == int(APPMSG_REGIST_THUMB)
              && int(REGIST_NOTICE_REPLACE_END) == int(APPMSG_REPLACE_END));

// The text of a failed registration or replacement (kinds 2 to 10), with
// the file it stopped at.
QString FailureText(int kind, quint32 detail, const QString &file)
{
    QString text;
    switch (kind) {
    case REGIST_LIST_FULL: text = FormatString(kMsgMaxCount, GetSystemIni().GetMaxCount(int(detail))); break;
    case REGIST_MEDIA_REFUSED: text = LoadString(detail); break;
    case REGIST_DISK_FULL: text = LoadString(kMsgDiskFull); break;
    case REGIST_FILE_ERROR: text = FormatString(kMsgFileError, detail); break;
    case REGIST_PAGE_UNREADABLE: text = FormatString(kMsgPageUnreadable, detail); break;
    case REGIST_PACKAGE_BROKEN: text = LoadString(kMsgPackageBroken); break;
    case REGIST_PACKAGE_NO_INDEX: text = LoadString(kMsgPackageNoIndex); break;
    default: text = LoadString(kMsgRegistError); break;
    }
    return text + QLatin1Char('\n') + FormatString(kTextFailedFile, file);
}

QString SizeText(int width, int height)
{
    return QStringLiteral("%1 x %2").arg(width).arg(height);
}

// What changed in a replaced content that its playlists and layouts may
// need to follow; empty when nothing did.
QString ChangeText(const RegistChange &change)
{
    QString text;
    if (change.playTimeChanged)
        text = FormatString(kMsgPlayTimeChanged, FormatTimeText(change.oldPlayTime.Fields(), false),
                            FormatTimeText(change.newPlayTime.Fields(), false));
    if (change.sizeChanged) {
        if (!text.isEmpty())
            text += QStringLiteral("\r\n\r\n");
        text += FormatString(kMsgSizeChanged, SizeText(change.oldWidth, change.oldHeight),
                             SizeText(change.newWidth, change.newHeight));
    }
    return text;
}

// The worker bodies; they report only through their posted messages.
int AddContentsThreadProc(CContentRegistration &registration, const QStringList &files, int type)
{
    registration.AddContentsFilesWorker(files, type);
    return 0;
}

int ReplaceMaterialThreadProc(CContentRegistration &registration, int type, qint32 number, const QString &path)
{
    registration.ReplaceMaterialWorker(type, number, path);
    return 0;
}

} // namespace

// ---- Starting ---------------------------------------------------------------------

void CMainFrame::StartAddContentsFiles(const QStringList &files, int type)
{
    if (m_registWorker || files.isEmpty())
        return;
    SetRegistPaths(files, QString());
    openRegistProgress(int(files.size()));
    startRegistWorker([this, files, type] { AddContentsThreadProc(*m_registration, files, type); });
}

bool CMainFrame::StartReplaceMaterial(int type, qint32 number, const QString &path)
{
    if (m_registWorker || IsContentInTransfer({number}, type, false))
        return false;
    SetRegistPaths({}, path);
    openRegistProgress(1);
    return startRegistWorker(
        [this, type, number, path] { ReplaceMaterialThreadProc(*m_registration, type, number, path); });
}

void CMainFrame::openRegistProgress(int total)
{
    setEnabled(false);
    m_regContDlg = std::make_unique<CRegContDlg>(this);
    m_regContDlg->SetTotal(total);
    m_regContDlg->show();
    SetRegistProgress(m_regContDlg.get());

    RegistEnvironment env;
    env.progress = &m_regContDlg->Progress();
    env.post = [this](int notice, qint32 wParam, qint32 lParam) {
        PostAppMessage(this, notice, quint32(wParam), quint32(lParam));
    };
    m_registration = std::make_unique<CContentRegistration>(env);
}

bool CMainFrame::startRegistWorker(std::function<void()> body)
{
    if (StartWorker(m_registWorker, std::move(body), true))
        return true;
    // No thread: nothing runs, so the window goes and the frame comes back.
    closeRegistProgress();
    return false;
}

void CMainFrame::closeRegistProgress()
{
    SetRegistProgress(nullptr);
    if (m_regContDlg) {
        m_regContDlg->CloseProgress();
        m_regContDlg.reset();
    }
    setEnabled(true);
}

// ---- Dropped files ----------------------------------------------------------------

void CMainFrame::dragEnterEvent(QDragEnterEvent *event)
{
    if (isEnabled() && event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent *event)
{
    QStringList paths;
    for (const QUrl &url : event->mimeData()->urls())
        if (url.isLocalFile())
            paths.append(url.toLocalFile());
    if (paths.isEmpty())
        return;
    event->acceptProposedAction();
    OnDropFiles(paths);
}

void CMainFrame::OnDropFiles(const QStringList &paths)
{
    if (!isEnabled())
        return;
    for (const QString &path : paths) {
        const int type = GetContentTypeFromFileName(path);
        // A page file is refused by the option that keeps local pages off,
        // named so the operator knows where to allow them.
        const bool pagesOff = type == CONTENT_WEB && !GetSettingIni().IsLocalUrlEnabled();
        if (type == 0 || pagesOff) {
            const QString reason = pagesOff ? FormatString(kMsgLocalPagesOff, LoadString(kTextLocalPagesOption))
                                            : LoadString(kMsgUnsupportedExtension);
            // Named, as the contents pane names the files its tab does not take.
            MessageBoxWithCaptionId(this, reason + QLatin1Char('\n') + path, kTitleCaption, kExclamationStyle);
            return;
        }
        if (type == CONTENT_TYPE_WEB_NOT_PORTABLE) {
            ShowMessage(this, kMsgNotPortableName, kTitleCaption, kExclamationStyle);
            return;
        }
    }
    StartAddContentsFiles(paths, 0);
}

// ---- Ends ---------------------------------------------------------------------------

void CMainFrame::endRegistWorker()
{
    EndWorker(m_registWorker);
    closeRegistProgress();
    NotifyContentsListChanged(0, 0, 0);
}

void CMainFrame::stopRegistWorker()
{
    if (m_regContDlg)
        m_regContDlg->Progress().Cancel();
    m_registWorker.reset();
}

void CMainFrame::OnMsgAddContentsEnd(int kind, quint32 detail)
{
    endRegistWorker();
    const QString failed = m_registration ? m_registration->GetFailedFile() : QString();
    const QStringList shownAlone = m_registration ? m_registration->GetPagesShownAlone() : QStringList();
    m_registration.reset();
    if (!m_exiting && kind != REGIST_OK && kind != REGIST_CANCELLED)
        MessageBoxWithCaptionId(this, FailureText(kind, detail, failed), kTitleCaption, kExclamationStyle);
    if (!m_exiting && !shownAlone.isEmpty())
        ShowMessageFormat(this, kTitleCaption, MB_OK | MB_ICONINFORMATION, kMsgPageShownAlone,
                          shownAlone.join(QLatin1Char('\n')));
    raise();
    activateWindow();
}

void CMainFrame::OnMsgReplaceMaterialEnd(int kind, quint32 detail)
{
    endRegistWorker();
    const RegistChange change = m_registration ? m_registration->GetChange() : RegistChange{};
    m_registration.reset();
    QString text;
    if (kind == REGIST_OK || kind == REGIST_CANCELLED)
        text = ChangeText(change);
    else
        text = FailureText(kind, detail, m_registPath);
    if (!m_exiting && !text.isEmpty())
        MessageBoxWithCaptionId(this, text, kTitleCaption, kExclamationStyle);
    raise();
    activateWindow();
}
