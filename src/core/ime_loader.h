#pragma once
// Stand-in for the optional input-method helper library. Linux has no such
// library: Qt places the composition window itself, so the loader reports
// "not loaded" and its calls do nothing.

class CImeLoader {
public:
    bool IsLoaded() const { return false; }
    // Would place the input-method composition window of window at (x, y).
    void SetCompositionWindow(void *window, int x, int y) const
    {
        (void)window;
        (void)x;
        (void)y;
    }
};
