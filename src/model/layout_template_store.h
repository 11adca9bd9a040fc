#pragma once
// The screen layout templates: each a layout number and display mode with
// six areas, every area a use flag and a rectangle on the screen. They are
// kept in "LayoutTemplate.xml" of the data tree's Template folder
// (docs/file-formats.md).
//
// Beside them, the layout in use: the one the layout views and the layout
// operations of the frame chose last.

#include "core/win_types.h"
#include "model/record_list_xml.h"

#include <array>

struct LayoutArea {
    bool use = false;
    WinRect rect;

    friend bool operator==(const LayoutArea &, const LayoutArea &) = default;
};

struct LayoutTemplate {
    static constexpr int kAreaCount = 6;
    using Areas = std::array<LayoutArea, kAreaCount>;
    // The flags of the playlist tracks that play in the areas, in area order.
    static constexpr std::array<int, kAreaCount> kTrackFlags = {1, 2, 4, 8, 16, 64};

    qint32 Number = 0;
    qint32 DisplayMode = 0;
    Areas AreaList{};
    int areasRead = 0; // while reading: the areas begun so far

    friend bool operator==(const LayoutTemplate &a, const LayoutTemplate &b)
    {
        return a.Number == b.Number && a.DisplayMode == b.DisplayMode && a.AreaList == b.AreaList;
    }
};

// The layout in use: display kind 2 for a layout of the templates, its
// number and display mode, the flag of display mode 1, and its areas.
struct CurrentLayout {
    int displayKind = 0;
    qint32 number = -1;
    qint32 displayMode = 0;
    bool modeOne = false;
    LayoutTemplate::Areas areas{};

    friend bool operator==(const CurrentLayout &, const CurrentLayout &) = default;
};

class CLayoutTemplateStore : public CRecordListXml<LayoutTemplate> {
public:
    static constexpr int kAreaCount = LayoutTemplate::kAreaCount;
    using Areas = LayoutTemplate::Areas;
    // The file's name in the Template folder.
    static constexpr const char *kFileName = "LayoutTemplate.xml";

    CLayoutTemplateStore();

    // Adds the layout, or replaces the one of the same number and mode.
    void SetLayout(int number, int displayMode, const Areas &areas);
    // False when there is no layout of that number and display mode.
    bool Lookup(int number, int displayMode, Areas &areas) const;
    bool Has(int number, int displayMode) const { return find(number, displayMode) >= 0; }

    // The program's own layout of a screen of width by height pixels: every
    // area in use, the first (the main track) the whole screen
    // (docs/file-formats.md).
    static Areas DefaultAreas(qint32 width, qint32 height);

    // Reads or writes the file in a Template folder. A missing file loads as
    // no templates.
    bool LoadFrom(const QString &templateFolder);
    bool SaveTo(const QString &templateFolder);

protected:
    bool readField(LayoutTemplate &layout, QStringView name, const QString &text) override;
    void writeFields(const LayoutTemplate &layout) override;

private:
    int find(int number, int displayMode) const;
};

// One area of the layout-check preview: where it lies on the screen and the
// picture drawn in it.
struct LayoutPreviewEntry {
    bool on = false;
    WinRect rect;         // on the screen: left, top, left + width, top + height
    QString picture;      // the image file drawn in the area
    qint32 pictureWidth = 0;
    qint32 pictureHeight = 0;
    ColorRef color = 0;   // a telop's colour
    qint32 xOffset = 0;   // a web page's display shift
    qint32 yOffset = 0;
    bool offsetDrawn = false;

    friend bool operator==(const LayoutPreviewEntry &, const LayoutPreviewEntry &) = default;
};

// What the layout-check pane draws: the screen of the playlist's resolution
// and the six areas of one row.
struct LayoutPreview {
    qint32 screenWidth = 0;
    qint32 screenHeight = 0;
    bool portrait = false;
    bool option = false;
    bool layoutMissing = false; // no template of the playlist's resolution and orientation
    std::array<LayoutPreviewEntry, LayoutTemplate::kAreaCount> entries{};
};
