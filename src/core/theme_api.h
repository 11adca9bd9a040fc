#pragma once
// Stand-in for the optional visual-theme library. Linux has no such library:
// Qt styles draw themed widgets themselves, so the wrapper reports "not
// loaded" and its calls do nothing, as they do when the library is missing.

class CThemeApi {
public:
    bool IsLoaded() const { return false; }
    // Would let a dialog draw its tab-page background with the theme.
    void EnableThemeDialogTexture(void *window, unsigned flags) const
    {
        (void)window;
        (void)flags;
    }
    // Would set the theme names of a window.
    void SetWindowTheme(void *window, const wchar_t *appName, const wchar_t *idList) const
    {
        (void)window;
        (void)appName;
        (void)idList;
    }
};
