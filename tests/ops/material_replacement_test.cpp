// Material replacement: the number stays, the changes of play time and size
// are found, the fields the operator set are kept, and a failed replacement
// leaves the content and its files as they were.

#include "registration_test_support.h"

#include "core/data_folders.h"
#include "core/path_utils.h"
#include "model/contents_list.h"
#include "model/img_property.h"
#include "model/telop_property.h"
#include "model/web_property.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

class ReplacementTest : public RegistrationTest {
protected:
    qint32 registerOne(const QString &path, int type)
    {
        CContentRegistration reg = registration();
        EXPECT_EQ(reg.AddContentsFilesWorker({path}, type).kind, REGIST_OK);
        const CContentsList *list = m_store.GetList(type);
        return list->GetCount() ? const_cast<CContentsList *>(list)->GetAt(list->GetCount() - 1)->GetIndex() : -1;
    }
    QStringList contentFiles(int type) const
    {
        return QDir(m_store.GetContentFolder(type)).entryList(QDir::Files | QDir::NoDotAndDotDot | QDir::Hidden);
    }
};

} // namespace

TEST_F(ReplacementTest, StillKeepsItsNumberAndFieldsAndReportsTheNewSize)
{
    const qint32 number = registerOne(writePicture("old/wide.jpg", {1920, 1080}), CONTENT_IMAGE);
    auto *still = static_cast<CImgProperty *>(record(CONTENT_IMAGE, 0));
    ASSERT_TRUE(still->SetDeleteDate({2030, 1, 2}));
    const QString replacement = writePicture("new folder/small.jpg", {1280, 720}, Qt::red);

    CContentRegistration reg = registration();
    const RegistResult result = reg.ReplaceMaterialWorker(CONTENT_IMAGE, number, replacement);
    EXPECT_EQ(result.kind, REGIST_OK);
    ASSERT_EQ(m_store.GetList(CONTENT_IMAGE)->GetCount(), 1);
    still = static_cast<CImgProperty *>(record(CONTENT_IMAGE, 0));
    EXPECT_EQ(still->GetIndex(), number);
    EXPECT_EQ(still->GetLink(), "small.jpg");
    EXPECT_EQ(still->GetTitle(), "small");
    EXPECT_EQ(still->GetInfo(), "new folder");
    EXPECT_EQ(still->GetDeleteDate().year, 2030);
    EXPECT_EQ(contentFiles(CONTENT_IMAGE), QStringList{"small.jpg"});
    EXPECT_GT(qRed(QImage(thumb(CONTENT_IMAGE, number, true)).pixel(40, 20)), 200);
    const RegistChange &change = reg.GetChange();
    EXPECT_TRUE(change.sizeChanged);
    EXPECT_FALSE(change.playTimeChanged);
    EXPECT_EQ(QSize(change.oldWidth, change.oldHeight), QSize(1920, 1080));
    EXPECT_EQ(QSize(change.newWidth, change.newHeight), QSize(1280, 720));
    EXPECT_EQ(noticesOf(REGIST_NOTICE_THUMB), (QList<int>{0, -1}));
    EXPECT_EQ(noticesOf(REGIST_NOTICE_REPLACE_END), QList<int>{REGIST_OK});

    // The same size again changes nothing; with UpdateContNoChgInfo the
    // title and category stay.
    setSystemValue("ExOption", "UpdateContNoChgInfo", "1");
    const QString same = writePicture("elsewhere/same.jpg", {1280, 720});
    EXPECT_EQ(reg.ReplaceMaterialWorker(CONTENT_IMAGE, number, same).kind, REGIST_OK);
    EXPECT_FALSE(reg.GetChange().sizeChanged);
    still = static_cast<CImgProperty *>(record(CONTENT_IMAGE, 0));
    EXPECT_EQ(still->GetTitle(), "small");
    EXPECT_EQ(still->GetInfo(), "new folder");
    EXPECT_EQ(still->GetLink(), "same.jpg");
}

TEST_F(ReplacementTest, FailedReplacementLeavesEverythingAsItWas)
{
    const qint32 number = registerOne(writePicture("a.jpg", {640, 480}), CONTENT_IMAGE);
    const QByteArray thumbBefore = [&] {
        QFile file(thumb(CONTENT_IMAGE, number, false));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();
    ASSERT_FALSE(thumbBefore.isEmpty());

    CContentRegistration reg = registration();
    RegistResult result = reg.ReplaceMaterialWorker(CONTENT_IMAGE, number, writeBytes("broken.jpg", "no picture"));
    EXPECT_EQ(result.kind, REGIST_MEDIA_REFUSED);
    EXPECT_EQ(result.detail, 5203u);
    EXPECT_FALSE(reg.GetChange().sizeChanged);
    EXPECT_EQ(static_cast<CImgProperty *>(record(CONTENT_IMAGE, 0))->GetLink(), "a.jpg");
    EXPECT_EQ(contentFiles(CONTENT_IMAGE), QStringList{"a.jpg"});
    QFile after(thumb(CONTENT_IMAGE, number, false));
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), thumbBefore);
    EXPECT_TRUE(QFile::exists(thumb(CONTENT_IMAGE, number, true)));

    // A list that cannot be saved puts the old record and files back.
    ASSERT_TRUE(QFile::remove(m_store.GetListPath(CONTENT_IMAGE)));
    ASSERT_TRUE(QDir().mkpath(m_store.GetListPath(CONTENT_IMAGE)));
    result = reg.ReplaceMaterialWorker(CONTENT_IMAGE, number, writePicture("b.jpg", {320, 200}));
    EXPECT_EQ(result.kind, REGIST_FILE_ERROR);
    EXPECT_EQ(static_cast<CImgProperty *>(record(CONTENT_IMAGE, 0))->GetLink(), "a.jpg");
    EXPECT_EQ(contentFiles(CONTENT_IMAGE), QStringList{"a.jpg"});
    EXPECT_EQ(QImage(thumb(CONTENT_IMAGE, number, false)).size(), QSize(640, 480));

    // A web content takes only a package.
    const qint32 page = registerOne(writeBytes("p.html", "<html></html>"), CONTENT_WEB);
    result = reg.ReplaceMaterialWorker(CONTENT_WEB, page, source("p.html"));
    EXPECT_EQ(result.kind, REGIST_PACKAGE_BROKEN);
}

// A typed telop replaced by a bitmap is a bitmap telop: its text file goes.
TEST_F(ReplacementTest, TelopBitmapKeepsHowItIsShown)
{
    const qint32 number = registerOne(writePicture("t.bmp", {300, 30}), CONTENT_TELOP);
    auto *telop = static_cast<CTelopProperty *>(record(CONTENT_TELOP, 0));
    ASSERT_TRUE(telop->SetLink(QString()));
    QString text;
    ASSERT_TRUE(MakeTelopFilePath(TextFolderOf(base()), number, TELOP_FILE_TEXT, text));
    QFile typed(text);
    ASSERT_TRUE(typed.open(QIODevice::WriteOnly));
    typed.write("typed text");
    typed.close();
    ASSERT_TRUE(telop->SetEffectType(CTelopProperty::EFFECT_BLINK));
    ASSERT_TRUE(telop->SetSpeed(200));
    ASSERT_TRUE(telop->SetColor(1, 0x123456));

    CContentRegistration reg = registration();
    EXPECT_EQ(reg.ReplaceMaterialWorker(CONTENT_TELOP, number, writePicture("u.bmp", {500, 40})).kind, REGIST_OK);
    telop = static_cast<CTelopProperty *>(record(CONTENT_TELOP, 0));
    EXPECT_EQ(telop->GetEffectType(), CTelopProperty::EFFECT_BLINK);
    EXPECT_EQ(telop->GetSpeed(), 200);
    quint8 flag = 0;
    ColorRef color = 0;
    telop->GetColor(flag, color);
    EXPECT_EQ(color, 0x123456u);
    EXPECT_EQ(QSize(telop->GetWidth(), telop->GetHeight()), QSize(500, 40));
    EXPECT_TRUE(reg.GetChange().sizeChanged);
    EXPECT_TRUE(telop->IsBitmapTelop());
    EXPECT_FALSE(QFileInfo::exists(text));
    EXPECT_EQ(QDir(TextFolderOf(base())).entryList(QDir::Files | QDir::Hidden).size(), 1);
}
