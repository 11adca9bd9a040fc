// Telop editing from the main frame to the files: a new telop written in the
// editor, confirmed in its preview and stored with its files put in place;
// a stored telop opened again; an unreadable one refused; a text file read
// in the encoding it is in; files of a telop whose record cannot be stored
// left nowhere; the property dialog's rules.
#include "app/main_frame.h"
#include "widgets/telop_editor.h"
#include "core/data_folders.h"
#include "core/path_utils.h"
#include "core/system_ini.h"
#include "model/app_data.h"
#include "model/contents_list.h"
#include "model/contents_store.h"
#include "model/telop_property.h"
#include "ops/telop_document.h"
#include "ops/telop_files.h"
#include "ops/telop_font.h"
#include "core/app_ini.h"
#include "fake_file_dialogs.h"
#include "shell_fixture.h"
#include "ui/contents/telop_detail_dlg.h"
#include "ui/contents/telop_edit_ctrl.h"
#include "ui/contents/telop_edit_dlg.h"
#include "ui/contents/telop_view_dlg.h"

#include <QApplication>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QLocale>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTest>
#include <QtEndian>

namespace {

QString telopPath(qint32 number, int kind)
{
    QString path;
    MakeTelopFilePath(TextFolderOf(GetAppData().GetDataRoot()), number, kind, path);
    return path;
}

// The Gothic installed with the program under the name the locale lists it
// by: a Japanese desktop calls it by its Japanese name.
QString InstalledGothic(bool otherLocale = false)
{
    const bool japanese = (QLocale::system().language() == QLocale::Japanese) != otherLocale;
    return japanese ? QString::fromUtf8("IPAゴシック") : QStringLiteral("IPAGothic");
}

// Stands in for the dialogs: stages the files a preview would and answers OK.
class FakeTelopEditor final : public ITelopEditor {
public:
    FakeTelopEditor() { SetTelopEditor(this); }
    ~FakeTelopEditor() override { SetTelopEditor(nullptr); }
    int EditText(QWidget *, CTelopProperty &property, qint32 newNumber, CTelopFileStage &stage) override
    {
        ++textRuns;
        if (property.GetIndex() <= 0)
            property.SetIndex(newNumber);
        property.SetTitle(QStringLiteral("fake"));
        stage.Stage(TextFolderOf(GetAppData().GetDataRoot()), property.GetIndex(), "BM", QStringLiteral("0\t"));
        if (loseStagedBitmap)
            QFile::remove(CTelopFileStage::StagingPath(telopPath(property.GetIndex(), TELOP_FILE_BITMAP)));
        return IDOK;
    }
    int EditDetail(QWidget *, CTelopProperty &property) override
    {
        ++detailRuns;
        property.SetTitle(QStringLiteral("detail"));
        return IDOK;
    }
    int textRuns = 0;
    int detailRuns = 0;
    bool loseStagedBitmap = false;
};

class TelopEditorTest : public ShellTest {
protected:
    CContentsList *telops() { return GetContentFolders().GetList(CONTENT_TELOP); }
    qint32 newNumber()
    {
        int counter = 0;
        return GetContentFolders().GetNewCode(CONTENT_TELOP, counter);
    }
    // Runs the editor on a record up to a confirmed preview.
    void confirm(CTelopEditDlg &dialog)
    {
        dialog.OnConfirm();
        ASSERT_TRUE(dialog.GetPreview());
        dialog.GetPreview()->OnOK();
        EXPECT_TRUE(QTest::qWaitFor([&] { return !dialog.GetPreview(); }));
    }
};

} // namespace

TEST_F(TelopEditorTest, FrameStoresANewTelopOnlyWhenItsFilesArePutInPlace)
{
    CMainFrame *frame = startFrame();
    ASSERT_TRUE(frame);
    FakeTelopEditor editor;
    const int counter = GetSystemIni().GetContentIndex(CONTENT_TELOP);
    const qint32 number = newNumber();
    const int count = telops()->GetCount();

    frame->EditTelop(nullptr);
    ASSERT_EQ(telops()->GetCount(), count + 1);
    const auto *stored = static_cast<CTelopProperty *>(telops()->GetAt(telops()->FindCode(number)));
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->GetDataFormat(), QStringLiteral("編集可能データ"));
    EXPECT_EQ(stored->GetFormat(), CTelopProperty::FORMAT_BITMAP);
    EXPECT_TRUE(QFile::exists(telopPath(number, TELOP_FILE_TEXT)));
    EXPECT_TRUE(QFile::exists(telopPath(number, TELOP_FILE_BITMAP)));
    EXPECT_FALSE(QFile::exists(CTelopFileStage::StagingPath(telopPath(number, TELOP_FILE_TEXT))));
    EXPECT_NE(GetSystemIni().GetContentIndex(CONTENT_TELOP), counter);
    EXPECT_TRUE(QFile::exists(GetContentFolders().GetListPath(CONTENT_TELOP)));

    // The record says which editor opens: a typed telop the text editor, a
    // bitmap telop (its link names its bitmap) the property dialog, even with
    // a stray text file beside it.
    CTelopProperty record;
    record.Copy(stored);
    frame->EditTelop(&record);
    EXPECT_EQ(editor.textRuns, 2);
    record.SetLink(QFileInfo(telopPath(number, TELOP_FILE_BITMAP)).fileName());
    ASSERT_TRUE(QFile::exists(telopPath(number, TELOP_FILE_TEXT)));
    frame->EditTelop(&record);
    EXPECT_EQ(editor.textRuns, 2);
    EXPECT_EQ(editor.detailRuns, 1);
    EXPECT_EQ(telops()->GetAt(telops()->FindCode(number))->GetTitle(), QStringLiteral("detail"));

    // Files that cannot be put in place leave neither record nor files.
    const qint32 failing = newNumber();
    editor.loseStagedBitmap = true;
    m_prompter.expect(5221, IDOK);
    frame->EditTelop(nullptr);
    EXPECT_EQ(telops()->FindCode(failing), -1);
    EXPECT_FALSE(QFile::exists(telopPath(failing, TELOP_FILE_TEXT)));
    EXPECT_FALSE(QFile::exists(CTelopFileStage::StagingPath(telopPath(failing, TELOP_FILE_TEXT))));
}

TEST_F(TelopEditorTest, EditorWritesPreviewsAndStagesANewTelopThenOpensItAgain)
{
    ASSERT_TRUE(startUp());
    const qint32 number = newNumber();
    CTelopFileStage stage;
    CTelopEditDlg dialog;
    dialog.SetProperty(CTelopProperty());
    dialog.SetNewNumber(number);
    dialog.SetFileStage(&stage);
    ASSERT_TRUE(dialog.Create(nullptr));
    EXPECT_EQ(dialog.GetFontList()->currentText(), InstalledGothic());

    m_prompter.expect(5410, IDOK); // nothing written yet
    dialog.OnConfirm();
    EXPECT_FALSE(dialog.GetPreview());

    CTelopEditCtrl *edit = dialog.GetEditCtrl();
    QInputMethodEvent typed; // Japanese comes through the input method
    typed.setCommitString(QString::fromUtf8("本日のお知らせ"));
    QApplication::sendEvent(edit, &typed);
    edit->SetSel(0, 2);
    edit->ChangeColor(0x0000FF);
    EXPECT_TRUE(dialog.IsModified());
    confirm(dialog);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);

    CTelopProperty saved;
    dialog.GetProperty(saved);
    EXPECT_EQ(saved.GetIndex(), number);
    EXPECT_EQ(saved.GetInfo(), QStringLiteral("Text"));
    EXPECT_EQ(saved.GetTitle(), QString::fromUtf8("本日のお知らせ"));
    EXPECT_EQ(saved.GetLineHeight(), 60);
    ASSERT_TRUE(stage.IsStaged());
    QFile bitmap(CTelopFileStage::StagingPath(telopPath(number, TELOP_FILE_BITMAP)));
    ASSERT_TRUE(bitmap.open(QIODevice::ReadOnly));
    const QByteArray bmp = bitmap.readAll();
    EXPECT_TRUE(bmp.startsWith("BM"));
    EXPECT_EQ(quint64(bmp.size()), saved.GetSize());
    EXPECT_EQ(qFromLittleEndian<qint32>(bmp.constData() + 22), 60);
    EXPECT_EQ(qFromLittleEndian<qint32>(bmp.constData() + 18), saved.GetWidth());
    // The players and the next new telop get the face by its family name.
    QFile text(CTelopFileStage::StagingPath(telopPath(number, TELOP_FILE_TEXT)));
    ASSERT_TRUE(text.open(QIODevice::ReadOnly));
    const QString records = QStringDecoder(QStringDecoder::Utf16LE)(text.readAll());
    EXPECT_TRUE(records.contains(InstalledGothic() + QLatin1Char('\t'))) << records.toStdString();
    EXPECT_EQ(GetAppIni().GetTelopSettings().LastFont, InstalledGothic());
    ASSERT_TRUE(stage.Commit());

    // Opened again, the stored telop comes back with its colours.
    CTelopEditDlg again;
    again.SetProperty(saved);
    ASSERT_TRUE(again.Create(nullptr));
    EXPECT_EQ(again.GetEditCtrl()->GetText(), QString::fromUtf8("本日のお知らせ"));
    EXPECT_EQ(again.GetEditCtrl()->GetTextDoc().Cells()[1].color, 0x0000FFu);
    EXPECT_EQ(again.GetEditCtrl()->GetTextDoc().Cells()[2].color, 0xFFFFFFu);
    EXPECT_FALSE(again.IsModified());
    again.OnCancel(); // unchanged: closes without asking
    EXPECT_EQ(again.result(), QDialog::Rejected);
}

TEST_F(TelopEditorTest, NewTelopsOpenOnAnInstalledFamilyWhateverTheLocaleCallsIt)
{
    ASSERT_TRUE(startUp());
    EXPECT_EQ(TelopFamilyName(QStringLiteral("C059 [UKWN]")), QStringLiteral("C059"));
    // No last face, one not installed here, one stored under another
    // locale's name.
    TelopSettings last = GetAppIni().GetTelopSettings();
    for (const QString &stored : {QString(), QStringLiteral("No Such Face"), InstalledGothic(true)}) {
        last.LastFont = stored;
        GetAppIni().SetTelopSettings(last);
        CTelopEditDlg dialog;
        dialog.SetProperty(CTelopProperty());
        dialog.SetNewNumber(newNumber());
        ASSERT_TRUE(dialog.Create(nullptr));
        const QComboBox *faces = dialog.GetFontList();
        EXPECT_EQ(faces->currentText(), InstalledGothic()) << stored.toStdString();
        QStringList listed;
        for (int i = 0; i < faces->count(); ++i)
            listed << faces->itemText(i);
        EXPECT_TRUE(listed.filter(QStringLiteral("[")).isEmpty()) << listed.join(u',').toStdString();
        EXPECT_EQ(listed.removeDuplicates(), 0);
    }
}

TEST_F(TelopEditorTest, UnreadableTelopIsNotOpened)
{
    ASSERT_TRUE(startUp());
    const qint32 number = newNumber();
    QFile file(telopPath(number, TELOP_FILE_TEXT));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(EncodeTelopTextFile(QStringLiteral("0\t1\t4\t0\r\n")));
    file.close();
    CTelopProperty record;
    record.SetIndex(number);
    CTelopEditDlg dialog;
    dialog.SetProperty(record);
    m_prompter.expect(7100, IDOK);
    EXPECT_FALSE(dialog.Create(nullptr));
}

TEST_F(TelopEditorTest, ImportedTextIsReadInItsEncodingAndOverlongStoredTextKeptWhole)
{
    ASSERT_TRUE(startUp());
    // A text file in the Windows Japanese code page, read into a new telop.
    const QString folder = m_home.filePath(QStringLiteral("texts"));
    QDir().mkpath(folder);
    QFile file(folder + QStringLiteral("/notice.txt"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QStringEncoder("windows-31j")(QString::fromUtf8("営業時間\tのお知らせ\n午前9時から")));
    file.close();
    FakeFileDialogs files;
    files.answers << file.fileName();
    CTelopEditDlg dialog;
    dialog.SetProperty(CTelopProperty());
    ASSERT_TRUE(dialog.Create(nullptr));
    dialog.OnReadTextFile();
    EXPECT_EQ(dialog.GetEditCtrl()->GetText(), QString::fromUtf8("営業時間        のお知らせ\r\n午前9時から"));
    EXPECT_EQ(files.requests.value(0).filter, QString::fromUtf8("テキストファイル (*.txt)"));
    EXPECT_TRUE(dialog.IsModified());
    QString last;
    GetAppIni().GetLastTextFolder(last);
    EXPECT_EQ(last, folder);

    // Every file is read as what it is: UTF-8 with and without its mark,
    // UTF-16 behind its mark in either byte order. One of no encoding is
    // told and leaves the text as it was.
    const QString japanese = QString::fromUtf8("Sale: あいうえお 本日は特売日です\n二行目");
    const QString shown = QString::fromUtf8("Sale: あいうえお 本日は特売日です\r\n二行目");
    const QList<QByteArray> encoded = {
        japanese.toUtf8(),
        "\xEF\xBB\xBF" + japanese.toUtf8(),
        EncodeTelopTextFile(japanese),
        QByteArray("\xFE\xFF") + QStringEncoder(QStringEncoder::Utf16BE)(japanese),
    };
    const auto readFile = [&](const QByteArray &bytes, std::optional<quint32> told = std::nullopt) {
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
        file.close();
        files.answers << file.fileName();
        m_prompter.expect(5004, IDYES);
        if (told)
            m_prompter.expect(*told, IDOK);
        dialog.OnReadTextFile();
    };
    for (const QByteArray &bytes : encoded) {
        ASSERT_NO_FATAL_FAILURE(readFile(bytes));
        EXPECT_EQ(dialog.GetEditCtrl()->GetText(), shown) << bytes.toHex().left(16).toStdString();
    }
    ASSERT_NO_FATAL_FAILURE(readFile(QByteArray("Sale \x80\xFF\xFE\xA0 end"), 7103));
    EXPECT_EQ(m_prompter.last().stringId, 7103u);
    EXPECT_EQ(dialog.GetEditCtrl()->GetText(), shown);

    // A stored text longer than the editor takes is loaded whole, with a warning.
    const qint32 number = newNumber();
    CTelopTextDoc doc;
    doc.SetFont(QStringLiteral("IPAGothic"), 30);
    doc.InsertText(0, QString(CTelopEditDlg::kEditLimit + 10, u'x'));
    QString records;
    FormatTelopRecords(doc, 4, DefaultTelopPalette(), records);
    ASSERT_TRUE(WriteTextFile(telopPath(number, TELOP_FILE_TEXT), records));
    CTelopProperty record;
    record.SetIndex(number);
    CTelopEditDlg stored;
    stored.SetProperty(record);
    m_prompter.expect(7101, IDOK);
    ASSERT_TRUE(stored.Create(nullptr));
    EXPECT_EQ(stored.GetEditCtrl()->GetText().size(), CTelopEditDlg::kEditLimit + 10);
}

TEST_F(TelopEditorTest, PreviewChecksSizeAndWidthBeforeSaving)
{
    ASSERT_TRUE(startUp());
    CTelopTextDoc doc;
    doc.SetFont(QStringLiteral("IPAGothic"), 150);
    doc.InsertText(0, QString(300, u'W'));
    ASSERT_GT(doc.GetTotalWidth(), CTelopEditCtrl::kWidthLimit);
    QString records;
    FormatTelopRecords(doc, 4, DefaultTelopPalette(), records);

    CTelopProperty property;
    CTelopFileStage stage;
    CTelopViewDlg preview(nullptr);
    preview.SetTextData(records);
    preview.SetFont(QStringLiteral("IPAGothic"), 15, true);
    preview.SetProperty(&property);
    preview.SetFileStage(&stage);
    preview.SetNewNumber(newNumber());
    auto *size = preview.findChild<QLineEdit *>(QStringLiteral("6431"));
    EXPECT_TRUE(size->isEnabled()); // no fixed entry of 15: user-defined
    m_prompter.expect(5108, IDOK);
    preview.OnOK();
    size->setText(QStringLiteral("150"));
    m_prompter.expect(5220, IDOK);
    preview.OnOK();
    EXPECT_FALSE(stage.IsStaged());
    EXPECT_EQ(preview.GetCustomSize(), 150);
}

TEST_F(TelopEditorTest, PropertyDialogKeepsWhatTheOperatorDidNotChange)
{
    ASSERT_TRUE(startUp());
    CTelopProperty record;
    record.SetEffectType(CTelopProperty::EFFECT_SCROLL);
    record.SetSpeed(175); // none of the system's three speeds
    record.SetColor(0, 0x123456);
    CTelopDetailDlg dialog;
    dialog.SetProperty(record);
    dialog.SetBackColorFlag(true);
    dialog.OnInitDialog();
    auto *speed = dialog.findChild<QComboBox *>(QStringLiteral("1092"));
    EXPECT_EQ(speed->currentIndex(), 0);
    EXPECT_TRUE(speed->isEnabled());
    dialog.findChild<QLineEdit *>(QStringLiteral("1142"))->setText(QStringLiteral("a\tb"));
    m_prompter.expect(5375, IDYES);
    ASSERT_TRUE(dialog.OnOK());
    CTelopProperty result;
    dialog.GetProperty(result);
    EXPECT_EQ(result.GetTitle(), QStringLiteral("ab"));
    EXPECT_EQ(result.GetSpeed(), 175);
    quint8 flag = 1;
    ColorRef color = 0;
    result.GetColor(flag, color);
    EXPECT_EQ(flag, 0);

    auto *effect = dialog.findChild<QComboBox *>(QStringLiteral("1089"));
    effect->setCurrentIndex(effect->findData(CTelopProperty::EFFECT_BLINK));
    dialog.OnSelectEffect();
    EXPECT_FALSE(speed->isEnabled());
}
