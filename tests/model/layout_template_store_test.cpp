#include "model/layout_template_store.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(LayoutTemplateStore, TemplatesRoundTripThroughTheTemplateFolder)
{
    QTemporaryDir dir;
    CLayoutTemplateStore store;
    EXPECT_TRUE(store.LoadFrom(dir.path())); // no file yet: no templates
    CLayoutTemplateStore::Areas areas{};
    areas[0] = LayoutArea{true, WinRect{0, 0, 1280, 1080}};
    areas[5] = LayoutArea{true, WinRect{1280, -20, 1920, 360}};
    store.SetLayout(2, 1, areas);
    store.SetLayout(2, 0, {});
    areas[1].use = true;
    store.SetLayout(2, 1, areas); // replaces
    EXPECT_EQ(store.GetCount(), 2);
    ASSERT_TRUE(store.SaveTo(dir.path()));

    CLayoutTemplateStore read;
    ASSERT_TRUE(read.LoadFrom(dir.path()));
    CLayoutTemplateStore::Areas found{};
    ASSERT_TRUE(read.Lookup(2, 1, found));
    EXPECT_EQ(found, areas);
    EXPECT_FALSE(read.Lookup(1, 1, found));

    // Seven areas in one layout refuse the file; the store keeps what it held.
    QFile file(dir.filePath(QLatin1String(CLayoutTemplateStore::kFileName)));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    QByteArray area = "<Area><Use>1</Use><Left>0</Left><Top>0</Top><Right>1</Right><Bottom>1</Bottom></Area>";
    file.write("<?xml version=\"1.0\"?><LayoutTemplateList ver=\"1.0\"><Layout><No>1</No><Mode>0</Mode>" + area.repeated(7)
               + "</Layout></LayoutTemplateList>");
    file.close();
    EXPECT_FALSE(read.LoadFrom(dir.path()));
    EXPECT_TRUE(read.Lookup(2, 1, found));
}

TEST(LayoutTemplateStore, TheProgramsOwnLayoutGivesEveryTrackAnArea)
{
    const CLayoutTemplateStore::Areas areas = CLayoutTemplateStore::DefaultAreas(1920, 1080);
    // The screen, the bands at the bottom and the top, and three windows.
    const WinRect expected[] = {{0, 0, 1920, 1080},   {0, 960, 1920, 1080}, {0, 0, 1920, 120},
                                {1280, 120, 1920, 480}, {0, 120, 640, 480},   {1280, 600, 1920, 960}};
    for (size_t i = 0; i < areas.size(); ++i) {
        EXPECT_TRUE(areas[i].use) << i;
        EXPECT_EQ(areas[i].rect, expected[i]) << i;
    }
}
