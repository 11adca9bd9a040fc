#pragma once
// Transfer request kind 6: upload a firmware update file and reset the player.

#include "player/dlk_request.h"

#include <QString>

class CDlkRequestUpdate : public CDlkRequestOf<CDlkRequestUpdate, DLK_REQUEST_UPDATE> {
public:
    explicit CDlkRequestUpdate(const QString &updateFile = QString())
        : m_updateFile(updateFile)
    {
    }

    QString GetUpdateFile() const { return m_updateFile; }

private:
    QString m_updateFile;
};
