#include "core/message_box.h"
#include "core/syslog.h"
#include "support/fake_clock.h"
#include "support/scripted_prompter.h"

#include <QFile>
#include <QObject>
#include <QTemporaryDir>

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

TEST(MessageBox, ShowMessageShowsTheTableTextWithItsCaptionAndReturnsTheAnswer)
{
    ScriptedPrompter prompter;
    prompter.expect(5004, IDYES);
    QObject owner;

    EXPECT_EQ(ShowMessage(&owner, 5004, 1, MB_YESNO | MB_ICONQUESTION), IDYES);

    const MessagePrompt shown = prompter.last();
    EXPECT_EQ(shown.owner, &owner);
    EXPECT_EQ(shown.stringId, 5004u);
    EXPECT_EQ(shown.captionId, 1u);
    EXPECT_EQ(shown.caption, QStringLiteral("TELV-Q9"));
    EXPECT_EQ(shown.style, 36u);
    EXPECT_EQ(shown.text, QStringLiteral("編集内容を破棄します。\nよろしいですか？"));
    EXPECT_TRUE(shown.arguments.isEmpty());
}

TEST(MessageBox, ShowMessageFormatFillsTheFormatAndRecordsItsArguments)
{
    ScriptedPrompter prompter;
    prompter.answer(IDOK).answer(IDNO);

    EXPECT_EQ(ShowMessageFormat(nullptr, 1, MB_ICONEXCLAMATION, 5108, 32, 1920), IDOK);
    EXPECT_EQ(prompter.last().text, QStringLiteral("範囲外です。\n32 ～ 1920 の範囲で指定してください。"));
    EXPECT_EQ(prompter.last().arguments, QStringList({QStringLiteral("32"), QStringLiteral("1920")}));

    EXPECT_EQ(ShowMessageFormat(nullptr, 1, MB_YESNO | MB_ICONQUESTION, 5000, QStringLiteral("101000001")), IDNO);
    EXPECT_EQ(prompter.last().text,
              QStringLiteral("インデックス 101000001 で保存しますか？\n[いいえ]をクリックすると、新規インデックスで保存します。"));
    EXPECT_EQ(prompter.stringIds(), QList<quint32>({5108, 5000}));
}

TEST(MessageBox, MessageBoxWithCaptionIdShowsAReadyText)
{
    ScriptedPrompter prompter;
    prompter.answer(IDOK);

    MessageBoxWithCaptionId(nullptr, QStringLiteral("素材登録でエラーが発生しました。\n(ファイル：a.mpg)"), 1,
                            MB_ICONEXCLAMATION | MB_OK);

    EXPECT_EQ(prompter.last().stringId, 0u);
    EXPECT_EQ(prompter.last().caption, QStringLiteral("TELV-Q9"));
    EXPECT_EQ(prompter.last().text, QStringLiteral("素材登録でエラーが発生しました。\n(ファイル：a.mpg)"));
}

TEST(MessageBox, SafeDefaultAnswerNeverConfirmsAQuestion)
{
    EXPECT_EQ(SafeDefaultAnswer(MB_OK | MB_ICONINFORMATION), IDOK);
    EXPECT_EQ(SafeDefaultAnswer(MB_YESNO | MB_ICONQUESTION), IDNO);
    EXPECT_EQ(SafeDefaultAnswer(MB_YESNO | MB_DEFBUTTON2), IDNO);
    EXPECT_EQ(SafeDefaultAnswer(MB_OKCANCEL), IDCANCEL);
    EXPECT_EQ(SafeDefaultAnswer(MB_YESNOCANCEL), IDCANCEL);
    EXPECT_EQ(SafeDefaultAnswer(MB_RETRYCANCEL), IDCANCEL);
    EXPECT_EQ(SafeDefaultAnswer(MB_ABORTRETRYIGNORE), IDABORT);
}

TEST(MessageBox, DefaultPrompterLogsTheMessageAndAnswersSafely)
{
    ScopedFakeClock clock(QDateTime(QDate(2026, 3, 9), QTime(7, 8, 9)));
    QTemporaryDir dir;
    ASSERT_TRUE(OpenSyslog(dir.path(), kLogFilePrefix, LOG_NOTICE));

    EXPECT_EQ(ShowMessage(nullptr, 5011, 1, MB_YESNO | MB_ICONQUESTION), IDNO);
    EXPECT_EQ(ShowMessage(nullptr, 5272, 1, MB_ICONEXCLAMATION), IDOK);
    CloseSyslog();

    QFile log(SyslogFileName(dir.path(), kLogFilePrefix, 2026, 3, 9));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(log.readAll());
    EXPECT_TRUE(text.contains(QStringLiteral("ID = 5011 : 編集中のデータを破棄し、TELV-Q9を終了しますか？ : Answer = No")))
        << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("ID = 5272 : システムログの保存に失敗しました。 : Answer = OK")));
}

TEST(ScriptedPrompter, FailsTheTestOnAnUnscriptedOrUnexpectedMessage)
{
    ScriptedPrompter prompter;
    EXPECT_NONFATAL_FAILURE(EXPECT_EQ(ShowMessage(nullptr, 5012, 1, MB_YESNO), IDNO), "Unscripted message box: string id 5012");

    prompter.expect(5004, IDYES);
    EXPECT_NONFATAL_FAILURE(ShowMessage(nullptr, 5012, 1, MB_YESNO), "Expected message box 5004, got 5012");
    EXPECT_EQ(prompter.prompts().size(), 2);
}

TEST(ScriptedPrompter, FailsWhenScriptedAnswersAreLeftOver)
{
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedPrompter prompter;
            prompter.expect(5013, IDYES);
        },
        "never asked for; first for string id 5013");
}

TEST(ScriptedPrompter, UninstallsItselfAndRestoresThePreviousPrompter)
{
    IMessagePrompter *before = &MessagePrompter();
    {
        ScriptedPrompter outer;
        {
            ScriptedPrompter inner;
            EXPECT_EQ(&MessagePrompter(), &inner);
        }
        EXPECT_EQ(&MessagePrompter(), &outer);
    }
    EXPECT_EQ(&MessagePrompter(), before);
}
