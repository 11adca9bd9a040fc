// Request kind 6: a firmware update file uploaded to the player's update
// folder, then the reset that applies it.

#include "transfer/dlk_transfer.h"

#include "core/syslog.h"
#include "player/dlk_request_update.h"
#include "player/system_command.h"

#include <QFileInfo>

bool CDlkTransfer::transferUpdate(CDlkRequestUpdate *request)
{
    if (checkStopRequest())
        return false;
    const QByteArray name = m_name.toUtf8();
    WriteSyslog(LOG_NOTICE, "[%s] : R40 Update", name.constData());

    const QString local = request->GetUpdateFile();
    const QString remote = QStringLiteral("/import/update/") + QFileInfo(local).fileName();
    WriteSyslog(LOG_NOTICE, "[%s] : R40 Send File : PC(%s) -> DLK(%s)", name.constData(), qUtf8Printable(local),
                qUtf8Printable(remote));
    if (!m_http.SendFile(local, remote, 0)) {
        setSendFileError(local, remote);
        return false;
    }

    CSystemCommand reset;
    if (!commandBuilt(reset.MakeRequest(), reset))
        return false;
    if (!sendCommandChecked(reset, LOG_NOTICE))
        return false;
    WriteSyslog(LOG_NOTICE, "[%s] : R40 Update OK", name.constData());
    return true;
}
