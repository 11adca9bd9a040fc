#pragma once
// The record of a web content: its address (a web address, a page file or
// the start page of an unpacked package), display shift, access credentials,
// pre-reading option and reload period.

#include "model/media_property.h"

class CWebProperty : public CMediaProperty {
public:
    // Bit 0 of the options: the page is not read ahead.
    static constexpr qint32 kOptionNoPreRead = 1;
    static constexpr qint32 kMaxShift = 1920;
    static constexpr qint32 kMaxReload = 86400;
    static constexpr int kMaxCredential = 64;

    CWebProperty();
    bool Copy(const CPropertyBase *source) override;

    // The address is kept as the record's link.
    const QString &GetUrl() const { return GetLink(); }
    bool SetUrl(const QString &url) { return SetLink(url); }
    qint32 GetXOffset() const { return m_xOffset; }
    qint32 GetYOffset() const { return m_yOffset; }
    bool SetOffset(qint32 x, qint32 y);
    const QString &GetUser() const { return m_user; }
    const QString &GetPassword() const { return m_password; }
    bool SetUser(const QString &user);
    bool SetPassword(const QString &password);
    // "xoption": option bits.
    qint32 GetOption() const { return m_option; }
    bool SetOption(qint32 option);
    // "xreload": reload period in seconds, 0 for none.
    qint32 GetReload() const { return m_reload; }
    bool SetReload(qint32 seconds);

    void WriteFields(CPropertyWriter &writer) const override;
    FieldResult ReadField(QStringView name, const QString &text) override;

private:
    qint32 m_xOffset = 0;
    qint32 m_yOffset = 0;
    QString m_user;
    QString m_password;
    qint32 m_option = 0;
    qint32 m_reload = 0;
};
