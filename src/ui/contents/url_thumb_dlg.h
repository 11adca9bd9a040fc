#pragma once
// The hidden window that renders a web page or a Flash movie's page and
// captures it as the content's two thumbnails (dialog 2061). It is never seen
// (a window that is not drawn on any screen) and ends itself after the
// capture, after a page that fails to load, or after a bound on the whole
// capture, so a page that never completes cannot hold registration forever.
// The page is muted from its start until the capture ends, and its Flash
// movies are waited for before the delay starts.

#include "ops/web_thumbnail.h"

#include <QDialog>
#include <QImage>

class CExplorer;

class CUrlThumbDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 2061;
    static constexpr int IDC_BROWSER = 6532;
    // How long a capture may take beyond its delay.
    static constexpr int kCaptureBoundMs = 30000;
    // How long the capture waits for the page's Flash movies to load and
    // play before its delay starts; within the bound above.
    static constexpr int kFlashWaitMs = 15000;

    explicit CUrlThumbDlg(const UrlThumbRequest &request, QWidget *parent = nullptr);
    ~CUrlThumbDlg() override;

    // Shows the page (hidden) and starts the capture; the dialog ends with
    // Accepted when both thumbnails were written, else Rejected.
    void Start();

signals:
    void Finished(bool written);

private:
    void onLoadFinished(bool ok);
    void startCapture(QSize pageSize);
    void waitForFlash(int pollsLeft);
    void capture();
    void finish(bool written);

    UrlThumbRequest m_request;
    CExplorer *m_browser;
    QString m_flashPage;
    QString m_thumbFolder;
    QSize m_captureSize;
    bool m_timerStarted = false;
    bool m_finished = false;
};
