#pragma once
// The players a player operation addresses: the preview player, the selected
// player or the players of a group that may communicate. Each refusal is a
// message to the operator.

#include <QList>
#include <QString>
#include <QtGlobal>

class QObject;

// The preview player ([Contents] LastPreviewSet of the per-user settings).
// False (5263 when none is set or it is not in the player list, 5276 when it
// is set not to communicate).
bool SetPreviewTarget(QObject *owner, QList<qint32> &targets);

// Without wholeGroup the selected player (5276 when it is set not to
// communicate; false without a message when there is no such player); with
// it every player of the group that may communicate (5294 without players,
// 5275 when none may communicate).
bool SetTargetPlayers(QObject *owner, bool wholeGroup, const QString &group, qint32 selectedPlayer,
                      QList<qint32> &targets);
