// The bundled works of the figure and physics kinds, found through the home folder's catalog
// and run by vimora-run from their joined paths: each ends by itself, holds characters of its
// kind and leaves a picture with something drawn on it.
#include "TestSupport.h"
#include "gallery/Catalog.h"
#include "gallery/acmdFileInfo.h"
#include "gallery/acmdGroupInfo.h"

#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <gtest/gtest.h>
#include <map>

TEST(FigureWorks, EachKindsSampleWorkRunsThroughVimoraRun) {
    if (qEnvironmentVariableIsEmpty("VIMORA_HOME")) GTEST_SKIP() << "VIMORA_HOME names no home folder";
    Catalog catalog(qEnvironmentVariable("VIMORA_HOME"));
    catalog.readSources();
    const std::map<QString, QString> kindOfWork = {{u"wa.acmd"_qs, u"metaRing"_qs},     {u"hako.acmd"_qs, u"MetaCube"_qs},
                                                   {u"denka.acmd"_qs, u"Coulomb"_qs},    {u"bunshi.acmd"_qs, u"Molecule"_qs},
                                                   {u"metaball.acmd"_qs, u"MetaBall"_qs}};
    std::map<QString, int> seen;
    for (int row = 0; row < catalog.rowCount(); ++row) {
        const CatalogEntry e = catalog.rowToEntry(row);
        if (!e.work || !kindOfWork.count(e.work->fileName)) continue;
        const QString kind = kindOfWork.at(e.work->fileName);
        SCOPED_TRACE(e.work->fileName.toStdString());
        ++seen[kind];
        TempFolder out;
        QProcess run;
        run.start(QStringLiteral(VIMORA_RUN_PATH), {Catalog::workPath(*e.source, *e.group, *e.work), "--ms", "4000",
                                                    "--state", out.file("s.json"), "--png", out.file("p.png")});
        ASSERT_TRUE(run.waitForFinished(300000));
        EXPECT_EQ(run.exitCode(), 0) << run.readAllStandardOutput().toStdString();
        QFile file(out.file("s.json"));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QJsonObject s = QJsonDocument::fromJson(file.readAll()).object();
        EXPECT_TRUE(s["messages"].toArray().isEmpty());
        int ofKind = 0;
        for (const auto& c : s["characters"].toArray()) ofKind += c.toObject()["kind"].toString() == kind;
        EXPECT_GE(ofKind, 1);
        // Something besides the background: the characters were drawn.
        const QImage picture(out.file("p.png"));
        ASSERT_FALSE(picture.isNull());
        const QRgb background = picture.pixel(0, 0);
        int drawn = 0;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x) drawn += picture.pixel(x, y) != background;
        EXPECT_GT(drawn, 40);
    }
    EXPECT_EQ(seen.size(), kindOfWork.size());
}
