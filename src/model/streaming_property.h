#pragma once
// The record of a streaming content: a network camera reached over HTTP at
// an address and port, with optional credentials.

#include "model/property_base.h"

class CStreamingProperty : public CPropertyBase {
public:
    static constexpr int kMaxAddress = 255;
    static constexpr int kMaxCredential = 64;

    CStreamingProperty();
    bool Copy(const CPropertyBase *source) override;

    const QString &GetAddress() const { return m_address; }
    bool SetAddress(const QString &address);
    qint32 GetMode() const { return m_mode; }
    bool SetMode(qint32 mode);
    const QString &GetUser() const { return m_user; }
    bool SetUser(const QString &user);
    const QString &GetPassword() const { return m_password; }
    bool SetPassword(const QString &password);
    qint32 GetPort() const { return m_port; }
    bool SetPort(qint32 port);

    int CompareBy(int column, const CPropertyBase &other) const override;
    void WriteFields(CPropertyWriter &writer) const override;
    FieldResult ReadField(QStringView name, const QString &text) override;

private:
    QString m_address;
    qint32 m_mode = 0;
    QString m_user;
    QString m_password;
    qint32 m_port = 0;
};
