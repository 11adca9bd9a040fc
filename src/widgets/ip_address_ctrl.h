#pragma once
// An IPv4 address entry: four fields of 0 to 255 separated by dots. Typing a
// dot or the third digit moves to the next field; a dot typed right after the
// third digit moved on, or into an empty field, is the separator already
// passed and does nothing, so an address typed with its dots lands as typed.
// A dotted address pasted into a field fills the four fields. FieldChanged
// tells of every change of a field.

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
    // The first empty field, or -1 when all four hold a number.
    int FirstEmptyField() const;
    // The fields as dotted decimal text.
    QString GetAddress() const;
    QLineEdit *GetFieldEdit(int field) const { return m_fields[size_t(field)]; }
    void SetFieldFocus(int field);

signals:
    void FieldChanged(int field);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void onFieldEdited(int field, const QString &text);
    void fillFrom(int field, const QString &text);

    std::array<QLineEdit *, 4> m_fields{};
    // Set when the third digit moved the focus on, until the next key.
    bool m_movedOn = false;
};
