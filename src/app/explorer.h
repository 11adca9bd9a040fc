#pragma once
// The window that hosts the embedded web browser. Web and Flash thumbnails
// and the page-range picker load their pages in it; every page it shows gets
// the Flash runtime when that is installed (app/flash_runtime.h).
//
// The browser engine cannot start its sandbox when the program runs as
// root; the application object switches the sandbox off before the engine
// first starts (CTelvQ9App).

#include <QWebEngineView>

class CExplorer : public QWebEngineView {
    Q_OBJECT
public:
    explicit CExplorer(QWidget *parent = nullptr);
    ~CExplorer() override;

    // Opens a web address, or a local file given by its path.
    void Navigate(const QString &address);
};
