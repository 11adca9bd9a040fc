#pragma once
// Gives the test process a home folder of its own, with its settings, data
// and cache folders under it, for as long as the object lives: what a test
// stores there (the program's settings, a file dialog's history, the default
// data folder, a browser profile) is shared neither with the user's home nor
// with another test process running beside it. Made before the application
// object, so every path Qt derives from these is the private one.

#include <QFile>
#include <QTemporaryDir>

class PrivateHome {
public:
    PrivateHome()
    {
        if (!m_home.isValid())
            return;
        const QByteArray home = QFile::encodeName(m_home.path());
        qputenv("HOME", home);
        qputenv("XDG_CONFIG_HOME", home + "/.config");
        qputenv("XDG_DATA_HOME", home + "/.local/share");
        qputenv("XDG_CACHE_HOME", home + "/.cache");
    }
    PrivateHome(const PrivateHome &) = delete;
    PrivateHome &operator=(const PrivateHome &) = delete;

    bool isValid() const { return m_home.isValid(); }

private:
    QTemporaryDir m_home;
};
