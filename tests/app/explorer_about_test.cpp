// The embedded browser runs offscreen under the program's application object,
// and the frame's version command opens the about box.
#include "widgets/explorer.h"
#include "app/version_dlg.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

TEST(Explorer, LoadsALocalPageOffscreen)
{
    QTemporaryDir dir;
    const QString page = dir.filePath(QStringLiteral("page.html"));
    QFile file(page);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("<html><head><title>Q9 page</title></head><body>x</body></html>");
    file.close();

    CExplorer explorer;
    explorer.setAttribute(Qt::WA_DontShowOnScreen);
    explorer.resize(320, 240);
    explorer.show();
    QSignalSpy finished(&explorer, &QWebEngineView::loadFinished);
    explorer.Navigate(page);
    ASSERT_TRUE(finished.wait(20000));
    EXPECT_TRUE(finished.first().first().toBool());
    EXPECT_EQ(explorer.title(), QStringLiteral("Q9 page"));
}

TEST(VersionDlg, ShowsTheVersion)
{
    CVersionDlg dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("バージョン情報"));
    EXPECT_EQ(dialog.GetVersionLabel()->text(), QStringLiteral("1.23"));
    EXPECT_EQ(dialog.findChild<QLabel *>(QStringLiteral("1312")), dialog.GetVersionLabel());
    // OK closes it.
    auto *buttons = dialog.findChild<QDialogButtonBox *>();
    ASSERT_NE(buttons, nullptr);
    QPushButton *ok = buttons->button(QDialogButtonBox::Ok);
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->text(), QStringLiteral("OK"));
    dialog.show();
    ok->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), int(QDialog::Accepted));
}
