// The help viewer reached from a work's tree window: shown in its file-universe mode inside the
// tree area, and taken back to the gallery before the tree window goes with its work.
#include "GalleryWindowFixture.h"
#include "atelier/TFormHelp.h"
#include "universe/TFormNebu.h"

#include <QAction>
#include <QPointer>
#include <QPushButton>
#include <QTextEdit>

TEST_F(GalleryWindow, ATreeWindowShowsTheUniverseHelpAndGivesTheViewerBack) {
    ASSERT_TRUE(waitFor([&] { return loaded(); }));
    Catalog& catalog = gallery.state().catalog();
    int row = -1, other = -1;
    for (int r = 0; r < catalog.rowCount(); ++r) {
        const CatalogEntry e = catalog.rowToEntry(r);
        if (!e.work) continue;
        if (Catalog::workPath(*e.source, *e.group, *e.work).endsWith(u"uchuu/seiza.acmd")) row = r;
        else if (other < 0) other = r;
    }
    ASSERT_GE(row, 0) << "the bundled work with constellation data";
    release(row);
    QPointer<TFormNebu> nebu;
    ASSERT_TRUE(waitFor([&] {
        nebu = gallery.workWindow().findChild<TFormNebu*>();
        return nebu && nebu->treeReady();
    }));
    QAction* help = nullptr;
    for (QAction* a : nebu->findChildren<QAction*>())
        if (a->text() == u"Help(&H)"_qs) help = a;
    ASSERT_TRUE(help && help->isEnabled());
    help->trigger();
    QPointer<TFormHelp> viewer = gallery.helpViewer();
    ASSERT_TRUE(viewer);
    EXPECT_TRUE(viewer->isVisible());
    EXPECT_EQ(viewer->helpMode(), HelpUniverse);
    EXPECT_EQ(viewer->parentWidget(), nebu->grid());

    // Another work replaces the tree window; the viewer stays the gallery's, hidden, and serves
    // the gallery's own "ヘルプ" again.
    release(other);
    ASSERT_TRUE(waitFor([&] { return nebu.isNull() && loaded(); }));
    ASSERT_TRUE(viewer);
    EXPECT_FALSE(viewer->isVisible());
    EXPECT_TRUE(gallery.isAncestorOf(viewer));
    for (QPushButton* b : gallery.findChildren<QPushButton*>())
        if (b->text() == u"ヘルプ"_qs) b->click();
    EXPECT_EQ(gallery.helpViewer(), viewer.data());
    EXPECT_TRUE(viewer->isVisible());
    EXPECT_EQ(viewer->helpMode(), HelpBrief);
}
