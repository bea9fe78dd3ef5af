#include "CatalogFixture.h"
#include "gallery/Catalog.h"
#include "work/HeadlessRun.h"

#include <QJsonArray>
#include <gtest/gtest.h>

TEST(BundledHome, EveryWorkRunsToItsEndByItself) {
    if (qEnvironmentVariableIsEmpty("VIMORA_HOME")) GTEST_SKIP() << "VIMORA_HOME names no home folder";
    Catalog catalog(qEnvironmentVariable("VIMORA_HOME"));
    catalog.readSources();
    int works = 0;
    for (int row = 0; row < catalog.rowCount(); ++row) {
        const CatalogEntry e = catalog.rowToEntry(row);
        if (!e.work) continue;
        ++works;
        const std::string name = e.work->fileName.toStdString();
        RunOptions options;
        options.program = Catalog::workPath(*e.source, *e.group, *e.work);
        options.seed = 7;
        HeadlessRun run(options);
        ASSERT_TRUE(run.load()) << name;
        run.run();
        EXPECT_EQ(run.exitStatus(), 0) << name;
        const QJsonObject state = run.state();
        EXPECT_EQ(state[u"program"_qs].toObject()[u"running"_qs].toInt(), 0) << name;
        EXPECT_TRUE(state[u"messages"_qs].toArray().isEmpty()) << name;
        EXPECT_TRUE(state[u"dialogs"_qs].toArray().isEmpty()) << name;
        // long enough to be seen, short enough for a tour
        EXPECT_GT(run.elapsedMilliseconds(), 5000) << name;
        EXPECT_LT(run.elapsedMilliseconds(), 60000) << name;
    }
    EXPECT_GE(works, 8);
}
