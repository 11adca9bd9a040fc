#pragma once
// Opening a file or address with the desktop's default program. The opener is
// one replaceable seam, so tests record what would be opened instead of
// starting programs.

#include <QString>

class IShellOpener {
public:
    virtual ~IShellOpener() = default;
    // Starts the default program for the file or address; false when none
    // could be started.
    virtual bool open(const QString &target) = 0;
};

// Runs "xdg-open" as a program of its own, detached from this process.
class XdgShellOpener final : public IShellOpener {
public:
    bool open(const QString &target) override;
};

// The installed opener (the xdg-open one unless a test installed another).
IShellOpener &ShellOpener();
// Installs an opener; nullptr restores the default. The caller keeps ownership.
void SetShellOpener(IShellOpener *opener);

// Opens the path (or web address) with its default program. False only when
// the file exists and no program could be started for it.
bool ShellOpenFile(const QString &path);
