// Web contents: packages unpacked under their number, hostile packages
// refused without a trace, page files registered where they lie, the folders
// a local page's site may serve, and the package file list of export.

#include "registration_test_support.h"

#include "cab/cab_writer.h"
#include "cab/dlkx_cab.h"
#include "core/path_utils.h"
#include "model/contents_list.h"
#include "model/thumbnail_maker.h"
#include "model/web_property.h"
#include "ops/local_page_site.h"
#include "ops/local_url_files.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace {

// An environment variable set for a scope, then as it was (unset when it was).
class ScopedEnvironment {
public:
    ScopedEnvironment(const char *name, const QString &value) : m_name(name), m_old(qgetenv(name))
    {
        qputenv(name, value.toLocal8Bit());
    }
    ~ScopedEnvironment()
    {
        if (m_old.isNull())
            qunsetenv(m_name);
        else
            qputenv(m_name, m_old);
    }

private:
    const char *m_name;
    QByteArray m_old;
};

class WebRegistrationTest : public RegistrationTest {
protected:
    // A package made with the cabinet engine from a folder of the files.
    QString makePackage(const QString &name, const QList<QPair<QString, QByteArray>> &files)
    {
        const QString folder = m_dir.filePath("package-" + name);
        for (const auto &[path, bytes] : files) {
            QDir().mkpath(QFileInfo(folder + "/" + path).path());
            QFile file(folder + "/" + path);
            EXPECT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(bytes);
        }
        const QString package = source(name);
        EXPECT_EQ(DLKxCompressCab({folder, {}, 0, package}), 0);
        return package;
    }
    // A cabinet whose members carry names as given, whatever they are.
    QString makeRawPackage(const QString &name, const QList<QPair<QString, QByteArray>> &members)
    {
        QList<CabSourceFile> files;
        int i = 0;
        for (const auto &[member, bytes] : members) {
            const QString path = m_dir.filePath(QString("raw/%1").arg(i++));
            QDir().mkpath(QFileInfo(path).path());
            QFile file(path);
            EXPECT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(bytes);
            files.append({path, member, bytes.size(), QDateTime::currentDateTime(), cab::kAttribArchive});
        }
        EXPECT_EQ(CCabWriter().Write(files, source(name)), CAB_OK);
        return source(name);
    }
    QByteArray jpeg(QSize size)
    {
        QFile file(writePicture("thumb-src.jpg", size, Qt::green));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    QStringList webFolderEntries() const
    {
        return QDir(m_store.GetContentFolder(CONTENT_WEB))
            .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    }
};

} // namespace

TEST_F(WebRegistrationTest, PackageIsUnpackedUnderItsNumberWithItsThumbnails)
{
    const QString package = makePackage(
        "Shop.dscc", {{"index.html", "<html><img src='img/a.png'></html>"},
                      {"img/a.png", "png"},
                      {"thumbnail.jpg", jpeg({1600, 900})},
                      {"info.ini", "[Content]\r\nVersion=1.2\r\nDuration=00:00:30\r\nWidth=1600\r\nHeight=900\r\n"}});
    CContentRegistration reg = registration();
    ASSERT_EQ(reg.AddContentsFilesWorker({package}, 0).kind, REGIST_OK);

    auto *web = static_cast<CWebProperty *>(record(CONTENT_WEB, 0));
    ASSERT_NE(web, nullptr);
    const QString number = QString("%1").arg(web->GetIndex(), 9, 10, QChar('0'));
    EXPECT_EQ(web->GetUrl(), number + "\\index.html");
    EXPECT_EQ(web->GetTitle(), "Shop");
    EXPECT_EQ(web->GetDataFormat(), "SCC V1.2");
    EXPECT_EQ(QSize(web->GetWidth(), web->GetHeight()), QSize(1600, 900));
    EXPECT_EQ(web->GetPlayTime(), (PlayLength{0, 0, 30, 0}));
    EXPECT_EQ(web->GetOption(), CWebProperty::kOptionNoPreRead);
    EXPECT_EQ(webFolderEntries(), QStringList{number});
    EXPECT_TRUE(QFile::exists(reg.PackageFolder(web->GetIndex()) + "/img/a.png"));
    EXPECT_EQ(QImage(thumb(CONTENT_WEB, web->GetIndex(), false)).size(), QSize(1600, 900));
    const QImage small(thumb(CONTENT_WEB, web->GetIndex(), true));
    EXPECT_EQ(small.size(), QSize(94, 52));
    EXPECT_GT(qGreen(small.pixel(47, 26)), 200);
    EXPECT_TRUE(m_thumbnails.requests.isEmpty());

    // Export lists the package's files, the start page only when asked.
    QStringList files;
    ASSERT_TRUE(ExpImpListLocalUrlFiles(m_store.GetContentFolder(CONTENT_WEB), *web, false, files));
    const QString folder = reg.PackageFolder(web->GetIndex());
    EXPECT_EQ(files, (QStringList{folder + "/info.ini", folder + "/thumbnail.jpg", folder + "/img/a.png"}));
    files.clear();
    ASSERT_TRUE(ExpImpListLocalUrlFiles(m_store.GetContentFolder(CONTENT_WEB), *web, true, files));
    EXPECT_EQ(files.size(), 4);
    CWebProperty address;
    address.SetUrl("http://example.invalid/");
    EXPECT_FALSE(ExpImpListLocalUrlFiles(m_store.GetContentFolder(CONTENT_WEB), address, true, files));
}

TEST_F(WebRegistrationTest, PackageDeclaringNoOrAbsurdSizesGetsNoThumbnails)
{
    const QString zero = makePackage("zero.dscc", {{"index.html", "x"}, {"thumbnail.jpg", jpeg({64, 64})},
                                                   {"info.ini", "[Content]\nWidth=0\nHeight=900\n"}});
    const QString huge = makePackage("huge.dscc", {{"INDEX.HTML", "x"}, {"thumbnail.jpg", jpeg({64, 64})},
                                                   {"info.ini", "[Content]\nWidth=999999\nHeight=-5\n"}});
    CContentRegistration reg = registration();
    ASSERT_EQ(reg.AddContentsFilesWorker({zero, huge}, 0).kind, REGIST_OK);
    for (int position : {0, 1}) {
        auto *web = static_cast<CWebProperty *>(record(CONTENT_WEB, position));
        EXPECT_EQ(QSize(web->GetWidth(), web->GetHeight()), position == 0 ? QSize(0, 900) : QSize(0, 0));
        EXPECT_FALSE(QFile::exists(thumb(CONTENT_WEB, web->GetIndex(), true)));
    }
    EXPECT_TRUE(static_cast<CWebProperty *>(record(CONTENT_WEB, 1))->GetUrl().endsWith("\\INDEX.HTML"));
}

TEST_F(WebRegistrationTest, HostilePackagesAreRefusedWithoutATrace)
{
    const struct {
        QString package;
        int kind;
    } cases[] = {
        {makeRawPackage("climb.dscc", {{"index.html", "x"}, {"..\\..\\evil.html", "evil"}}), REGIST_PACKAGE_BROKEN},
        {makePackage("noindex.dscc", {{"start.html", "x"}}), REGIST_PACKAGE_NO_INDEX},
        {makeRawPackage("folder.dscc", {{"index.html\\page.html", "x"}}), REGIST_PACKAGE_NO_INDEX},
        {writeBytes("damaged.dscc", "MSCF but not really"), REGIST_PACKAGE_BROKEN},
    };
    CContentRegistration reg = registration();
    for (const auto &c : cases) {
        SCOPED_TRACE(c.package.toStdString());
        const RegistResult result = reg.AddContentsFilesWorker({c.package}, 0);
        EXPECT_EQ(result.kind, c.kind);
        EXPECT_EQ(reg.GetFailedFile(), c.package);
        EXPECT_TRUE(webFolderEntries().isEmpty()) << webFolderEntries().join(", ").toStdString();
        EXPECT_EQ(m_store.GetList(CONTENT_WEB)->GetCount(), 0);
        EXPECT_FALSE(QFile::exists(m_dir.filePath("evil.html")));
        EXPECT_FALSE(QFile::exists(base() + "/TelvData/evil.html"));
    }
}

TEST_F(WebRegistrationTest, PageFileIsRegisteredWhereItLies)
{
    setSystemValue("ExOption", "UrlThumbDelay", "250");
    const QString page = writeBytes("site/top page.html", "<html>top</html>");
    CContentRegistration reg = registration();
    ASSERT_EQ(reg.AddContentsFilesWorker({page}, CONTENT_WEB).kind, REGIST_OK);
    auto *web = static_cast<CWebProperty *>(record(CONTENT_WEB, 0));
    ASSERT_NE(web, nullptr);
    EXPECT_EQ(web->GetUrl(), page);
    EXPECT_EQ(web->GetTitle(), "top page");
    EXPECT_EQ(web->GetInfo(), "site");
    EXPECT_EQ(web->GetDataFormat(), "ローカルファイル アクセス");
    EXPECT_EQ(web->GetSize(), 16u);
    ASSERT_EQ(m_thumbnails.requests.size(), 1);
    const UrlThumbRequest &request = m_thumbnails.requests[0];
    EXPECT_EQ(request.source, page);
    EXPECT_EQ(request.type, CONTENT_WEB);
    EXPECT_EQ(QSize(request.width, request.height), QSize(1920, 1080));
    EXPECT_EQ(request.delayMs, 250);
    EXPECT_TRUE(webFolderEntries().isEmpty());

    // A page that cannot be opened ends the batch with its reason.
    const RegistResult result = reg.AddContentsFilesWorker({source("site/gone.html")}, CONTENT_WEB);
    EXPECT_EQ(result.kind, REGIST_PAGE_UNREADABLE);
    EXPECT_EQ(result.detail, 2u);
    EXPECT_EQ(m_store.GetList(CONTENT_WEB)->GetCount(), 1);
}

// The places a local page's site may serve: never the file-system root, the
// home folder, a folder the user's programs share (the user folders as the
// user's folder settings name them, a temporary folder) or the data tree, nor
// a folder holding one of them; inside the data tree only the page's own
// content (its package folder and below, or its movie); a link counts where
// it leads.
TEST(LocalPageSite, TakesNoPlaceThatReachesTheOperatorsOrAnotherContentsFiles)
{
    QTemporaryDir dir;
    const QString home = dir.filePath("home");
    const QString base = home + "/Documents";
    const QString content = base + "/TelvData/Content";
    const QString own = content + "/Url/400000001";
    const QString other = content + "/Url/400000002";
    const QString movie = content + "/Flash/a.swf";
    const QString temp = dir.filePath("temp");
    for (const QString &folder : {base + "/TelvData/Q9Data/Thumb", own + "/parts", other + "/sub", content + "/Video",
                                  content + "/Flash", home + "/pages", home + "/.cache/pages", home + "/Descargas/site",
                                  home + "/Desktop", home + "/.config", temp + "/site"})
        ASSERT_TRUE(QDir().mkpath(folder));
    QFile movieFile(movie);
    ASSERT_TRUE(movieFile.open(QIODevice::WriteOnly));
    QFile folderSettings(home + "/.config/user-dirs.dirs");
    ASSERT_TRUE(folderSettings.open(QIODevice::WriteOnly));
    folderSettings.write("XDG_DOWNLOAD_DIR=\"$HOME/Descargas\"\n");
    folderSettings.close();
    ASSERT_TRUE(QFile::link(home, dir.filePath("to-home")));
    const ScopedEnvironment homeSet("HOME", home);
    const ScopedEnvironment configSet("XDG_CONFIG_HOME", home + "/.config");
    const ScopedEnvironment tempSet("TMPDIR", temp);
    const struct {
        QString root;
        QString own;
        bool served;
    } rows[] = {
        {"/", {}, false},
        {home, {}, false},
        {dir.path(), {}, false},
        {dir.filePath("to-home"), {}, false},
        {home + "/gone", {}, false},
        {home + "/Descargas", {}, false},
        {home + "/Desktop", {}, false},
        {temp, {}, false},
        {"/tmp", {}, false},
        {"/var/tmp", {}, false},
        {base, own, false},
        {base + "/TelvData", own, false},
        {base + "/TelvData/Q9Data/Thumb", own, false},
        {content, own, false},
        {content + "/Video", own, false},
        {content + "/Url", own, false},
        {other, own, false},
        {other + "/sub", own, false},
        {own + "/parts", other, false},
        {own, {}, false},
        {content + "/Flash", movie, false},
        {home + "/pages", {}, true},
        {home + "/.cache/pages", {}, true},
        {home + "/Descargas/site", {}, true},
        {temp + "/site", {}, true},
        {own, own, true},
        {own + "/parts", own, true},
        {movie, movie, true},
    };
    for (const auto &row : rows) {
        const LocalPageSite site = LocalPageSiteOf(row.root, base, row.own);
        EXPECT_EQ(!site.root.isEmpty(), row.served) << row.root.toStdString() << " " << row.own.toStdString();
        EXPECT_EQ(site.refusal.isEmpty(), row.served) << row.root.toStdString();
    }
    EXPECT_EQ(LocalPageSiteOf(home + "/pages/", base, {}).root, QFileInfo(home + "/pages").canonicalFilePath());
    EXPECT_TRUE(IsHiddenRelativePath("a/.git/config"));
    EXPECT_TRUE(IsHiddenRelativePath(".env"));
    EXPECT_FALSE(IsHiddenRelativePath("a/b.c/d.txt"));
}

TEST(FlashThumbPage, TemplateIsFilledLiterallyWithTheEscapedAddress)
{
    QTemporaryDir dir;
    const QString templatePath = dir.filePath("BaseFlash.htm");
    QFile file(templatePath);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("<embed src=\"%s\" width=\"100%%\"> %d %n %");
    file.close();
    QString page;
    ASSERT_TRUE(MakeFlashThumbPage(templatePath, "/data/a&b <1> #2 50%.swf", dir.path(), page));
    EXPECT_EQ(page, dir.path() + "/TelvData/Q9Data/ThumbFlash.htm");
    QFile written(page);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), "<embed src=\"a%26b%20%3C1%3E%20%232%2050%25.swf\" width=\"100%\"> %d %n %");
    EXPECT_FALSE(MakeFlashThumbPage(dir.filePath("missing.htm"), "/a.swf", dir.path(), page));
}

TEST(FlashThumbPage, CaptureSizeFollowsThePageWithinBounds)
{
    const UrlThumbRequest request{"p", "r", 4, 1, 1920, 1080, 0};
    EXPECT_EQ(UrlCaptureSize(request, {}), QSize(1920, 1080));
    EXPECT_EQ(UrlCaptureSize(request, {1600, 0}), QSize(1600, 1080));
    EXPECT_EQ(UrlCaptureSize(request, {800, 99999}), QSize(800, kMaxCaptureSide));
    const UrlThumbRequest empty{"p", "r", 5, 1, 0, 0, 0};
    EXPECT_EQ(UrlCaptureSize(empty, {}), QSize(1, 1));
}
