// The progress window: placement inside its host, the 中断 panel, and a scan reporting into it.
#include "TestSupport.h"

#include "universe/TFormLoad.h"
#include "universe/UniverseModel.h"

#include "common/Platform.h"
#include "common/ShowCheck.h"

#include <gtest/gtest.h>

namespace {

TEST(FormLoadTest, PlacedInsideItsHostWithTheBreakPanelOnlyForScans) {
    QWidget host;
    host.resize(800, 400);
    host.show();
    TFormLoad form(&host);
    form.showProgress(true);
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.width(), 680);
    EXPECT_EQ(form.x(), 60);
    EXPECT_TRUE(form.breakPanelShown());
    form.showStopping(QStringLiteral("    中断の処理をしています!!!"));
    EXPECT_FALSE(form.breakPanelShown());
    EXPECT_EQ(form.pathText(), "    中断の処理をしています!!!");
    form.hideProgress();
    form.showProgress(false);
    EXPECT_EQ(form.width(), 480);
    EXPECT_FALSE(form.breakPanelShown());
    form.hideProgress();
    EXPECT_FALSE(form.isVisible());
}

TEST(FormLoadTest, ADeepScanReportsIntoTheWindowAndHidesItAtTheEnd) {
    RecordingCheckSink sink;
    ScopedCheckSink installed(&sink);
    TempFolder dir;
    ASSERT_TRUE(makeFolders(dir.file("a/b/c")));
    QWidget host;
    host.resize(600, 300);
    host.show();
    TFormLoad form(&host);
    UniverseModel model(dir.path(), QStringLiteral("/"));
    model.setProgress(&form);
    model.setBreakPoll(form.breakPoll());
    model.tree().searchDepth = 999;
    EXPECT_EQ(model.openPath(), 1);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.counterText(), "  現在の探査星： 最深層 = 3 : 発掘数 = 2");
    EXPECT_EQ(model.tree().deepestLevel, 4); // the empty c was listed at level 4
}

} // namespace
