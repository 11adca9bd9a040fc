#pragma once
// The fixture of the shell tests: a fresh home with its own base-folder
// setting and documents folder, the panes of every area registered, a
// scripted message prompter and a password prompter that answers as told.
// The application object is the test program's own; each test starts it
// (StartUp, or InitInstance for the frame) and the fixture ends it.

#include "widgets/password_prompter.h"
#include "support/scripted_prompter.h"

#include <QApplication>
#include <QByteArray>
#include <QDialog>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <type_traits>

class CMainFrame;

// Everything written to the daily logs anywhere under a folder.
QString LogText(const QString &folder);

// Runs body on the next modal dialog of its class once it is open (the
// exec() that opens it blocks the test until the dialog closes).
template <class Dialog = QDialog>
void OnNextModal(std::function<void(std::type_identity_t<Dialog> *)> body)
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

// The frame's pane at the index as the view class it is, or null. The frame's
// type is deduced so that this header needs only CMainFrame's declaration.
template <class Pane, class Frame>
Pane *PaneOf(Frame *frame, int index)
{
    return dynamic_cast<Pane *>(frame->GetViewPane(index));
}

class FakePasswordPrompter final : public IPasswordPrompter {
public:
    FakePasswordPrompter() { SetPasswordPrompter(this); }
    ~FakePasswordPrompter() override { SetPasswordPrompter(nullptr); }
    int PromptPassword(QWidget *, int mode) override
    {
        modes.append(mode);
        return answer;
    }
    int answer = 2; // IDCANCEL
    QList<int> modes;
};

class ShellTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The documents folder of the fresh home: the default base folder.
    QString baseFolder() const;
    QString dataFolder() const;
    // Writes one value of a settings file of the data folder before the start.
    void writeIni(const char *fileName, const QString &section, const QString &key, const QString &value);
    // A group of the application data (in memory), after the start.
    void addGroup(const QString &name);

    bool startUp();
    // StartUp and the main frame; null when the start failed.
    CMainFrame *startFrame();
    // The main frame, 1200 x 800, of a program whose first set-up is done;
    // null when the start failed.
    CMainFrame *startSetUpFrame();
    // The main frame, at the size it opens with, of a program whose first
    // set-up is done, these groups added and the first of them chosen; null
    // when the start or the choice failed.
    CMainFrame *startSetUpFrameWithGroups(const QStringList &groups);

    QTemporaryDir m_home;
    ScriptedPrompter m_prompter;
    FakePasswordPrompter m_passwords;

private:
    QByteArray m_oldHome;
    QByteArray m_oldConfig;
};
