#pragma once
// The window that hosts the embedded web browser. Web and Flash thumbnails
// and the page-range picker load their pages in it; every page it shows gets
// the Flash runtime when that is installed (widgets/flash_runtime.h).
//
// A local page is a content the operator registered, not a page the
// operator chose to trust: it is shown through the program's own scheme
// (widgets/local_page_scheme.h), so that it and everything it starts read only
// the files of its own content's folder and the Flash runtime, and reach no
// host. A web page works as it does in a browser, but for WebRTC over UDP
// (docs/flash-runtime.md).
//
// The browser engine cannot start its sandbox when the program runs as
// root; the application object switches the sandbox off before the engine
// first starts (CTelvQ9App).

#include <QString>
#include <QUrl>
#include <QWebEngineView>

class CExplorer : public QWebEngineView {
    Q_OBJECT
public:
    explicit CExplorer(QWidget *parent = nullptr);
    ~CExplorer() override;

    // Opens a web address, or a local file given by its path, and returns
    // the address loaded. A local page may read the files inside
    // readableRoot (a folder, by default its own, or one file), unless that
    // would reach the operator's own files or, in the data tree, anything
    // but ownPlace, its content's own folder or file: it is then shown alone.
    QUrl Navigate(const QString &address, const QString &readableRoot = {}, const QString &ownPlace = {});

private:
    void withdrawLocalPage();

    class CLocalPageGuard;
    CLocalPageGuard *m_guard;
};
