#include "app/explorer.h"

#include <QDir>
#include <QUrl>

CExplorer::CExplorer(QWidget *parent) : QWebEngineView(parent) {}

CExplorer::~CExplorer() = default;

void CExplorer::Navigate(const QString &address)
{
    // A bare path would otherwise be read as a relative web address.
    load(QUrl::fromUserInput(address, QDir::currentPath(), QUrl::AssumeLocalFile));
}
