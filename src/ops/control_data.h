#pragma once
// The data of a control content as its editor takes it: the check of the
// typed fields and the record values made from them. COM and display
// controls carry bytes as hexadecimal text, typed as "0A1B" or "0A 1B";
// volume controls a level.

#include <QString>
#include <QtGlobal>

// Results of CheckControlData.
enum ControlCheck : int {
    CONTROL_DATA_OK = 0,
    CONTROL_VOLUME_OUT_OF_RANGE = 3,
    CONTROL_SEND_DATA_WRONG = 4,
    CONTROL_RESPONSE_DATA_WRONG = 5,
    CONTROL_VOLUME_EMPTY = 6,
    CONTROL_SEND_DATA_EMPTY = 7,
};

// The kinds of a volume control, in the order the editor offers them.
enum VolumeKind : int { VOLUME_MUTE = 0, VOLUME_SYSTEM = 1, VOLUME_USER = 2 };

constexpr int kMinVolume = 1;
constexpr int kMaxVolume = 100;

// The editor's fields: the control type (1 COM, 2 volume, 5 display), the
// volume kind and typed level, and the typed send and response texts.
struct ControlFields {
    qint32 ctrlType = 2;
    int volumeKind = VOLUME_MUTE;
    QString volume;
    QString send;
    QString response;
};

// What the record takes from the fields: its two parameters and the
// category and title it gets when the operator left them empty.
struct ControlValues {
    QString param1;
    QString param2;
    QString defaultInfo;
    QString defaultTitle;
};

// The digits of typed hexadecimal byte text without blanks: runs of blanks
// count as one and trailing blanks are dropped; without blanks the length
// must be even, with blanks every group two digits; at most 128 digits.
// False for any other text (digits untouched).
bool NormalizeHexText(const QString &text, QString &digits);
// "0A1B2C" as "0A 1B 2C".
QString SpacedHexPairs(const QString &digits);
int CheckControlData(const ControlFields &fields);
// The record values of fields that passed the check.
ControlValues MakeControlValues(const ControlFields &fields);
