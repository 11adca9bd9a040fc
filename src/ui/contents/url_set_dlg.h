#pragma once
// The URL settings dialog (dialog 2032, "URL設定"): category, title and
// address of a web content and the thumbnail the operator frames in the
// range dialog. It edits a copy of the record and offers a new number for a
// new content or for a copy of an existing one; the caller stores the record
// and, after its list is saved, the thumbnails it hands back.

#include "widgets/web_dialogs.h"
#include "model/web_property.h"

#include <QDialog>
#include <QImage>

class QLabel;
class QLineEdit;

class CUrlSetDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 2032;
    static constexpr int IDC_CATEGORY = 1135;
    static constexpr int IDC_TITLE = 1154;
    static constexpr int IDC_ADDRESS = 1155;
    static constexpr int IDC_PICTURE = 6530;
    static constexpr int IDC_THUMBNAIL = 6531;
    static constexpr int kPictureSide = 96;
    static constexpr int kBitmapBackground = 180;
    static constexpr int kBitmapNoPage = 182;

    explicit CUrlSetDlg(QWidget *parent = nullptr);

    // Copies the caller's record in and fills the fields from it.
    void SetProperty(const CWebProperty &record);
    void SetNewIndex(qint32 number) { m_newIndex = number; }
    void GetProperty(CWebProperty &record) const;
    // The thumbnails made while the dialog was open and the number whose
    // thumbnails a copy takes over.
    UrlSetResult GetResult() const;

    // Button 6531: the range dialog on the address.
    void OnThumbnail();
    // The 96 x 96 picture shown in control 6530.
    QImage PreviewImage() const;

    void accept() override;
    void reject() override;

protected:
    // Runs the range dialog; a test replaces it.
    virtual void runRangeDialog(const QString &address);

private:
    bool checkFields();
    bool isLocalUrlOn() const;
    void updatePreview();

    CWebProperty m_record;
    qint32 m_newIndex = 0;
    qint32 m_copyFrom = -1;
    bool m_modified = false;
    QImage m_small;
    QImage m_large;
    QLineEdit *m_category;
    QLineEdit *m_title;
    QLineEdit *m_address;
    QLabel *m_picture;
};
