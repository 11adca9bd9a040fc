#pragma once
// Answers a modal dialog that the code under test opens with exec(): the
// body runs on the next modal dialog of the class once it is open, while
// exec() blocks the test.

#include <QApplication>
#include <QDialog>
#include <QTimer>

#include <functional>
#include <type_traits>

template <class Dialog = QDialog>
void onNextModal(std::function<void(std::type_identity_t<Dialog> *)> body)
{
    auto *poll = new QTimer;
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, body] {
        auto *dialog = qobject_cast<Dialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        poll->stop();
        poll->deleteLater();
        body(dialog);
    });
    poll->start();
}
