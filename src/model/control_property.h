#pragma once
// The record of a control content: a command a player sends to an attached
// device when a playlist or schedule reaches it. COM (1) and display (5)
// controls carry the bytes to send and the expected answer as hexadecimal
// text; a volume control (2) carries the level; type 3 a pattern and width.

#include "model/property_base.h"

class CControlProperty : public CPropertyBase {
public:
    enum CtrlType : qint32 {
        CTRL_COM = 1,
        CTRL_VOLUME = 2,
        CTRL_GPIO = 3,
        CTRL_PINP = 4,
        CTRL_DISPLAY = 5,
    };
    static constexpr int kMaxHexDigits = 128;
    static constexpr int kMaxParam = 128;

    CControlProperty();
    bool Copy(const CPropertyBase *source) override;

    qint32 GetCtrlType() const { return m_ctrlType; }
    virtual bool SetCtrlType(qint32 type);
    // "ctrlparam1" and "ctrlparam2".
    void GetCtrlParams(QString &param1, QString &param2) const;
    const QString &GetCtrlParam1() const { return m_param1; }
    const QString &GetCtrlParam2() const { return m_param2; }
    // Checked against the current control type: hexadecimal byte text for COM,
    // display and picture-in-picture data, "-1" to "100" for a volume level.
    bool SetCtrlParams(const QString &param1, const QString &param2);
    qint32 GetPort() const { return m_port; }
    bool SetPort(qint32 port);

    int CompareBy(int column, const CPropertyBase &other) const override;
    void WriteFields(CPropertyWriter &writer) const override;
    FieldResult ReadField(QStringView name, const QString &text) override;

protected:
    CControlProperty(int contentType, qint32 ctrlType);
    bool carriesHexData() const;

private:
    bool isAcceptedParam(const QString &param, bool first) const;

    qint32 m_ctrlType;
    QString m_param1;
    QString m_param2;
    qint32 m_port = 1;
};
