#pragma once
// Thumbnails of web pages and Flash movies. Neither has a picture a decoder
// could read, so the page is rendered by the embedded browser and the
// rendering becomes "%09d.jpg" (at the captured size) and "%09dt.jpg"
// (fitted into 94 x 94) under Thumb/URL or Thumb/Flash. The browser lives in
// the user interface; the registration worker asks for a capture through the
// maker installed here and waits for it. A Flash movie is shown through a
// small page made from the template "BaseFlash.htm" beside the program.

#include <QImage>
#include <QSize>
#include <QString>

// One capture, filled by the caller and read by the maker.
struct UrlThumbRequest {
    QString source;   // type 4: the page file; type 5: the Flash file
    QString dataRoot; // the base folder holding "TelvData"
    int type = 4;     // 4 web page, 5 Flash
    qint64 number = 0;
    int width = 0;    // capture size in pixels
    int height = 0;
    int delayMs = 0;  // between the page's completion and the capture
};

class IUrlThumbnailMaker {
public:
    virtual ~IUrlThumbnailMaker() = default;
    // Renders the request's page and writes both thumbnails; false when no
    // thumbnail was written (the content is registered all the same).
    virtual bool MakeUrlThumbnails(const UrlThumbRequest &request) = 0;
};

// The maker of the program (installed by the user interface at start-up);
// null when none is installed: web and Flash contents then get no thumbnails.
IUrlThumbnailMaker *GetUrlThumbnailMaker();
void SetUrlThumbnailMaker(IUrlThumbnailMaker *maker);

// Pages larger than this on a side are captured at this size.
constexpr int kMaxCaptureSide = 16384;

// The size a page is captured at: the page's own size when it has one
// (a web page without frames), else the request's size; each side within
// 1..kMaxCaptureSide, and a side of 0 taken from the request.
QSize UrlCaptureSize(const UrlThumbRequest &request, QSize pageSize);

// The folder that holds the page template "BaseFlash.htm" and the Flash
// runtime's folder: the program's own, unless a test has set another.
QString FlashResourceFolder();
void SetFlashResourceFolder(const QString &folder);
// "BaseFlash.htm" in that folder.
QString FlashTemplatePath();
// "flash-runtime" in that folder: the Flash runtime the embedded browser
// plays movies with, fetched at set-up and installed beside the program.
QString FlashRuntimeFolder();
// The page that shows a Flash movie: the template with every "%s" replaced by
// the movie's file name as an address relative to the movie's folder (escaped
// for HTML) and "%%" by "%", written as
// "<dataRoot>/TelvData/Q9Data/ThumbFlash.htm". False (logged) when the
// template cannot be read or the page cannot be written.
bool MakeFlashThumbPage(const QString &templatePath, const QString &flashPath, const QString &dataRoot,
                        QString &pagePath);

// Stores the thumbnails of a web content edited in the URL settings dialog
// once its record is saved: the images made there (a null image is not
// made), and for each one not made, the file of the number copyFrom when it
// is not -1 (a copy saved under a new number keeps its pictures). Failures
// only leave a thumbnail out.
void StoreEditedUrlThumbnails(const QString &dataRoot, qint64 number, const QImage &large, const QImage &small,
                              qint64 copyFrom);
