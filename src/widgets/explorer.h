#pragma once
// The window that hosts the embedded web browser. Web and Flash thumbnails
// and the page-range picker load their pages in it; every page it shows gets
// the Flash runtime when that is installed (widgets/flash_runtime.h).
//
// A local page is a content the operator registered, not a page the
// operator chose to trust: it reads only the files of its own content's
// folder and the Flash runtime, and reaches no host by any kind of request
// (images, scripts, fetch, WebSocket, frames, navigation). A web page works
// as it does in a browser.
//
// The browser engine cannot start its sandbox when the program runs as
// root; the application object switches the sandbox off before the engine
// first starts (CTelvQ9App).

#include <QStringList>
#include <QWebEngineView>

class CExplorer : public QWebEngineView {
    Q_OBJECT
public:
    explicit CExplorer(QWidget *parent = nullptr);
    ~CExplorer() override;

    // Opens a web address, or a local file given by its path. A local page
    // may read the files inside readableFolders, by default its own folder.
    void Navigate(const QString &address, const QStringList &readableFolders = {});

private:
    class CLocalPageGuard;
    CLocalPageGuard *m_guard;
};
