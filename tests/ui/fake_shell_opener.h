#pragma once
// The desktop opener for tests: installed for its lifetime, it records what
// would be opened and answers with result.

#include "core/shell_open.h"

#include <QStringList>

class FakeOpener final : public IShellOpener {
public:
    FakeOpener() { SetShellOpener(this); }
    ~FakeOpener() override { SetShellOpener(nullptr); }
    bool open(const QString &target) override
    {
        opened.append(target);
        return result;
    }
    bool result = false;
    QStringList opened;
};
