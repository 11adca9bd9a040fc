#pragma once
// The files of a local web package as export and import carry them: every
// file below the package folder whose path the player can store (ASCII
// letters, digits, "-", "." and "_" in every part); links are not followed.

#include <QString>
#include <QStringList>

// The files below folder (except skip), relative to it with "/" separators.
QStringList ExpImpListLocalUrlFiles(const QString &folder, const QString &skip);
// The files below folder that the list leaves out for their names, relative to it.
QStringList ExpImpSearchLeftOutFiles(const QString &folder);
