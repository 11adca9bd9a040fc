#pragma once
// Membership in a short literal list of command ids or content types.

#include <algorithm>
#include <initializer_list>

inline bool isIn(int id, std::initializer_list<int> ids)
{
    return std::find(ids.begin(), ids.end(), id) != ids.end();
}
