#pragma once
// What the player and group pages share: the resolution and orientation
// choices, the texts they show, the refusal message of a change, and the
// common "check a change, say why it was refused" step.

#include "model/player_group_edit.h"

#include <QString>

class QComboBox;
class QHBoxLayout;
class QPushButton;
class QTableWidget;
class QWidget;

// Resolutions of the resolution table ("1920 x 1080"), the id as item data.
void FillResolutionCombo(QComboBox *combo);
// Landscape (0) and portrait (1), the orientation as item data.
void FillOrientationCombo(QComboBox *combo);
// Selects the entry whose item data is value (the first when none is).
void SelectComboData(QComboBox *combo, int value);
int CurrentComboData(const QComboBox *combo);

// The resolution and orientation choices side by side, filled.
QHBoxLayout *MakeScreenRow(QComboBox *resolution, QComboBox *orientation);

// "width x height" of a resolution, turned when the orientation is portrait.
QString ResolutionText(qint32 resolutionId, qint32 orientation = ORIENTATION_LANDSCAPE);
QString OrientationText(qint32 orientation);

// Shows why a change was refused (nothing for Ok) and returns whether it was
// taken. ofGroup picks the group texts of the name refusals.
bool AcceptEdit(QWidget *owner, PlayerEditResult result, bool ofGroup);

// The frame refuses (5295) while a transfer or command runs: players and
// groups are not changed under a worker.
bool RefuseWhileBusy(QWidget *owner);

// The Add, Change and Remove buttons of a page, right-aligned in a row.
struct EditButtons {
    QHBoxLayout *row;
    QPushButton *add;
    QPushButton *change;
    QPushButton *remove;
};
EditButtons MakeEditButtons(QWidget *parent, int addId, int changeId, int removeId);

// A read-only list of records, one selected row at a time, with the header
// texts of the string ids.
QTableWidget *MakeRecordTable(QWidget *parent, int id, const QList<quint32> &headerIds);
void SetTableRow(QTableWidget *table, int row, const QStringList &texts);
// The selected row, or -1.
int SelectedTableRow(const QTableWidget *table);
// Selects the row, or none for a negative row.
void SelectTableRow(QTableWidget *table, int row);
