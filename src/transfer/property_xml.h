#pragma once
// The property registration file ("property.xml", or "property<n>.xml" with
// the send number): the rows of the player's content tables to insert or
// update, one row per content with every attribute the player needs.
//
// The file has the layout of the program's other XML documents (UTF-8 with
// the version "1.0" declaration, one element per line, one tab per level, LF
// line ends); it is written by a writer of its own because the telop rows need
// elements that carry attributes and a text at once.

#include "core/win_types.h"
#include "transfer/last_error_keeper.h"

#include <QString>

#include <memory>
#include <vector>

// The names of the property registration files, as a name pattern: they hold
// the passwords of web and camera contents.
inline constexpr char kPropertyFilePattern[] = "property*.xml";

class CAudioProperty;
class CControlProperty;
class CFlashProperty;
class CImgProperty;
class CMovieProperty;
class CPinPProperty;
class CPropertyBase;
class CStreamingProperty;
class CTelopProperty;
class CWebProperty;
class QXmlStreamWriter;

// The player's table of a record: "MOVIE_TBL", "STILL_TBL", "TEXT_TBL",
// "WEB_TBL" (web and Flash), "AUDIO_TBL", "AUDCONT_TBL" / "EXTGPIO_TBL" /
// "EXTSIO_TBL" (controls of types 2 / 3 / 1 and 5), "STREAM_TBL" and
// "EXTSIO_TBL" (picture-in-picture). An empty text for any other record.
QString GetPropertyTableName(const CPropertyBase &record);

class CPropertyXml : public CLastErrorKeeper {
public:
    CPropertyXml();
    ~CPropertyXml();

    CPropertyXml(const CPropertyXml &) = delete;
    CPropertyXml &operator=(const CPropertyXml &) = delete;

    // Each appends a copy of the record with its link and update flag (false:
    // the row is deleted and inserted; true: it is updated in place). False
    // with 87 for a null record and with the record's own error when the copy
    // fails; nothing is appended then.
    bool AddMovie(const CMovieProperty *record, const QString &link, bool update);
    bool AddImage(const CImgProperty *record, const QString &link, bool update);
    bool AddTelop(const CTelopProperty *record, const QString &link, bool update);
    bool AddFlash(const CFlashProperty *record, const QString &link, bool update);
    bool AddAudio(const CAudioProperty *record, const QString &link, bool update);
    // An empty link stores the record's address.
    bool AddWeb(const CWebProperty *record, const QString &link, bool update);
    bool AddControl(const CControlProperty *record, bool update);
    bool AddPinP(const CPinPProperty *record, bool update);
    bool AddStreaming(const CStreamingProperty *record, bool update);

    int GetCount() const { return int(m_rows.size()); }

    // Writes the file at path with the file time on its root and signal in
    // every movie row. False with 87 for an empty path, with 13 when a row
    // has no table, else with the file system's error; a failure leaves no
    // partial file and an older file as it was. The file is readable by its
    // user only: web and camera rows carry passwords.
    bool Save(const QString &path, const SystemTime &fileTime, qint32 signal);

private:
    struct Row {
        std::unique_ptr<CPropertyBase> record;
        QString link;
        bool update = false;
    };

    template <class Record>
    bool addRow(const Record *record, const QString &link, bool update);

    bool WriteContents(QXmlStreamWriter &writer) const;
    void writeRow(QXmlStreamWriter &writer, const Row &row) const;
    void writeTypeElements(QXmlStreamWriter &writer, const CPropertyBase &record) const;

    std::vector<Row> m_rows;
    SystemTime m_fileTime;
    qint32 m_signal = 0;
};
