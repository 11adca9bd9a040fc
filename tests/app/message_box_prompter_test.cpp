// The message boxes of the running program: their buttons read as the
// messages name them, whatever translation the toolkit has, and a long line
// keeps whole where the screen has room; the toolkit's
// own dialogs speak Japanese where the translation is installed; the file
// dialog hands on every file typed, even one its filter hides, and its open
// button agrees.
#include "widgets/file_dialog_prompter.h"
#include "widgets/message_box_prompter.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace {

// Shows the message and runs body on its box once it is open; body closes it.
int Prompt(CMessageBoxPrompter &prompter, const MessagePrompt &message, const std::function<void(QMessageBox *)> &body)
{
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        poll.stop();
        body(box);
    });
    poll.start();
    return prompter.prompt(message);
}

// Answers the next box by the button with the given text, after noting the
// texts of all its buttons.
int AnswerBy(CMessageBoxPrompter &prompter, quint32 style, const QString &answer, QStringList &texts)
{
    MessagePrompt message;
    message.text = QStringLiteral("よろしいですか？");
    message.style = style;
    return Prompt(prompter, message, [&](QMessageBox *box) {
        QAbstractButton *chosen = nullptr;
        for (QAbstractButton *button : box->buttons()) {
            texts << button->text();
            if (button->text() == answer)
                chosen = button;
        }
        if (chosen)
            chosen->click();
        else
            box->reject();
    });
}

} // namespace

TEST(MessageBoxPrompter, ButtonsReadInJapanese)
{
    CMessageBoxPrompter prompter;
    QStringList texts;
    EXPECT_EQ(AnswerBy(prompter, MB_YESNO | MB_ICONQUESTION, QStringLiteral("いいえ"), texts), IDNO);
    texts.sort();
    EXPECT_EQ(texts, (QStringList{QStringLiteral("いいえ"), QStringLiteral("はい")}));

    texts.clear();
    EXPECT_EQ(AnswerBy(prompter, MB_OKCANCEL, QStringLiteral("キャンセル"), texts), IDCANCEL);
    texts.sort();
    EXPECT_EQ(texts, (QStringList{QStringLiteral("OK"), QStringLiteral("キャンセル")}));

    texts.clear();
    EXPECT_EQ(AnswerBy(prompter, MB_YESNOCANCEL, QStringLiteral("はい"), texts), IDYES);
    EXPECT_EQ(texts.size(), 3);
}

TEST(MessageBoxPrompter, ALongLineIsWrappedOnlyWhereTheBoxCannotGrow)
{
    CMessageBoxPrompter prompter;
    const QString fileLine = QStringLiteral("(ファイル：/home/operator/素材/2027年春の催事/本店ロビー用_朝の案内_最終版_差し替え.mpg)");
    int room = 0;
    int need = 0;
    MessagePrompt message;
    message.text = QStringLiteral("素材登録でエラーが発生しました。\n") + fileLine;
    Prompt(prompter, message, [&](QMessageBox *box) {
        const auto *label = box->findChild<QLabel *>(QStringLiteral("qt_msgbox_label"));
        room = label->contentsRect().width();
        need = label->fontMetrics().horizontalAdvance(fileLine);
        box->accept();
    });
    EXPECT_GT(need, 500) << "a line longer than the toolkit's wrapping width";
    EXPECT_GE(room, need);
}

TEST(ToolkitTranslation, FileDialogTextsAreJapanese)
{
    const QDir translations(QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    if (!translations.exists(QStringLiteral("qtbase_ja.qm")))
        GTEST_SKIP() << "the toolkit's Japanese translation is not installed";
    EXPECT_NE(QCoreApplication::translate("QFileDialog", "Look in:"), QStringLiteral("Look in:"));
}

TEST(ToolkitTranslation, DatesReadInJapaneseWhateverTheSystemLocale)
{
    QDateEdit edit;
    edit.setDate(QDate(2027, 1, 6));
    EXPECT_EQ(edit.text(), QStringLiteral("2027/01/06"));
    const QLocale locale;
    EXPECT_EQ(locale.standaloneMonthName(12), QStringLiteral("12月"));
    EXPECT_EQ(locale.dayName(1, QLocale::ShortFormat), QStringLiteral("月"));
}

TEST(FileDialogPrompter, NamesTypedButHiddenByTheFilterAreHandedOn)
{
    QTemporaryDir dir;
    for (const char *name : {"movie2.mpg", "movie1.mp4"}) {
        QFile file(dir.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    QFileDialog dialog(nullptr, QStringLiteral("登録"), dir.path(), QStringLiteral("動画 (*.mpg)"));
    dialog.setFileMode(QFileDialog::ExistingFiles);
    PrepareFileDialog(dialog);
    auto *view = dialog.findChild<QListView *>(QStringLiteral("listView"));
    ASSERT_NE(view, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return view->model()->rowCount(view->rootIndex()) == 1; }));
    auto *edit = dialog.findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
    edit->setText(QStringLiteral("\"movie2.mpg\" \"movie1.mp4\""));
    const QStringList both{dir.filePath(QStringLiteral("movie2.mpg")), dir.filePath(QStringLiteral("movie1.mp4"))};
    // The toolkit alone keeps only the name its filter shows.
    EXPECT_EQ(dialog.selectedFiles(), QStringList{both.first()});
    EXPECT_EQ(WithTypedFiles(dialog, dialog.selectedFiles()), both);

    // The open button opens what Enter opens: a hidden but existing file,
    // not a name that no file has.
    QPushButton *open = dialog.findChild<QDialogButtonBox *>(QStringLiteral("buttonBox"))->button(QDialogButtonBox::Open);
    edit->setText(QStringLiteral("movie1.mp4"));
    EXPECT_TRUE(open->isEnabled());
    edit->setText(QStringLiteral("movie3.mp4"));
    EXPECT_FALSE(open->isEnabled());
    edit->setText(QStringLiteral("movie1.mp4"));
    dialog.show();
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}
