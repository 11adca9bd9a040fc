#include "ui/contents/url_thumb_thread.h"

#include "core/syslog.h"
#include "ui/contents/url_thumb_dlg.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>

#include <chrono>
#include <future>
#include <memory>

namespace {

// Runs one capture on the user-interface thread; the promise is kept by the
// dialog's signal connection, so a worker that stopped waiting leaves it safe.
void RunCapture(const UrlThumbRequest &request, const std::shared_ptr<std::promise<bool>> &result)
{
    auto *dialog = new CUrlThumbDlg(request);
    QObject::connect(dialog, &CUrlThumbDlg::Finished, dialog, [dialog, result](bool written) {
        result->set_value(written);
        dialog->deleteLater();
    });
    dialog->Start();
}

} // namespace

CUrlThumbThread &CUrlThumbThread::Instance()
{
    static CUrlThumbThread maker;
    return maker;
}

bool CUrlThumbThread::MakeUrlThumbnails(const UrlThumbRequest &request)
{
    QCoreApplication *app = QCoreApplication::instance();
    if (!app)
        return false;
    auto result = std::make_shared<std::promise<bool>>();
    std::future<bool> done = result->get_future();
    if (QThread::currentThread() == app->thread()) {
        RunCapture(request, result);
        QEventLoop loop;
        while (done.wait_for(std::chrono::seconds(0)) != std::future_status::ready)
            loop.processEvents(QEventLoop::WaitForMoreEvents);
        return done.get();
    }
    QMetaObject::invokeMethod(app, [request, result] { RunCapture(request, result); }, Qt::QueuedConnection);
    // The dialog ends itself within this bound; a little more covers its start.
    const auto bound = std::chrono::milliseconds(qMax(0, request.delayMs) + CUrlThumbDlg::kCaptureBoundMs + 5000);
    if (done.wait_for(bound) != std::future_status::ready) {
        WriteSyslog(LOG_WARNING, "CUrlThumbThread : Capture wait time out : %s", qUtf8Printable(request.source));
        return false;
    }
    return done.get();
}
