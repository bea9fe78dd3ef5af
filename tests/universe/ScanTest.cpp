// Scanning fixture trees made here: exact constellation lines, counters, depth limits, breaks,
// links that must never be followed, and failures that must leave the tree alone.
#include "UniverseFixture.h"
#include "TestSupport.h"

#include "universe/ScanProgress.h"
#include "universe/UniverseModel.h"
#include "universe/UniverseScan.h"

#include "common/BreakPoll.h"
#include "common/Platform.h"
#include "common/ShowCheck.h"
#include "common/Texts.h"

#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr std::time_t kFileTime = 1262394245; // 2010-01-02 01:04:05 UTC
constexpr std::time_t kFolderTime = 1300000000;

void setTime(const QString& path, std::time_t t) {
    const struct timespec times[2] = {{t, 0}, {t, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, AT_SYMLINK_NOFOLLOW), 0)
        << path.toStdString();
}

QString stampOf(std::time_t t) { return QString::number(fileTimeNumber(t)); }

// Breaks at the n-th poll.
class CountingBreak : public BreakPoll {
public:
    explicit CountingBreak(int at) : at_(at) {}
    bool breakRequested() override { return ++polls == at_; }
    int polls = 0;

private:
    int at_;
};

class RecordingProgress : public ScanProgress {
public:
    void showProgress(bool withBreak) override { events.append(withBreak ? "show+break" : "show"); }
    void setCounterText(const QString& text) override { counters.append(text); }
    void setPathText(const QString&) override {}
    void showStopping(const QString& text) override { events.append(text.trimmed()); }
    void hideProgress() override { events.append("hide"); }
    QStringList events, counters;
};

class ScanTest : public testing::Test {
protected:
    RecordingCheckSink sink;
    ScopedCheckSink installed{&sink};
    TempFolder dir;
    TempFolder elsewhere;
    QString root;

    void file(const QString& name, int size, mode_t mode = 0644) {
        const QString path = root + u'/' + name;
        const int fd = ::open(QFile::encodeName(path).constData(), O_CREAT | O_WRONLY, mode);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::ftruncate(fd, size), 0); // sparse: apparent size only
        ::close(fd);
        ::chmod(QFile::encodeName(path).constData(), mode);
        setTime(path, kFileTime);
    }
    void link(const QString& name, const QString& target) {
        ASSERT_EQ(::symlink(QFile::encodeName(target).constData(), QFile::encodeName(root + u'/' + name).constData()), 0);
        setTime(root + u'/' + name, kFileTime);
    }

    // root/ .hidden A.txt b.txt 日本.txt link_to_sub->sub loop->. outside->elsewhere ro.txt empty/ sub/{x.txt deep/{z.bin}}
    void SetUp() override {
        root = dir.file(QStringLiteral("宇宙"));
        ASSERT_TRUE(makeFolders(root + QStringLiteral("/sub/deep")));
        ASSERT_TRUE(makeFolders(root + QStringLiteral("/empty")));
        file(".hidden", 1);
        file("A.txt", 3);
        file("b.txt", 10);
        file("日本.txt", 20);
        file("ro.txt", 7, 0444);
        file("sub/x.txt", 5);
        file("sub/deep/z.bin", 1 << 20);
        link("link_to_sub", "sub");
        link("loop", ".");
        link("outside", elsewhere.path());
        for (const char* folder : {"sub/deep", "sub", "empty", ""}) setTime(root + u'/' + folder, kFolderTime);
    }

    QStringList scan(int depth, BreakPoll* poll = nullptr, int expected = 1) {
        UniverseModel model(root, QStringLiteral("/"));
        model.tree().searchDepth = depth;
        model.setBreakPoll(poll);
        EXPECT_EQ(model.openPath(), expected);
        counters = {model.tree().galaxyCount, model.tree().starCount, model.tree().deepestLevel, model.tree().searchDepth};
        return chartLines(model.tree());
    }
    std::vector<int64_t> counters;
};

TEST_F(ScanTest, FullDepthGivesStarsThenGalaxiesAndNeverFollowsLinks) {
    const QString f = stampOf(kFileTime), d = stampOf(kFolderTime);
    const QString out = QString::number(elsewhere.path().size());
    EXPECT_EQ(scan(999), QStringList({
        "0|1|" + root + "|" + QString::number(1 + 3 + 10 + 20 + 7 + 5 + (1 << 20) + 3 + 1 + out.toInt()) + "|" + d,
        "1|6|.hidden|1|" + f,
        "1|2|A.txt|3|" + f,
        "1|2|b.txt|10|" + f,
        "1|32|link_to_sub|3|" + f,
        "1|32|loop|1|" + f,
        "1|32|outside|" + out + "|" + f,
        "1|10|ro.txt|7|" + f,
        "1|2|日本.txt|20|" + f,
        "1|1|empty|0|" + d,
        "1|1|sub|" + QString::number(5 + (1 << 20)) + "|" + d,
        "2|2|x.txt|5|" + f,
        "2|1|deep|" + QString::number(1 << 20) + "|" + d,
        "3|2|z.bin|1048576|" + f,
    }));
    EXPECT_EQ(counters, (std::vector<int64_t>{4, 10, 3, 3}));
    EXPECT_TRUE(sink.records.empty());
}

// A start path that is itself a link is scanned as the folder it names, on that folder's device.
TEST_F(ScanTest, AStartPathThatIsALinkScansItsFolder) {
    const QStringList direct = scan(999);
    const QString real = root;
    root = dir.file(QStringLiteral("via-link"));
    ASSERT_EQ(::symlink(QFile::encodeName(real).constData(), QFile::encodeName(root).constData()), 0);
    QStringList linked = scan(999);
    ASSERT_EQ(linked.size(), direct.size());
    EXPECT_EQ(linked.mid(1), direct.mid(1));
    EXPECT_TRUE(linked[0].startsWith("0|1|" + root + "|"));
}

TEST_F(ScanTest, DepthOneLeavesGalaxiesEmpty) {
    const QStringList lines = scan(1);
    ASSERT_EQ(lines.size(), 11);
    EXPECT_EQ(lines[9], "1|1|empty|0|" + stampOf(kFolderTime));
    EXPECT_EQ(lines[10], "1|1|sub|0|" + stampOf(kFolderTime));
    EXPECT_EQ(counters, (std::vector<int64_t>{3, 8, 1, 1}));
    // The scan says that it stopped at the depth limit: the totals leave those galaxies out.
    ASSERT_EQ(sink.records.size(), 1u);
    EXPECT_EQ(sink.records[0].text, QStringLiteral("探査の深さ 1 で 2 個の銀河の中は探査していません"));
    sink.records.clear();
    scan(999);
    EXPECT_TRUE(sink.records.empty()) << "nothing left out, nothing said";
}

TEST_F(ScanTest, SiblingMarksParentsAndPaths) {
    UniverseModel model(root, QStringLiteral("/"));
    model.tree().searchDepth = 999;
    ASSERT_EQ(model.openPath(), 1);
    treeInfo& tree = model.tree();
    for (const fileInfo* n = tree.root()->next; n != tree.bottom(); n = n->next) {
        const bool last = n->name() == u"sub" || n->name() == u"deep" || n->name() == u"z.bin";
        EXPECT_EQ((n->marks & MarkSiblingFollows) != 0, !last) << n->name().toStdString();
        EXPECT_EQ(n->parent->depth, n->depth - 1);
    }
    const fileInfo* z = tree.lastNode();
    EXPECT_EQ(tree.treePath(z), root + QStringLiteral("/sub/deep/z.bin"));
    EXPECT_EQ(tree.treePath(z->prev->prev), root + QStringLiteral("/sub/x.txt"));
    EXPECT_EQ(tree.treePath(tree.root()->next), root + QStringLiteral("/.hidden"));
}

// The first poll comes when "empty" is finished: "sub" is still listed but stays empty.
TEST_F(ScanTest, AStoppedScanKeepsWhatItMet) {
    CountingBreak poll(1);
    const QStringList lines = scan(999, &poll, 0);
    ASSERT_EQ(lines.size(), 11);
    EXPECT_TRUE(lines[10].startsWith("1|1|sub|0|"));
    ASSERT_EQ(sink.records.size(), 1u);
    EXPECT_EQ(sink.records[0].text, "検索が中断されました！");
    EXPECT_EQ(sink.records[0].caption, "[中断] パネルにタッチすると検索が中断されます。");
}

TEST_F(ScanTest, ProgressShowsOnlyForDeepScans) {
    for (int depth : {2, 3}) {
        RecordingProgress progress;
        UniverseModel model(root, QStringLiteral("/"));
        model.tree().searchDepth = depth;
        model.setProgress(&progress);
        ASSERT_EQ(model.openPath(), 1);
        EXPECT_EQ(progress.events.contains("show+break"), depth > 2);
        EXPECT_EQ(progress.counters.value(0), "  現在の探査星： 最深層 = 1 : 発掘数 = 0");
    }
}

// An unreadable folder stays an empty galaxy, counted, marked and reported once at the end. Root
// reads every folder, so as root the scan runs in a child that has dropped to an ordinary user.
TEST_F(ScanTest, AnUnreadableFolderIsCountedMarkedAndReported) {
    const QByteArray locked = QFile::encodeName(root + QStringLiteral("/sub"));
    ASSERT_EQ(::chmod(locked.constData(), 0), 0);
    // Each failed expectation sets its bit, so a child can hand the verdict back as its exit code.
    const auto scanLocked = [&] {
        UniverseModel model(root, QStringLiteral("/"));
        model.tree().searchDepth = 999;
        int failed = 0;
        if (model.openPath() != 1) failed |= 1;
        // A galaxy (1) that is read-only (8), with nothing under it.
        if (!chartLines(model.tree()).last().startsWith("1|9|sub|0|")) failed |= 2;
        if (model.tree().unreadableCount != 1) failed |= 4;
        if (!(model.tree().lastNode()->marks & MarkUnreadable)) failed |= 8;
        if (sink.records.size() != 1 || sink.records[0].text != QStringLiteral("読めなかった銀河が 1 個あります（ツリーに印）"))
            failed |= 16;
        return failed;
    };
    int failed = 0;
    if (::getuid() != 0) {
        failed = scanLocked();
    } else {
        ASSERT_EQ(::chmod(QFile::encodeName(dir.path()).constData(), 0755), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            constexpr uid_t kNobody = 65534;
            if (::setresgid(kNobody, kNobody, kNobody) != 0 || ::setresuid(kNobody, kNobody, kNobody) != 0) ::_exit(64);
            ::_exit(scanLocked());
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status));
        failed = WEXITSTATUS(status);
        ASSERT_NE(failed, 64) << "could not drop to an ordinary user";
    }
    ::chmod(locked.constData(), 0755);
    EXPECT_EQ(failed & 1, 0) << "the scan fails";
    EXPECT_EQ(failed & 2, 0) << "the folder is not an empty galaxy";
    EXPECT_EQ(failed & 4, 0) << "the folder is not counted";
    EXPECT_EQ(failed & 8, 0) << "the tree does not show where the totals are low";
    EXPECT_EQ(failed & 16, 0) << "not reported exactly once";
}

// Folders reached only by descriptors: their full path is longer than the system allows for a
// path, and the scan must still descend to the bottom and list what lies there.
TEST_F(ScanTest, FoldersPastThePathLengthLimitAreScanned) {
    const QByteArray level(40, 'd');
    constexpr int kLevels = 150; // 150 * 41 bytes, far past PATH_MAX
    std::vector<int> fds{::open(QFile::encodeName(root + QStringLiteral("/empty")).constData(), O_RDONLY | O_DIRECTORY)};
    ASSERT_GE(fds.back(), 0);
    for (int i = 0; i < kLevels; ++i) {
        ASSERT_EQ(::mkdirat(fds.back(), level.constData(), 0755), 0);
        fds.push_back(::openat(fds.back(), level.constData(), O_RDONLY | O_DIRECTORY));
        ASSERT_GE(fds.back(), 0);
    }
    const int bottom = ::openat(fds.back(), "bottom.txt", O_CREAT | O_WRONLY, 0644);
    ASSERT_GE(bottom, 0);
    ::close(bottom);

    const QStringList lines = scan(999);
    EXPECT_TRUE(sink.records.empty());
    EXPECT_EQ(counters[2], kLevels + 2) << "deepest level: empty/, the chain, then the file";
    const auto bottomLine = lines.indexOf(QRegularExpression("152\\|2\\|bottom\\.txt\\|0\\|.*"));
    EXPECT_GT(bottomLine, 0);
    EXPECT_TRUE(lines[bottomLine - 1].startsWith(QStringLiteral("151|1|") + QString::fromLatin1(level)));

    // The temporary folder's own removal goes by path, so the chain is taken apart here.
    ::unlinkat(fds.back(), "bottom.txt", 0);
    for (int i = kLevels; i > 0; --i) {
        ::close(fds[i]);
        EXPECT_EQ(::unlinkat(fds[i - 1], level.constData(), AT_REMOVEDIR), 0);
    }
    ::close(fds[0]);
}

// Helper threads only list folders ahead; the scan itself decides the tree. Any number of them
// must give the same tree byte for byte, also when the scan stops at a break or at the node limit.
TEST_F(ScanTest, HelperThreadsGiveTheSameTreeAsAScanAlone) {
    for (int i = 0; i < 40; ++i) {
        const QString folder = QStringLiteral("wide/f%1/g%2").arg(i).arg(i % 7);
        ASSERT_TRUE(makeFolders(root + u'/' + folder));
        for (int j = 0; j <= i % 5; ++j) file(folder + QStringLiteral("/s%1.dat").arg(j), i * 10 + j);
    }
    struct Case {
        const char* what;
        int breakAt;          // 0: no break
        std::size_t nodeLimit;
    };
    const Case cases[] = {{"complete", 0, kDefaultNodeLimit}, {"broken", 9, kDefaultNodeLimit}, {"node limit", 0, 150}};
    for (const Case& c : cases) {
        QStringList lines[2];
        std::vector<int64_t> counts[2];
        for (int helpers : {0, 3}) {
            treeInfo tree(QStringLiteral("/"), QStringLiteral("/"));
            tree.searchDepth = 999;
            tree.nodeLimit = c.nodeLimit;
            CountingBreak poll(c.breakAt);
            UniverseScan scan(tree, c.breakAt ? &poll : nullptr, nullptr);
            scan.helpers = helpers;
            const int result = scan.scanUniverse(root);
            tree.sumSizes();
            const int k = helpers ? 1 : 0;
            lines[k] = chartLines(tree);
            counts[k] = {result, tree.galaxyCount, tree.starCount, tree.deepestLevel, tree.scanState};
        }
        EXPECT_EQ(lines[1], lines[0]) << c.what;
        EXPECT_EQ(counts[1], counts[0]) << c.what;
        EXPECT_GT(lines[0].size(), c.breakAt || c.nodeLimit < 1000 ? 10 : 200) << c.what;
    }
}

// /proc is always a file system of its own: listed as a galaxy, never entered.
TEST_F(ScanTest, NeverCrossesIntoAnotherMount) {
    FolderEntry top, proc;
    if (!statPath("/.", top) || !statPath("/proc/.", proc) || top.device == proc.device)
        GTEST_SKIP() << "/proc is not a mount of its own here";
    UniverseModel model(QStringLiteral("/"), QStringLiteral("/"));
    model.tree().searchDepth = 2;
    ASSERT_EQ(model.openPath(), 1);
    const fileInfo* n = model.tree().root()->next;
    while (n != model.tree().bottom() && !(n->depth == 1 && n->name() == u"proc")) n = n->next;
    ASSERT_NE(n, model.tree().bottom());
    EXPECT_TRUE(n->next == model.tree().bottom() || n->next->depth <= 1);
    EXPECT_EQ(model.tree().root()->name(), "/");
}

TEST_F(ScanTest, NodeLimitStopsLikeMemoryShortage) {
    UniverseModel model(root, QStringLiteral("/"));
    model.tree().searchDepth = 999;
    model.tree().nodeLimit = 9;
    EXPECT_EQ(model.openPath(), -1);
    EXPECT_EQ(model.tree().nodeCount(), 9u);
    ASSERT_EQ(sink.records.size(), 1u);
    EXPECT_EQ(sink.records[0].caption, "メモリー不足で銀河が作成できません！");
}

TEST_F(ScanTest, AMissingFolderLeavesTheTreeAlone) {
    UniverseModel model(root, QStringLiteral("/"));
    model.tree().searchDepth = 1;
    ASSERT_EQ(model.openPath(), 1);
    sink.records.clear(); // the depth-limit notice of the scan
    const QStringList before = chartLines(model.tree());
    EXPECT_EQ(model.scanUniverse(root + QStringLiteral("/none")), -1);
    EXPECT_EQ(model.scanUniverse(root + QStringLiteral("/A.txt")), -1);
    EXPECT_EQ(chartLines(model.tree()), before);
    ASSERT_EQ(sink.records.size(), 2u);
    EXPECT_EQ(sink.records[0].text, "アクセスできません！ 検索を中止します。");
}

TEST_F(ScanTest, ScanSaveAndLoadGiveTheSameTree) {
    UniverseModel model(root + u'/', QStringLiteral("/"));
    model.tree().searchDepth = 999;
    ASSERT_EQ(model.openPath(), 1);
    EXPECT_EQ(model.tree().root()->name(), root); // the trailing separator goes
    const QStringList scanned = chartLines(model.tree());
    ASSERT_TRUE(model.saveConstellation(dir.file("saved")));
    UniverseModel loaded(QStringLiteral("/"), QStringLiteral("/"));
    ASSERT_TRUE(loaded.loadConstellation(dir.file("saved.nebu"), true));
    EXPECT_EQ(chartLines(loaded.tree()), scanned);
    EXPECT_EQ(loaded.tree().galaxyCount, model.tree().galaxyCount);
    EXPECT_EQ(loaded.tree().starCount, model.tree().starCount);
}

// A name that is not UTF-8 on disk leaves code page 932 behind, is saved as its raw bytes and,
// read back, still names the file it was scanned from.
TEST_F(ScanTest, ANameThatIsNotUtf8KeepsItsBytesThroughSaveAndLoad) {
    const QByteArray raw = QFile::encodeName(root) + "/sub/bad\xFF.txt";
    const int fd = ::open(raw.constData(), O_CREAT | O_WRONLY | O_EXCL, 0644);
    ASSERT_GE(fd, 0);
    // The temporary folder's own removal cannot reach a raw name, so the file goes here.
    const struct Unlink {
        QByteArray path;
        ~Unlink() { ::unlink(path.constData()); }
    } cleanup{raw};
    ASSERT_EQ(::write(fd, "found", 5), 5);
    ::close(fd);
    UniverseModel model(root, QStringLiteral("/"));
    model.tree().searchDepth = 999;
    ASSERT_EQ(model.openPath(), 1);
    ASSERT_TRUE(model.saveConstellation(dir.file("saved")));
    QByteArray saved;
    ASSERT_TRUE(readFileBytes(dir.file("saved.nebu"), saved));
    EXPECT_TRUE(saved.startsWith("\xEF\xBB\xBF")) << "code page 932 cannot hold the name";
    EXPECT_TRUE(saved.contains("\tbad\xFF.txt\t5\t")) << "the name's own bytes are written";

    UniverseModel loaded(QStringLiteral("/"), QStringLiteral("/"));
    ASSERT_TRUE(loaded.loadConstellation(dir.file("saved.nebu"), true));
    EXPECT_EQ(chartLines(loaded.tree()), chartLines(model.tree()));
    const fileInfo* bad = nullptr;
    for (const fileInfo* n = loaded.tree().root(); n != loaded.tree().bottom(); n = n->next)
        if (n->name().startsWith(u"bad")) bad = n;
    ASSERT_NE(bad, nullptr);
    QByteArray bytes;
    ASSERT_TRUE(readFileBytes(loaded.tree().treePath(bad), bytes));
    EXPECT_EQ(bytes, "found");
    ASSERT_EQ(eraseFile(loaded.tree().treePath(bad)), 0);
    struct stat st {};
    EXPECT_NE(::lstat(raw.constData(), &st), 0);
}

// Two chosen "drives" give two logs named after them; a drive that fails stops the loop and
// the closing notice says so, while the logs already written stay.
TEST_F(ScanTest, AllDrivesLogWritesOneFilePerDrive) {
    TempFolder logs;
    UniverseModel model(QStringLiteral("/"), QStringLiteral("/"));
    model.tree().lastChooserFolder = logs.path() + u'/';
    const QString second = root + QStringLiteral("/sub");
    EXPECT_TRUE(model.logAllDrives({root, second}));
    std::vector<FolderEntry> written;
    ASSERT_TRUE(listFolder(logs.path(), written));
    ASSERT_EQ(written.size(), 2u);
    const QString label = root.mid(1).replace(u'/', u'_');
    EXPECT_TRUE(written[0].name.startsWith(label + QStringLiteral("03"))) << written[0].name.toStdString();
    EXPECT_TRUE(written[1].name.startsWith(label + QStringLiteral("_sub02"))) << written[1].name.toStdString();
    EXPECT_EQ(model.tree().root()->name(), second); // the last drive stays shown
    ASSERT_EQ(sink.records.size(), 1u);
    EXPECT_EQ(sink.records[0].text, "小宇宙 " + root + ": " + second + ": の星座ログを作成しました。");
    EXPECT_EQ(sink.records[0].caption, "全小宇宙・全階層の星座作成");
    EXPECT_EQ(sink.records[0].style, 20);

    sink.records.clear();
    EXPECT_FALSE(model.logAllDrives({second, root + QStringLiteral("/gone")}));
    EXPECT_EQ(sink.records.back().text, "小宇宙 " + second + ": の星座ログ作成を中断しました。");
    ASSERT_TRUE(listFolder(logs.path(), written));
    EXPECT_GE(written.size(), 2u);
}

} // namespace
