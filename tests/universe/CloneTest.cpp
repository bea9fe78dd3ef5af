// Clones: the key-code sorter, counting with its messages, marking, and deletion on real files
// (three kept, a changed file refused), and the tree update that deletion makes.
#include "TestSupport.h"
#include "UniverseFixture.h"

#include "universe/NebuClones.h"
#include "universe/NodeText.h"
#include "universe/UniverseModel.h"
#include "universe/sortFile.h"

#include "common/BreakPoll.h"
#include "common/ShowCheck.h"
#include "common/Texts.h"

#include <QFile>
#include <algorithm>
#include <gtest/gtest.h>
#include <random>

#include <fcntl.h>
#include <sys/stat.h>

namespace {

class CloneTest : public testing::Test {
protected:
    RecordingCheckSink sink;
    ScopedCheckSink installed{&sink};
    treeInfo tree{QStringLiteral("/u"), QStringLiteral("/")};

    fileInfo* find(const QString& path) {
        for (fileInfo* n = tree.root(); n != tree.bottom(); n = n->next)
            if (tree.treePath(n) == path) return n;
        return nullptr;
    }
    // "path=count" of every node below the root, in list order.
    QStringList counts() {
        QStringList out;
        for (fileInfo* n = tree.root()->next; n != tree.bottom(); n = n->next)
            out.append(tree.treePath(n).mid(3) + u'=' + QString::number(n->cloneCount));
        return out;
    }
};

// ---- sortFile ----

struct SortCase {
    const char* what;
    std::vector<int> keys;
    std::vector<const char*> expected; // names in sorted order
};

TEST(SortFileTest, EveryKeyCodeAndItsReverse) {
    // name, size, stamp, depth, number, text, texts
    struct Row {
        const char* name;
        uint64_t size;
        uint64_t stamp;
        int depth;
        int number;
        const char* text;
        std::vector<QByteArrayView> texts;
    };
    const std::vector<Row> rows = {
        {"b.TXT", 30, 20200101000000, 2, 3, "beta", {"x", "b"}},
        {"A.dat", 10, 20210101000000, 1, 1, "Alpha", {"x"}},
        {"noext", 20, 20190101000000, 3, 2, "gamma", {"X", "a", "z"}},
        {"c.txt", 40, 20180101000000, 0, 0, "ALPHA2", {}},
        {"plain", 50, 20170101000000, 4, 4, "Beta", {"y"}},
    };
    treeInfo tree(QStringLiteral("/s"), QStringLiteral("/"));
    std::vector<sortRecord> records;
    for (const Row& r : rows) {
        fileInfo* n = tree.appendNode(tree.lastNode(), 1, QString::fromUtf8(r.name));
        n->size = r.size;
        n->stamp = r.stamp;
        n->depth = static_cast<int16_t>(r.depth);
        sortRecord rec;
        rec.node = n;
        rec.number = r.number;
        rec.text = QByteArrayView(r.text);
        records.push_back(rec);
    }
    for (std::size_t i = 0; i < rows.size(); ++i) records[i].texts = &rows[i].texts;
    const std::vector<SortCase> cases = {
        {"number", {SortNumber}, {"c.txt", "A.dat", "noext", "b.TXT", "plain"}},
        {"name without case", {SortName}, {"A.dat", "b.TXT", "c.txt", "noext", "plain"}},
        {"name reversed", {SortName | SortReverse}, {"plain", "noext", "c.txt", "b.TXT", "A.dat"}},
        {"size", {SortSize}, {"A.dat", "noext", "b.TXT", "c.txt", "plain"}},
        {"stamp", {SortStamp}, {"plain", "c.txt", "noext", "b.TXT", "A.dat"}},
        {"depth reversed", {SortDepth | SortReverse}, {"plain", "noext", "b.TXT", "A.dat", "c.txt"}},
        {"text without case", {SortText}, {"Alpha", "ALPHA2", "beta", "Beta", "gamma"}},
        // Names without "." first and equal among themselves (number decides), then by extension.
        {"extension", {SortExtension, SortNumber}, {"noext", "plain", "A.dat", "c.txt", "b.TXT"}},
        // Element by element without case; a list that ends first comes first.
        {"texts", {SortTexts, SortNumber}, {"c.txt", "A.dat", "noext", "b.TXT", "plain"}},
        {"keys after a negative code are ignored", {SortDepth, -1, SortNumber}, {"c.txt", "A.dat", "b.TXT", "noext", "plain"}},
    };
    for (const SortCase& c : cases) {
        std::vector<uint32_t> index{0, 1, 2, 3, 4};
        sortFile sorter(records.data(), records.size(), nullptr, nullptr);
        EXPECT_FALSE(sorter.sortRecords(0, 4, index, c.keys)) << c.what;
        std::vector<std::string> got;
        for (uint32_t i : index) {
            const sortRecord& r = records[i];
            got.push_back(c.keys[0] == SortText ? r.text.toByteArray().toStdString() : r.node->nameUtf8().toByteArray().toStdString());
        }
        // "beta" and "Beta" are equal without case: either order.
        if (c.keys[0] == SortText && got[2] == "Beta") std::swap(got[2], got[3]);
        EXPECT_EQ(got, std::vector<std::string>(c.expected.begin(), c.expected.end())) << c.what;
    }
}

TEST(SortFileTest, GroupStartsAndFindTextAfterATextSort) {
    const std::vector<QByteArrayView> texts = {"b", "A", "a", "c", "B", "a"};
    std::vector<sortRecord> records(texts.size());
    for (std::size_t i = 0; i < texts.size(); ++i) {
        records[i].text = texts[i];
        records[i].number = static_cast<int>(i);
    }
    std::vector<uint32_t> index{0, 1, 2, 3, 4, 5};
    sortFile sorter(records.data(), records.size(), nullptr, nullptr);
    ASSERT_FALSE(sorter.sortRecords(0, 5, index, {SortText, SortNumber}));
    EXPECT_EQ(index, (std::vector<uint32_t>{1, 2, 5, 0, 4, 3}));
    std::vector<int> starts;
    for (uint32_t i : index) starts.push_back(records[i].groupStart);
    EXPECT_EQ(starts, (std::vector<int>{0, 0, 0, 3, 3, 5}));
    EXPECT_EQ(sorter.findText("A"), 0);
    EXPECT_EQ(sorter.findText("b"), 3);
    EXPECT_EQ(sorter.findText("C"), 5);
    EXPECT_EQ(sorter.findText("d"), -1);
    EXPECT_EQ(sorter.findText(""), -1);
}

// Many equal keys, sorted input, reversed input and an organ pipe: the index ends up a sorted
// permutation whatever the shape, and a sort is never quadratic in a run of equal names.
TEST(SortFileTest, SortsLargeInputsOfEveryShape) {
    constexpr std::size_t n = 20000;
    std::mt19937 random(7);
    const std::vector<std::pair<const char*, std::function<int(std::size_t)>>> shapes = {
        {"random", [&](std::size_t) { return static_cast<int>(random() % 100000); }},
        {"few values", [&](std::size_t) { return static_cast<int>(random() % 3); }},
        {"all equal", [](std::size_t) { return 5; }},
        {"sorted", [](std::size_t i) { return static_cast<int>(i); }},
        {"reversed", [](std::size_t i) { return static_cast<int>(n - i); }},
        {"organ pipe", [](std::size_t i) { return static_cast<int>(i < n / 2 ? i : n - i); }},
    };
    for (const auto& [what, value] : shapes) {
        std::vector<sortRecord> records(n);
        for (std::size_t i = 0; i < n; ++i) records[i].number = value(i);
        std::vector<uint32_t> index(n);
        for (uint32_t i = 0; i < n; ++i) index[i] = i;
        sortFile sorter(records.data(), n, nullptr, nullptr);
        ASSERT_FALSE(sorter.sortRecords(0, n - 1, index, {SortNumber}));
        for (std::size_t i = 1; i < n; ++i) ASSERT_LE(records[index[i - 1]].number, records[index[i]].number) << what << " at " << i;
        std::vector<uint32_t> sorted = index;
        std::sort(sorted.begin(), sorted.end());
        for (uint32_t i = 0; i < n; ++i) ASSERT_EQ(sorted[i], i) << what;
        EXPECT_LT(sorter.steps(), 60 * n) << what; // n log n is 14 n; quadratic would be 10000 n
    }
}

// Texts sharing their first 16 bytes, differing in case only, or being prefixes of each other:
// the text sort agrees with compareCaseless either way round.
TEST(SortFileTest, SortsTextsBeyondTheirFirstSixteenBytesInBothDirections) {
    std::mt19937 random(11);
    std::vector<QByteArray> storage;
    for (int i = 0; i < 5000; ++i) {
        const int v = static_cast<int>(random() % 700);
        switch (i % 4) {
        case 0: storage.push_back(QByteArray("a_long_common_prefix_") + QByteArray::number(v)); break;
        case 1: storage.push_back(QByteArray("A_LONG_COMMON_PREFIX_") + QByteArray::number(v)); break;
        case 2: storage.push_back(QByteArray("a_long_common_prefix").left(v % 21)); break;
        default: storage.push_back(QByteArray::number(v) + QByteArray("\xe5\x86\x99.jpg")); break;
        }
    }
    for (int reverse : {0, int(SortReverse)}) {
        std::vector<sortRecord> records(storage.size());
        for (std::size_t i = 0; i < storage.size(); ++i) records[i].text = storage[i];
        std::vector<uint32_t> index(records.size());
        for (uint32_t i = 0; i < index.size(); ++i) index[i] = i;
        sortFile sorter(records.data(), records.size(), nullptr, nullptr);
        ASSERT_FALSE(sorter.sortRecords(0, index.size() - 1, index, {SortText | reverse}));
        for (std::size_t i = 1; i < index.size(); ++i) {
            const int c = compareCaseless(records[index[i - 1]].text, records[index[i]].text);
            ASSERT_TRUE(reverse ? c >= 0 : c <= 0) << i;
        }
    }
}

TEST(SortFileTest, APressOnTheBreakPanelAsksAndOnlyYesStops) {
    RecordingCheckSink sink;
    ScopedCheckSink installed(&sink);
    for (int answer : {0, -1, 1}) {
        sink.records.clear();
        sink.answers = {answer};
        std::vector<sortRecord> records(5000);
        for (std::size_t i = 0; i < records.size(); ++i) records[i].number = static_cast<int>((i * 7919) % 5000);
        std::vector<uint32_t> index(records.size());
        for (uint32_t i = 0; i < index.size(); ++i) index[i] = i;
        FlagBreakPoll poll;
        poll.flag = true;
        std::vector<QString> shown;
        sortFile sorter(records.data(), records.size(), [&](const QString& t) { shown.push_back(t); }, &poll);
        const bool cancelled = sorter.sortRecords(0, index.size() - 1, index, {SortNumber});
        EXPECT_EQ(cancelled, answer == 1) << answer;
        ASSERT_EQ(sink.records.size(), 1u);
        EXPECT_EQ(sink.records[0].text, "並べ替えを中止しますか？(Y/N)");
        EXPECT_EQ(sink.records[0].caption, "並べ替え");
        ASSERT_FALSE(shown.empty());
        EXPECT_TRUE(shown.front().startsWith("1:")) << shown.front().toStdString(); // steps/1000:depth
        if (!cancelled) {
            EXPECT_TRUE(std::is_sorted(index.begin(), index.end(), [&](uint32_t a, uint32_t b) {
                return records[a].number < records[b].number;
            }));
        }
    }
}

// ---- counting ----

TEST_F(CloneTest, CountsByFoldedNameSizeAndHourBelowTheTopGalaxyOnly) {
    ASSERT_TRUE(readChart(tree, {
        "0|17|/u|0|20240501000000",
        "1|1|top|0|20240501000000",
        "2|2|a.txt|5|20240501100500",
        "2|2|A.TXT|5|20240501104000", // case differs: a clone when counting
        "2|2|a.txt|5|20240501110000", // another hour
        "2|2|a.txt|6|20240501100500", // another size
        "2|1|g1|0|20240501000000",
        "3|2|b.bin|9|20240501000000",
        "2|1|g2|0|20240501000000",
        "3|2|b.bin|9|20240501005959", // same hour
        "1|2|a.txt|5|20240501100500", // outside the top galaxy
    }));
    tree.topGalaxy = find("/u/top");
    NebuClones clones(tree, nullptr, nullptr);
    EXPECT_TRUE(clones.countClones());
    EXPECT_EQ(counts(), QStringList({"top=0", "top/a.txt=1", "top/A.TXT=1", "top/a.txt=0", "top/a.txt=0", "top/g1=0",
                                     "top/g1/b.bin=1", "top/g2=0", "top/g2/b.bin=1", "a.txt=-1"}));
    ASSERT_EQ(sink.records.size(), 1u);
    EXPECT_EQ(sink.records[0].text, "クローン（複製）数 4 種類（最大 1 個 [星]名 a.txt）");
    EXPECT_EQ(sink.records[0].caption, "クローン星検出");
    EXPECT_EQ(tree.clonesComputed, 1);

    // A second count without a new scan keeps the old counts and says nothing.
    find("/u/top/g2/b.bin")->size = 1;
    EXPECT_TRUE(clones.countClones());
    EXPECT_EQ(find("/u/top/g1/b.bin")->cloneCount, 1);
    EXPECT_EQ(sink.records.size(), 1u);
}

TEST_F(CloneTest, GalaxiesOfEqualNameSizeAndHourAreClonesAndTheLargestKindIsNamed) {
    ASSERT_TRUE(readChart(tree, {
        "0|17|/u|0|20240501000000",
        "1|1|pics|0|20240501000000",
        "2|2|x.jpg|7|20240501000000",
        "1|1|old|0|20240501000000",
        "2|1|PICS|0|20240501000000",
        "3|2|x.jpg|7|20240501000000",
        "2|2|x.jpg|7|20240501003000",
    }));
    NebuClones clones(tree, nullptr, nullptr);
    EXPECT_TRUE(clones.countClones());
    EXPECT_EQ(counts(), QStringList({"pics=1", "pics/x.jpg=2", "old=0", "old/PICS=1", "old/PICS/x.jpg=2", "old/x.jpg=2"}));
    EXPECT_EQ(sink.records.back().text, "クローン（複製）数 5 種類（最大 2 個 [星]名 x.jpg）");
}

TEST_F(CloneTest, NothingToCountTurnsTheViewOff) {
    struct Case {
        const char* what;
        QStringList chart;
        const char* message; // nullptr: none
    };
    const std::vector<Case> cases = {
        {"no clones", {"0|17|/u|0|0", "1|2|a|1|20240501000000", "1|2|b|1|20240501000000"}, "クローン星はありません。"},
        {"a single node", {"0|17|/u|0|0", "1|2|a|1|20240501000000"}, nullptr},
        {"an empty tree", {"0|17|/u|0|0"}, nullptr},
    };
    for (const Case& c : cases) {
        sink.records.clear();
        ASSERT_TRUE(readChart(tree, c.chart)) << c.what;
        NebuClones clones(tree, nullptr, nullptr);
        EXPECT_EQ(clones.toggleCloneView(ViewSize), ViewSize) << c.what;
        EXPECT_EQ(tree.clonesComputed, 0) << c.what;
        ASSERT_EQ(sink.records.size(), c.message ? 1u : 0u) << c.what;
        if (c.message) {
            EXPECT_EQ(sink.records[0].text, c.message);
            EXPECT_EQ(sink.records[0].caption, "クローン星検出");
        }
    }
}

TEST_F(CloneTest, TheViewTogglesAndShowsOldCountsAgainWithoutRecounting) {
    ASSERT_TRUE(readChart(tree, {"0|17|/u|0|0", "1|1|g|0|20240501000000", "2|2|a|1|20240501000000", "1|2|a|1|20240501000000"}));
    NebuClones clones(tree, nullptr, nullptr);
    const int on = clones.toggleCloneView(ViewTime);
    EXPECT_EQ(on, ViewTime | ViewClones);
    EXPECT_EQ(clones.toggleCloneView(on | ViewClonesInverted), ViewTime | ViewClonesInverted);
    EXPECT_EQ(clones.toggleCloneView(ViewTime), ViewTime | ViewClones);
    EXPECT_EQ(sink.records.size(), 1u); // the count's message, once
}

TEST_F(CloneTest, ManyNodesAskFirstAndNoLeavesEverythingUntouched) {
    fileInfo* last = tree.root();
    for (int i = 0; i < NebuClones::kAskAbove + 1; ++i) last = tree.appendNode(last, 1, QStringLiteral("s"));
    tree.rebuildLinks();
    sink.answers = {0};
    NebuClones clones(tree, nullptr, nullptr);
    EXPECT_EQ(clones.toggleCloneView(0), 0);
    ASSERT_EQ(sink.records.size(), 1u);
    EXPECT_EQ(sink.records[0].text, "〔 200001 〕個の処理に時間がかかります。続けますか？(Y/N)");
    EXPECT_EQ(sink.records[0].caption, "クローンの検出");
    EXPECT_EQ(tree.clonesComputed, 0);
    EXPECT_EQ(tree.lastNode()->cloneCount, -1);
}

TEST_F(CloneTest, ABreakWhileCountingReportsItAndTurnsTheViewOff) {
    fileInfo* last = tree.root();
    for (int i = 0; i < 3000; ++i) {
        last = tree.appendNode(last, 1, QStringLiteral("n%1").arg(i % 1000));
        last->stamp = 20240501000000;
    }
    tree.rebuildLinks();
    FlagBreakPoll poll;
    poll.flag = true;
    sink.answers = {1}; // yes to the sort's question
    NebuClones clones(tree, &poll, nullptr);
    EXPECT_EQ(clones.toggleCloneView(0), 0);
    ASSERT_EQ(sink.records.size(), 2u);
    EXPECT_EQ(sink.records[0].text, "並べ替えを中止しますか？(Y/N)");
    EXPECT_EQ(sink.records[1].text, "検索が中断されました！");
    EXPECT_EQ(sink.records[1].caption, "[中断] パネルにタッチすると検索が中断されます。");
    EXPECT_EQ(tree.clonesComputed, 0);

    // Going on after "いいえ" counts: every name three times.
    sink.records.clear();
    sink.answers = {0};
    poll.flag = true;
    EXPECT_EQ(clones.toggleCloneView(0), ViewClones);
    EXPECT_EQ(tree.lastNode()->cloneCount, 2);
    EXPECT_EQ(sink.records.back().text, "クローン（複製）数 3000 種類（最大 2 個 [星]名 n0）");
}

// ---- marking ----

TEST_F(CloneTest, MarkingMarksEveryCloneOfTheWholeTreeAndClearsOtherMarks) {
    ASSERT_TRUE(readChart(tree, {
        "0|17|/u|0|0",
        "1|1|g|0|20240501000000",
        "2|2|a.txt|5|20240501100500",
        "2|2|b.txt|5|20240501100500",
        "1|2|A.TXT|5|20240501105900",
        "1|2|a.txt|5|20240501110000",
    }));
    find("/u/g/b.txt")->marks |= MarkMarked;
    tree.topGalaxy = find("/u/g"); // marking is not limited to the top galaxy
    NebuClones clones(tree, nullptr, nullptr);
    EXPECT_EQ(clones.markClones(*find("/u/g/a.txt")), 2);
    QStringList marked;
    for (fileInfo* n = tree.root(); n != tree.bottom(); n = n->next)
        if (n->marks & MarkMarked) marked.append(tree.treePath(n));
    EXPECT_EQ(marked, QStringList({"/u/g/a.txt", "/u/A.TXT"}));
    EXPECT_TRUE(sink.records.empty());
}

// ---- deletion of what is not a local file ----

TEST_F(CloneTest, DeletionNeverTouchesPathsOfAnotherSystemOrAChart) {
    const QStringList stars = {"1|2|a|1|20240501000000", "1|2|a|1|20240501000000", "1|2|a|1|20240501000000",
                               "1|2|a|1|20240501000000"};
    // A drive letter: each surplus clone fails with its path, and "いいえ" stops.
    ASSERT_TRUE(readChart(tree, QStringList{"0|17|C:\\|0|0"} + stars));
    sink.answers = {1, 0};
    NebuClones::Deletion done = NebuClones(tree, nullptr, nullptr).deleteClones(tree.root());
    ASSERT_EQ(sink.records.size(), 2u);
    EXPECT_EQ(sink.records[1].text, "〔C:\\a〕の削除に失敗しました！ 続けますか(y/n)");
    EXPECT_EQ(done.erased, 0);
    EXPECT_EQ(tree.starCount, 4);
    // A chart (a root that names no place): nothing is asked or done.
    sink.records.clear();
    ASSERT_TRUE(readChart(tree, QStringList{"0|1|mychart|0|0"} + stars));
    ASSERT_TRUE(tree.chartMode);
    done = NebuClones(tree, nullptr, nullptr).deleteClones(tree.root());
    EXPECT_FALSE(done.asked);
    EXPECT_TRUE(sink.records.empty());
}

// ---- deletion on real files ----

class CloneDeletionTest : public testing::Test {
protected:
    RecordingCheckSink sink;
    ScopedCheckSink installed{&sink};
    TempFolder folder;
    std::unique_ptr<UniverseModel> model;

    static constexpr std::time_t kTime = 1714550700; // one fixed modification time for every copy

    void file(const QString& name, const QByteArray& bytes = "same bytes", std::time_t when = kTime) {
        const QString path = folder.write(name, bytes);
        ASSERT_FALSE(path.isEmpty());
        const struct timespec times[2] = {{when, 0}, {when, 0}};
        ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0), 0);
    }
    void scan() {
        model = std::make_unique<UniverseModel>(folder.path(), QStringLiteral("/"));
        model->tree().searchDepth = 999;
        ASSERT_EQ(model->openPath(), 1);
    }
    treeInfo& tree() { return model->tree(); }
    fileInfo* node(const QString& relative) {
        for (fileInfo* n = tree().root(); n != tree().bottom(); n = n->next)
            if (tree().treePath(n) == folder.file(relative)) return n;
        return nullptr;
    }
    // The stars left in the tree and on disk, relative to the folder.
    QStringList starsInTree() {
        QStringList out;
        for (fileInfo* n = tree().root()->next; n != tree().bottom(); n = n->next)
            if (!n->isGalaxy()) out.append(tree().treePath(n).mid(folder.path().size() + 1));
        return out;
    }
    QStringList onDisk(const QStringList& names) {
        QStringList out;
        for (const QString& n : names)
            if (QFile::exists(folder.file(n))) out.append(n);
        return out;
    }
};

TEST_F(CloneDeletionTest, AGalaxyKeepsTheFirstThreeOfEachKindAndErasesTheRestForGood) {
    const QStringList copies = {"g/1/c.txt", "g/2/c.txt", "g/3/c.txt", "g/4/c.txt", "g/5/c.txt"};
    for (const QString& c : copies) file(c);
    file("g/5/C.TXT");           // another name when deleting: stays
    file("g/5/d.txt", "x");      // a single star: stays
    file("h/1/c.txt");           // the same kind outside the galaxy: counted, list order decides
    scan();
    const int64_t starsBefore = tree().starCount;
    const QStringList listed = starsInTree();
    ASSERT_EQ(listed, QStringList({"g/1/c.txt", "g/2/c.txt", "g/3/c.txt", "g/4/c.txt", "g/5/C.TXT", "g/5/c.txt", "g/5/d.txt",
                                   "h/1/c.txt"}));
    sink.answers = {1};
    NebuClones clones(tree(), nullptr, nullptr);
    const NebuClones::Deletion done = clones.deleteClones(node("g"));
    ASSERT_EQ(sink.records.size(), 1u) << sink.records.back().text.toStdString();
    EXPECT_EQ(sink.records[0].text, "銀河(（g）内のクローン星を\n\n削除しますか？（前３個を残す）");
    EXPECT_EQ(sink.records[0].caption, "クローン星の削除");
    EXPECT_EQ(done.erased, 3);
    EXPECT_FALSE(done.stopped);
    const QStringList kept = {"g/1/c.txt", "g/2/c.txt", "g/3/c.txt", "g/5/C.TXT", "g/5/d.txt"};
    EXPECT_EQ(starsInTree(), kept);
    EXPECT_EQ(onDisk(listed), kept);
    EXPECT_EQ(tree().starCount, starsBefore - 3);
    EXPECT_EQ(node("g/4")->size, 0u); // galaxy sizes summed again
    EXPECT_EQ(node("g")->size, 3 * 10u + 10 + 1);
    EXPECT_TRUE(node("g/4")->isGalaxy()); // galaxies stay, even when emptied
}

TEST_F(CloneDeletionTest, AStarKeepsThreeAndOnlyTheAnswerYesDeletes) {
    for (const char* c : {"1/s.bin", "2/s.bin", "3/s.bin", "4/s.bin"}) file(c);
    file("5/s.bin", "same bytes", kTime + 60); // another minute: not identical, stays
    scan();
    for (int answer : {0, -1}) {
        sink.records.clear();
        sink.answers = {answer};
        EXPECT_FALSE(NebuClones(tree(), nullptr, nullptr).deleteClones(node("2/s.bin")).asked);
        EXPECT_EQ(sink.records.size(), 1u);
        EXPECT_EQ(starsInTree().size(), 5);
    }
    sink.records.clear();
    sink.answers = {1};
    const NebuClones::Deletion done = NebuClones(tree(), nullptr, nullptr).deleteClones(node("2/s.bin"));
    EXPECT_EQ(sink.records[0].text, "[星](（s.bin）のクローン星を削除しますか？（前３個を残す）");
    EXPECT_EQ(done.erased, 1);
    EXPECT_EQ(starsInTree(), QStringList({"1/s.bin", "2/s.bin", "3/s.bin", "5/s.bin"}));
    EXPECT_FALSE(QFile::exists(folder.file("4/s.bin")));
}

TEST_F(CloneDeletionTest, AFileChangedSinceTheScanIsRefusedWithTheFailureQuestion) {
    for (const char* c : {"1/c.txt", "2/c.txt", "3/c.txt", "4/c.txt", "5/c.txt", "6/c.txt"}) file(c);
    file("1/e.txt", "e");
    for (const char* c : {"2/e.txt", "3/e.txt", "4/e.txt"}) file(c, "e");
    scan();
    file("4/c.txt", "changed!!!", kTime + 3600); // same size, another time
    file("4/e.txt", "longer");                   // same time, another size
    ASSERT_EQ(::unlink(QFile::encodeName(folder.file("6/c.txt")).constData()), 0); // gone already

    // "はい" to the first failure goes on with the next kind; "いいえ" to the second stops all.
    sink.answers = {1, 1, 0};
    const NebuClones::Deletion done = NebuClones(tree(), nullptr, nullptr).deleteClones(tree().root());
    ASSERT_EQ(sink.records.size(), 3u);
    EXPECT_EQ(sink.records[1].text, "〔" + folder.file("4/c.txt") + "〕の削除に失敗しました！ 続けますか(y/n)");
    EXPECT_EQ(sink.records[1].caption, "クローン星の削除");
    EXPECT_EQ(sink.records[2].text, "〔" + folder.file("4/e.txt") + "〕の削除に失敗しました！ 続けますか(y/n)");
    EXPECT_TRUE(done.stopped);
    EXPECT_EQ(done.erased, 0);
    EXPECT_TRUE(QFile::exists(folder.file("4/c.txt")));
    EXPECT_TRUE(QFile::exists(folder.file("5/c.txt"))); // the kind was left after its failure
    EXPECT_TRUE(QFile::exists(folder.file("4/e.txt")));
    EXPECT_EQ(starsInTree().size(), 10); // a refused or vanished star stays in the tree
}

TEST_F(CloneDeletionTest, ABreakAsksAndYesStopsBeforeAnythingIsErased) {
    for (int i = 0; i < 5; ++i) file(QStringLiteral("%1/c.txt").arg(i));
    scan();
    FlagBreakPoll poll;
    poll.flag = true;
    sink.answers = {1, 1};
    const NebuClones::Deletion done = NebuClones(tree(), &poll, nullptr).deleteClones(node("0/c.txt"));
    ASSERT_EQ(sink.records.size(), 2u);
    EXPECT_EQ(sink.records[1].text, "クローン星の削除を中止しますか？(Y/N)");
    EXPECT_TRUE(done.stopped);
    EXPECT_EQ(done.erased, 0);
    EXPECT_EQ(starsInTree().size(), 5);
}

TEST_F(CloneDeletionTest, CurrentCountsAreRedoneAfterwards) {
    for (int i = 0; i < 5; ++i) file(QStringLiteral("%1/c.txt").arg(i));
    scan();
    NebuClones clones(tree(), nullptr, nullptr);
    ASSERT_TRUE(clones.countClones());
    EXPECT_EQ(node("0/c.txt")->cloneCount, 4);
    sink.answers = {1};
    EXPECT_EQ(clones.deleteClones(node("0/c.txt")).erased, 2);
    EXPECT_EQ(node("0/c.txt")->cloneCount, 2);
}

// ---- the tree update of a deletion ----

TEST_F(CloneTest, RemovingANodeKeepsSiblingMarksCountersSizesAndTheWindowStateRight) {
    ASSERT_TRUE(readChart(tree, {
        "0|17|/u|0|0",
        "1|1|g|0|0",
        "2|2|a|1|0",
        "2|2|b|2|0",
        "2|1|h|0|0",
        "3|2|c|4|0",
        "1|2|z|8|0",
    }));
    tree.sumSizes();
    ASSERT_EQ(tree.starCount, 4);
    ASSERT_EQ(tree.galaxyCount, 3);
    tree.topGalaxy = find("/u/g/h");
    tree.current = find("/u/g/h/c");

    // The last of its galaxy: the previous sibling becomes the last.
    fileInfo* h = find("/u/g/h");
    fileInfo* after = tree.removeSubtree(h);
    EXPECT_EQ(after->name(), "z");
    EXPECT_EQ(tree.topGalaxy, find("/u/g"));
    EXPECT_EQ(tree.current, find("/u/g"));
    EXPECT_EQ(tree.starCount, 3);
    EXPECT_EQ(tree.galaxyCount, 2);
    EXPECT_EQ(find("/u/g")->size, 3u);
    EXPECT_EQ(tree.root()->size, 11u);
    EXPECT_FALSE(find("/u/g/b")->marks & MarkSiblingFollows);
    EXPECT_TRUE(find("/u/g/a")->marks & MarkSiblingFollows);
    EXPECT_EQ(tree.nodeCount(), 4u);

    // A middle node: its neighbours are linked, marks stay.
    tree.removeSubtree(find("/u/g/a"));
    QStringList left;
    for (fileInfo* n = tree.root(); n != tree.bottom(); n = n->next) left.append(n->name() + u'=' + QString::number(n->size));
    EXPECT_EQ(left, QStringList({"/u=10", "g=2", "b=2", "z=8"}));
    EXPECT_EQ(find("/u/g/b")->prev, find("/u/g"));
    EXPECT_EQ(tree.nodeCount(), 3u);
    // New nodes go on after the removed ones' slots.
    fileInfo* n = tree.appendNode(tree.lastNode(), 1, QStringLiteral("new"));
    ASSERT_NE(n, nullptr);
    EXPECT_EQ(tree.nodeCount(), 4u);
    EXPECT_EQ(find("/u/g/b")->name(), "b");
}

} // namespace
