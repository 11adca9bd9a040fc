#pragma once
// Transfer request kind 4: fetch the player's log into a local folder.

#include "player/dlk_request.h"

#include <QString>

class CDlkRequestLog : public CDlkRequestOf<CDlkRequestLog, DLK_REQUEST_LOG> {
public:
    explicit CDlkRequestLog(const QString &folder = QString())
        : m_folder(folder)
    {
    }

    QString GetFolder() const { return m_folder; }

private:
    QString m_folder;
};
