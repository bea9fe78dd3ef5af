// Copy, move, delete, rename and new galaxy on a disk universe with links of every kind, a name
// that is not UTF-8, a read-only folder, files changed behind the tree's back, existing names
// and a second file system. After every operation the disk is read back byte for byte against
// what the operation may do, and the tree is compared with a fresh scan of the same disk.
#include "StarFixture.h"
#include "UniverseFixture.h"

#include "universe/StarOperations.h"
#include "universe/TreeEdits.h"

#include "common/Choosers.h"
#include "common/Platform.h"
#include "common/ShowCheck.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

enum class Op { Copy, Move, Delete, Rename, MakeGalaxy };

struct Ctx {
    QByteArray base;  // the folder holding the universe, the trash and the other file system
    QByteArray root;  // the scanned universe
    QByteArray other; // a folder on a second file system, empty when there is none
    treeInfo* tree = nullptr;

    fileInfo* node(const QByteArray& rel) {
        const QString want = decodeFileName(root + rel);
        for (fileInfo* n = tree->root(); n != tree->bottom(); n = n->next)
            if (tree->treePath(n) == want || (rel.isEmpty() && n == tree->root())) return n;
        ADD_FAILURE() << "no node " << rel.toStdString();
        return tree->root();
    }
    void mark(const QByteArray& rel) { node(rel)->marks |= MarkMarked; }
};

struct Case {
    const char* name;
    Op op;
    const char* current;                 // relative path of the current node
    std::vector<const char*> marks;      // relative paths marked before the command
    std::function<QByteArray(Ctx&)> arg; // destination folder, rename text or new galaxy text
    // The disk as it may be afterwards (the universe and the other file system), and the
    // entries expected in the trash (relative path in the universe -> name in the trash).
    std::function<void(Ctx&, DiskMap& disk, DiskMap& other)> expect = {};
    std::vector<const char*> trashed = {};
    std::function<void(Ctx&)> behindTheTreesBack = {}; // a change of the disk after the scan
    bool treeStale = false; // the tree cannot match a rescan: the command refused a stale node
    int done = -1;          // nodes done, when it matters
};

QByteArray in(Ctx& c, const char* rel) { return c.root + rel; }
auto dest(const char* rel) {
    return [rel](Ctx& c) { return c.root + rel; };
}
auto moved(const char* from, const char* to) {
    return [from, to](Ctx&, DiskMap& d, DiskMap&) { carry(d, from, to, true); };
}
auto copied(const char* from, const char* to) {
    return [from, to](Ctx&, DiskMap& d, DiskMap&) { carry(d, from, to, false); };
}
auto unchanged() {
    return [](Ctx&, DiskMap&, DiskMap&) {};
}
bool root() { return ::geteuid() == 0; }

const std::vector<Case>& cases() {
    static const std::vector<Case> all = {
        {"copy a star", Op::Copy, "/a/f1.txt", {}, dest("/b"), copied("/a/f1.txt", "/b/f1.txt")},
        {"copy a galaxy with a name that is not UTF-8 inside", Op::Copy, "/a", {}, dest("/b"), copied("/a", "/b/a")},
        {"copy a link to a file as a link", Op::Copy, "/links/lf", {}, dest("/b"), copied("/links/lf", "/b/lf")},
        {"copy a link to a folder as a link", Op::Copy, "/links/ld", {}, dest("/b"), copied("/links/ld", "/b/ld")},
        {"copy a dangling link", Op::Copy, "/links/dangling", {}, dest("/b"), copied("/links/dangling", "/b/dangling")},
        {"copy a link into its own folder", Op::Copy, "/links/up", {}, dest("/links"),
         unchanged()}, // own folder: refused
        {"copy a link to the parent deeper in", Op::Copy, "/links/up", {}, dest("/a/sub"),
         copied("/links/up", "/a/sub/up")},
        {"copy onto an existing name", Op::Copy, "/a/f1.txt", {}, dest("/exists"), unchanged()},
        {"copy a galaxy into itself", Op::Copy, "/a", {}, dest("/a/sub"), unchanged()},
        {"copy into its own folder", Op::Copy, "/a/f1.txt", {}, dest("/a"), unchanged()},
        {"move a star whose name is not UTF-8", Op::Move, "/a/n\xff\xfe.txt", {}, dest("/b"),
         moved("/a/n\xff\xfe.txt", "/b/n\xff\xfe.txt")},
        {"move a galaxy with its subtree", Op::Move, "/a", {}, dest("/b"), moved("/a", "/b/a")},
        {"move a link to the parent", Op::Move, "/links/up", {}, dest("/b"), moved("/links/up", "/b/up")},
        {"move a galaxy into its own subtree", Op::Move, "/a", {}, dest("/a/sub"), unchanged()},
        {"move the root", Op::Move, "", {}, dest("/b"), unchanged()},
        {"move onto an existing name", Op::Move, "/a/f1.txt", {}, dest("/exists"), unchanged()},
        {"delete a star to the trash", Op::Delete, "/a/f2.bin", {}, {}, [](Ctx&, DiskMap& d, DiskMap&) { dropEntry(d, "/a/f2.bin"); },
         {"/a/f2.bin"}},
        {"delete a galaxy to the trash", Op::Delete, "/a", {}, {}, [](Ctx&, DiskMap& d, DiskMap&) { dropEntry(d, "/a"); }, {"/a"}},
        {"delete links, never what they name", Op::Delete, "/b", {"/links/ld", "/links/up", "/links/dangling"}, {},
         [](Ctx&, DiskMap& d, DiskMap&) {
             for (const char* p : {"/links/ld", "/links/up", "/links/dangling"}) dropEntry(d, p);
         },
         {"/links/dangling", "/links/ld", "/links/up"}, {}, false, 3},
        {"delete the root", Op::Delete, "", {}, {}, unchanged()},
        {"move into a read-only folder", Op::Move, "/a/f1.txt", {}, dest("/ro"),
         [](Ctx&, DiskMap& d, DiskMap&) {
             if (root()) carry(d, "/a/f1.txt", "/ro/f1.txt", true); // no mode bit stops the superuser
         }},
        {"delete from a read-only folder", Op::Delete, "/ro/r.txt", {}, {},
         [](Ctx&, DiskMap& d, DiskMap&) {
             if (root()) dropEntry(d, "/ro/r.txt");
         },
         {"/ro/r.txt"}},
        {"copy a file changed after the scan", Op::Copy, "/changed.txt", {}, dest("/b"),
         copied("/changed.txt", "/b/changed.txt"), {},
         [](Ctx& c) { writeBytes(in(c, "/changed.txt"), "version two, longer"); }},
        {"a star swapped for a link after the scan is not followed", Op::Copy, "/a/f2.bin", {}, dest("/b"), unchanged(), {},
         [](Ctx& c) {
             ::unlink(in(c, "/a/f2.bin").constData());
             [[maybe_unused]] int r = ::symlink("../b/g.txt", in(c, "/a/f2.bin").constData());
         },
         true},
        {"a star gone after the scan touches no other file", Op::Delete, "/a/f1.txt", {}, {}, unchanged(), {},
         [](Ctx& c) { ::unlink(in(c, "/a/f1.txt").constData()); }, true},
        {"a galaxy swapped for a file after the scan", Op::Move, "/a/sub", {}, dest("/b"), unchanged(), {},
         [](Ctx& c) {
             ::unlink(in(c, "/a/sub/deep.txt").constData());
             ::rmdir(in(c, "/a/sub").constData());
             writeBytes(in(c, "/a/sub"), "now a file");
         },
         true},
        {"move marks: a mark inside a marked galaxy goes with the galaxy", Op::Move, "", {"/a", "/a/f1.txt", "/b/g.txt"},
         dest("/exists"),
         [](Ctx&, DiskMap& d, DiskMap&) {
             carry(d, "/a", "/exists/a", true);
             carry(d, "/b/g.txt", "/exists/g.txt", true);
         },
         {}, {}, false, 2},
        {"copy marks: an existing name is skipped, the rest copied", Op::Copy, "", {"/a/f1.txt", "/b/g.txt"}, dest("/exists"),
         copied("/b/g.txt", "/exists/g.txt"), {}, {}, false, 1},
        {"copy marks into a galaxy later in the list copies each once", Op::Copy, "", {"/a/f1.txt", "/a/f2.bin"}, dest("/b"),
         [](Ctx&, DiskMap& d, DiskMap&) {
             carry(d, "/a/f1.txt", "/b/f1.txt", false);
             carry(d, "/a/f2.bin", "/b/f2.bin", false);
         },
         {}, {}, false, 2},
        {"move a galaxy to another file system", Op::Move, "/a", {}, [](Ctx& c) { return c.other; },
         [](Ctx&, DiskMap& d, DiskMap& o) {
             for (const auto& [k, v] : d)
                 if (k == "/a" || k.startsWith("/a/")) o[k] = v;
             dropEntry(d, "/a");
         }},
        {"copy links to another file system", Op::Copy, "", {"/links/up", "/links/ld"}, [](Ctx& c) { return c.other; },
         [](Ctx&, DiskMap& d, DiskMap& o) {
             o["/up"] = d["/links/up"];
             o["/ld"] = d["/links/ld"];
         },
         {}, {}, false, 2},
        {"rename a star into another galaxy", Op::Rename, "/a/f1.txt", {}, dest("/b/h.txt"), moved("/a/f1.txt", "/b/h.txt")},
        {"rename a galaxy in place", Op::Rename, "/a", {}, dest("/a2"), moved("/a", "/a2")},
        {"rename onto an existing name", Op::Rename, "/a/f1.txt", {}, dest("/b/g.txt"), unchanged()},
        {"rename with a parent step", Op::Rename, "/a/f1.txt", {}, dest("/a/../b/x.txt"), unchanged()},
        {"new galaxy", Op::MakeGalaxy, "/b", {}, dest("/b/new"),
         [](Ctx&, DiskMap& d, DiskMap&) { d["/b/new"] = DiskEntry{'d', {}, 0755}; }},
        {"new galaxy of two levels", Op::MakeGalaxy, "/b", {}, dest("/b/x/y"), unchanged()},
        {"new galaxy named ..", Op::MakeGalaxy, "/b", {}, dest("/b/.."), unchanged()},
        {"new galaxy that exists", Op::MakeGalaxy, "/a", {}, dest("/a/sub"), unchanged()},
    };
    return all;
}

class StarSafety : public testing::TestWithParam<std::size_t> {};

TEST_P(StarSafety, DiskAndTreeStayTrue) {
    const Case& c = cases()[GetParam()];
    SCOPED_TRACE(c.name);
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    Ctx ctx;
    ctx.base = dir.path().toUtf8();
    ctx.root = ctx.base + "/u";
    qputenv("XDG_DATA_HOME", ctx.base + "/xdg");
    makeStarFixture(ctx.root);

    std::unique_ptr<QTemporaryDir> otherDir;
    const bool needsOther = c.arg && c.arg(ctx).isEmpty() && c.op != Op::Delete;
    if (needsOther) {
        otherDir = std::make_unique<QTemporaryDir>(QStringLiteral("/dev/shm/vimora-stars-XXXXXX"));
        struct stat a {}, b {};
        if (!otherDir->isValid() || ::stat(ctx.base.constData(), &a) != 0 ||
            ::stat(otherDir->path().toUtf8().constData(), &b) != 0 || a.st_dev == b.st_dev)
            GTEST_SKIP() << "no second file system to write to (/dev/shm is missing or on the same one)";
        ctx.other = otherDir->path().toUtf8();
    }

    RecordingCheckSink checks;
    checks.defaultAnswer = 1;
    ScopedCheckSink installedChecks(&checks);
    ScriptedChooserSink chooser;
    ScopedChooserSink installedChooser(&chooser);

    treeInfo tree(QString(), QStringLiteral("/"));
    ASSERT_EQ(scanWhole(tree, decodeFileName(ctx.root)), 1);
    ctx.tree = &tree;
    tree.current = ctx.node(c.current);
    for (const char* m : c.marks) ctx.mark(m);
    if (c.behindTheTreesBack) c.behindTheTreesBack(ctx);

    const DiskMap before = readDisk(ctx.root);
    DiskMap expected = before, expectedOther;
    if (c.expect) c.expect(ctx, expected, expectedOther);
    DiskMap expectedTrash;
    for (const char* t : c.trashed) {
        const QByteArray rel(t);
        if (expected.count(rel)) continue; // it stayed where it was
        DiskMap one = before;
        carry(one, rel, "/trash" + rel.mid(rel.lastIndexOf('/')), false);
        for (const auto& [k, v] : one)
            if (k.startsWith("/trash/")) expectedTrash[k.mid(6)] = v;
    }

    StarOperations ops(tree);
    StarResult result;
    const QByteArray arg = c.arg ? c.arg(ctx) : QByteArray();
    if (!arg.isEmpty()) chooser.paths.push_back(decodeFileName(arg));
    switch (c.op) {
    case Op::Copy: result = ops.copyStars(); break;
    case Op::Move: result = ops.moveStars(); break;
    case Op::Delete: result = ops.deleteStars(); break;
    case Op::Rename: ops.renameStar(decodeFileName(arg)); break;
    case Op::MakeGalaxy: ops.makeGalaxy(decodeFileName(arg)); break;
    }

    EXPECT_EQ(readDisk(ctx.root), expected);
    if (!ctx.other.isEmpty()) EXPECT_EQ(readDisk(ctx.other), expectedOther);
    if (!c.trashed.empty() || (c.op == Op::Delete && expected != before))
        EXPECT_EQ(readDisk(ctx.base + "/xdg/Trash/files"), expectedTrash);
    if (c.done >= 0) EXPECT_EQ(result.done, c.done);
    if (expected == before && expectedOther.empty() && c.op != Op::Rename && c.op != Op::MakeGalaxy)
        EXPECT_EQ(result.done, 0);

    EXPECT_EQ(linkFaults(tree), "");
    if (!c.treeStale) {
        treeInfo fresh(QString(), QStringLiteral("/"));
        ASSERT_EQ(scanWhole(fresh, decodeFileName(ctx.root)), 1);
        EXPECT_EQ(treeLines(tree), treeLines(fresh));
    }
    // Nothing went without a word: a refusal or a failure says why.
    if (expected == before && expectedOther.empty()) {
        ASSERT_FALSE(checks.records.empty());
        EXPECT_EQ(checks.records.back().style % 10, 0) << checks.records.back().text.toStdString();
    }
    // QTemporaryDir cannot remove a name that is not UTF-8; the platform layer can.
    ::chmod((ctx.root + "/ro").constData(), 0755);
    eraseFile(dir.path() + QStringLiteral("/u"));
    eraseFile(dir.path() + QStringLiteral("/xdg"));
    if (otherDir) eraseFile(otherDir->path() + QStringLiteral("/a"));
}

std::string caseName(const testing::TestParamInfo<std::size_t>& info) {
    std::string name;
    for (char ch : std::string(cases()[info.param].name)) name += std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
    return std::to_string(info.param) + "_" + name;
}

INSTANTIATE_TEST_SUITE_P(Matrix, StarSafety, testing::Range<std::size_t>(0, cases().size()), caseName);

} // namespace
