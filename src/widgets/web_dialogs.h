#pragma once
// The dialogs of web contents belong to the contents area above the frame;
// the frame's editing operations run them through this seam, which the
// contents area installs at start-up (and tests replace).

#include <QImage>
#include <QtGlobal>

class CWebProperty;
class QWidget;

// What the URL settings dialog hands back besides the record: the
// thumbnails the operator framed (null when none was made), and the number
// whose thumbnails a content saved under a new number takes over for those
// not made (-1 for none). The caller writes them once the list is saved.
struct UrlSetResult {
    QImage large;
    QImage small;
    qint32 copyThumbnailsFrom = -1;
};

// The display options of a web content that the URL options dialog edits.
struct UrlOptValues {
    qint32 xOffset = 0;
    qint32 yOffset = 0;
    qint32 option = 0; // bit 0: the page is not read ahead
    qint32 reload = 0; // seconds, 0 for none
};

class IWebDialogs {
public:
    virtual ~IWebDialogs() = default;
    // The URL settings dialog on a copy of the record, offering newIndex for
    // a new or copied content; true on OK with record and result filled.
    virtual bool RunUrlSetDlg(QWidget *parent, CWebProperty &record, qint32 newIndex, UrlSetResult &result) = 0;
    // The URL options dialog; true on OK with the values changed.
    virtual bool RunUrlOptDlg(QWidget *parent, UrlOptValues &values) = 0;
};

// The installed dialogs; null when none are.
IWebDialogs *GetWebDialogs();
void SetWebDialogs(IWebDialogs *dialogs);
