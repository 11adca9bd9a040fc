#pragma once
// An IPv4 address entry: four fields of 0 to 255 separated by dots. Typing a
// dot or the third digit moves to the next field. A field left empty reads
// as 0; FieldChanged tells of every change of a field.

#include <QWidget>

#include <array>

class QLineEdit;

class CIpAddressCtrl : public QWidget {
    Q_OBJECT
public:
    explicit CIpAddressCtrl(QWidget *parent = nullptr);

    // Fills the fields from dotted decimal text; false (fields emptied) when
    // the text is not four numbers of 0 to 255.
    bool SetAddress(const QString &address);
    // The four fields (empty ones as 0).
    std::array<int, 4> GetFields() const;
    // The fields as dotted decimal text.
    QString GetAddress() const;
    QLineEdit *GetFieldEdit(int field) const { return m_fields[size_t(field)]; }
    void SetFieldFocus(int field);

signals:
    void FieldChanged(int field);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    std::array<QLineEdit *, 4> m_fields{};
};
