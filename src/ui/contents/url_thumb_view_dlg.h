#pragma once
// The thumbnail range dialog of a web content (dialog 2062, "サムネイル設定"):
// the page in a browser that cannot be clicked, typed into or navigated
// away from, and the width and height of the page area that becomes the
// content's thumbnail. "サムネイルに指定して閉じる" draws that area into the
// caller's large image and makes the small one; the caller stores them when
// its own dialog is confirmed.

#include <QDialog>
#include <QImage>
#include <QSize>

class CExplorer;
class CWebProperty;
class QLabel;
class QLineEdit;

class CUrlThumbViewDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 2062;
    static constexpr int IDC_WIDTH = 6533;
    static constexpr int IDC_HEIGHT = 6534;
    static constexpr int IDC_USE_WINDOW_SIZE = 6535;
    static constexpr int IDC_BROWSER = 6532;
    static constexpr int IDC_STATUS = 6536;
    static constexpr int ID_SET_THUMBNAIL = 6303;
    static constexpr int kWindowNumber = 85;
    static constexpr int kMinSide = 32;
    static constexpr int kMaxSide = 1920;

    CUrlThumbViewDlg(const CWebProperty &record, const QString &address, QImage *small, QImage *large,
                     QWidget *parent = nullptr);
    ~CUrlThumbViewDlg() override;

    // The page shown: the caller's address when it is a web address or an
    // absolute path, else the record's start page in the web folder.
    const QString &GetPageAddress() const { return m_page; }

    // Fills the edits with the page's scroll size (each side at most 1920).
    void GetPageSize();
    void OnUseWindowSize();
    void OnSetThumbnail();

signals:
    // The page has loaded and its size is in the edits.
    void PageReady();

private:
    class LockedPage;
    void onLoadFinished(bool ok);
    int readSide(QLineEdit *edit) const;
    // Runs the event loop until the page has drawn itself at the view's new size.
    void waitForRedraw(QSize size);

    QString m_page;
    QImage *m_small;
    QImage *m_large;
    CExplorer *m_browser;
    LockedPage *m_lockedPage;
    QLineEdit *m_width;
    QLineEdit *m_height;
    QLabel *m_status;
    int m_captures = 0; // captures asked for, so each waits for a frame of its own
};
