#pragma once
// STAND-IN for the store of screen layout templates, until the layout
// settings are built: the least the layout operations need of it. It looks a
// layout up by number and display mode (six areas, each with a use flag and
// a rectangle) among the layouts it was given; it reads no template files.

#include "core/win_types.h"

#include <array>
#include <map>
#include <utility>

struct LayoutArea {
    bool use = false;
    WinRect rect;

    friend bool operator==(const LayoutArea &, const LayoutArea &) = default;
};

class CLayoutTemplateStore {
public:
    static constexpr int kAreaCount = 6;
    using Areas = std::array<LayoutArea, kAreaCount>;

    void SetLayout(int number, int displayMode, const Areas &areas);
    // False when there is no layout of that number and display mode.
    bool Lookup(int number, int displayMode, Areas &areas) const;

private:
    std::map<std::pair<int, int>, Areas> m_layouts;
};
