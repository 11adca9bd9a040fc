// The main of the window tests: the program's application object (a
// QApplication) on the offscreen platform with two screens side by side
// (1920 x 1080 at the origin, 1280 x 1024 to its right), so window placement
// can be checked against more than one monitor.
#include "app/telv_q9_app.h"
#include "support/private_home.h"
#include "support/scripted_prompter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// The offscreen platform's screen layout.
constexpr const char *kScreens = R"({
  "synchronousWindowSystemEvents": true,
  "windowFrameMargins": false,
  "screens": [
    {"name": "primary", "x": 0, "y": 0, "width": 1920, "height": 1080,
     "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1},
    {"name": "second", "x": 1920, "y": 0, "width": 1280, "height": 1024,
     "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}
  ]
})";

} // namespace

int main(int argc, char **argv)
{
    const PrivateHome home;
    if (!home.isValid())
        return 2;
    QTemporaryDir configDir;
    const QString configPath = configDir.filePath(QStringLiteral("screens.json"));
    QFile config(configPath);
    if (!config.open(QIODevice::WriteOnly) || config.write(kScreens) < 0)
        return 2;
    config.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QDir::toNativeSeparators(configPath).toLocal8Bit());

    CTelvQ9App app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    FailOnPromptsInsideStagedSets();
    return RUN_ALL_TESTS();
}
