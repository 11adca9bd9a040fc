#pragma once
// The description file "info.ini" of a web package: section "Content" with
// Version, Duration, Width and Height. A package comes from outside, so its
// values are checked like any other input: a size outside 0..kMaxPageSide or
// a duration that does not parse is logged and read as its default.

#include "core/win_types.h"

#include <QString>

class CProfileIni;

class CContentInfoIni {
public:
    // The largest page side a package may declare (pixels).
    static constexpr int kMaxPageSide = 16384;

    // Reads "info.ini" in folder; a missing file leaves the defaults.
    void Load(const QString &folder);

    const QString &GetVersion() const { return m_version; }
    // Empty (all zero) when the package gives none.
    const PlayLength &GetDuration() const { return m_duration; }
    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }

private:
    int readSide(const CProfileIni &ini, const char *key) const;

    QString m_version;
    PlayLength m_duration{};
    int m_width = 0;
    int m_height = 0;
};
