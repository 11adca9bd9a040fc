#pragma once
// "IP カメラ設定" (dialog 2008): creates or edits a streaming content, a
// network camera reached over HTTP, with category, title, address, port and
// optional credentials. It edits a copy of the record and offers a new
// number for a new content or for a copy of a stored one; the frame stores
// the record after OK.

#include "model/streaming_property.h"

#include <QDialog>

class CIpAddressCtrl;
class QLineEdit;

class CIpCameraSetDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 2008;
    static constexpr int IDC_CATEGORY = 1135;
    static constexpr int IDC_TITLE = 1154;
    static constexpr int IDC_ADDRESS = 1171;
    static constexpr int IDC_PORT = 1141;
    static constexpr int IDC_USER = 1156;
    static constexpr int IDC_PASSWORD = 1138;

    explicit CIpCameraSetDlg(QWidget *parent = nullptr);

    // Copies the record in and fills the fields from it.
    void SetStreamingProperty(const CStreamingProperty &record);
    void SetNewIndex(qint32 number) { m_newIndex = number; }
    void GetStreamingProperty(CStreamingProperty &record) const;
    bool IsModified() const { return m_modified; }

    // The fields into the record; false (with its message, the field at fault
    // focused) when one is refused.
    bool Validate();
    void accept() override;
    void reject() override;

private:
    QLineEdit *addEdit(int id, int maxLength);
    bool refuse(quint32 messageId, QWidget *field);
    bool checkCredential(QLineEdit *field, QString &value);

    QLineEdit *m_category;
    QLineEdit *m_title;
    CIpAddressCtrl *m_address;
    QLineEdit *m_port;
    QLineEdit *m_user;
    QLineEdit *m_password;
    CStreamingProperty m_record;
    qint32 m_newIndex = 0;
    bool m_modified = false;
};
