#pragma once
// One row of a player table as a CLST or STBL reply carries it: the row's
// fields in the order the player sent them, each with its attributes and text.

#include <QList>
#include <QPair>
#include <QString>

class CPropertyBase;
class QXmlStreamReader;

struct R40Field {
    QString name;
    QList<QPair<QString, QString>> attributes;
    QString text;
};

struct R40Row {
    QList<R40Field> fields;

    // The text of the first field of that name without attributes; empty when absent.
    QString Value(const QString &name) const;
    // Gives every field without attributes to the record (its stored-field
    // reader). False with last error 13 when the record refuses a value;
    // fields the record does not have are passed over.
    bool FillRecord(CPropertyBase &record) const;
};

// Reads the child elements of the element the reader stands on as a row.
R40Row ReadR40Row(QXmlStreamReader &reader);
