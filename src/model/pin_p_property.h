#pragma once
// The record of a picture-in-picture content: the input it shows ("link")
// and the bytes sent to switch it on with the expected answer, as
// hexadecimal text. It is a control of its own control type 4.

#include "model/control_property.h"

class CPinPProperty : public CControlProperty {
public:
    static constexpr int kMaxInput = 64;

    CPinPProperty();
    bool Copy(const CPropertyBase *source) override;
    // The control type of a picture-in-picture record is always 4.
    bool SetCtrlType(qint32 type) override;

    // The input shown in the picture.
    const QString &GetLink() const { return m_link; }
    bool SetLink(const QString &link);
    const QString &GetSendData() const { return GetCtrlParam1(); }
    const QString &GetReceiveData() const { return GetCtrlParam2(); }
    bool SetData(const QString &send, const QString &receive) { return SetCtrlParams(send, receive); }

    int CompareBy(int column, const CPropertyBase &other) const override;
    void WriteFields(CPropertyWriter &writer) const override;
    FieldResult ReadField(QStringView name, const QString &text) override;

private:
    QString m_link;
};
