#pragma once
// The files that make up a stored playlist (52), background-music list (53)
// or schedule (51) under a number: its list file ("PL%09d.xml" or
// "SC%09d.xml" in the list folder) and one sequence file ("SQ%09d.xml" in
// the sequence folder) for each layer of the type, numbered with an id
// prefix, the layer and the serial of the number. A touch-panel playlist has
// no layers. The editors' models write these files, the remover removes
// them and a preview takes them away again, all from this one list.

#include <QString>
#include <QStringList>

#include <vector>

struct StoredListFiles {
    struct Layer {
        int kind = 0;
        qint32 number = -1;
        QString path;
    };
    QString listPath;
    std::vector<Layer> layers;

    // The layer of a kind, or nullptr when the type has none.
    const Layer *LayerOfKind(int kind) const;
    // The list file, then the layers' files.
    QStringList Paths() const;
};

// The files of a number under an id prefix (0 to 9). False with last error 87
// for a type other than the three, or a number or prefix that does not make
// content numbers.
bool StoredListFilesOf(int type, int idPrefix, qint32 number, const QString &listFolder,
                       const QString &sequenceFolder, StoredListFiles &files);
