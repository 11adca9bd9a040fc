#pragma once
// The base folder under which the data tree lives. It is kept as one per-user
// setting ("BaseFolder" of the organisation "Kavrin", application "TELV-Q9").

#include <QString>

// The stored base folder, else the user's documents folder, else the home
// folder, else the current folder. The folder is created; never fails.
void GetBaseFolder(QString &folder);
// Writes the base folder to the per-user setting.
void SaveBaseFolder(const QString &folder);
