#include "app/explorer.h"

#include "app/flash_runtime.h"

#include <QDir>
#include <QUrl>
#include <QWebEnginePage>

CExplorer::CExplorer(QWidget *parent) : QWebEngineView(parent)
{
    // Pages with Flash movies play them when the runtime is there; without
    // it they show what the browser shows in place of a missing plug-in.
    InstallFlashRuntime(page()->profile());
}

CExplorer::~CExplorer() = default;

void CExplorer::Navigate(const QString &address)
{
    // A bare path would otherwise be read as a relative web address.
    load(QUrl::fromUserInput(address, QDir::currentPath(), QUrl::AssumeLocalFile));
}
