#include "common/Platform.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QThread>

#include <gtest/gtest.h>

#include <chrono>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString linkTarget(const QString& path) {
    return QFile::symLinkTarget(path);
}

QByteArray contents(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

bool exists(const QString& path) {
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0;
}

// A small tree: top/a.txt, top/sub/b.txt, top/sub/link -> ../a.txt
void makeTree(const TempFolder& tmp, const QString& top) {
    tmp.write(top + "/a.txt", "alpha");
    tmp.write(top + "/sub/b.txt", "beta");
    ASSERT_TRUE(QFile::link("../a.txt", tmp.file(top + "/sub/link")));
}

void expectTree(const QString& root) {
    EXPECT_EQ(contents(root + "/a.txt"), "alpha");
    EXPECT_EQ(contents(root + "/sub/b.txt"), "beta");
    EXPECT_EQ(QFileInfo(root + "/sub/link").isSymLink(), true);
    EXPECT_TRUE(linkTarget(root + "/sub/link").endsWith("/a.txt"));
}

TEST(ListFolder, FixedOrderAttributesAndLinksNotFollowed) {
    TempFolder tmp;
    tmp.write("dir/b.txt", "12345");
    tmp.write("dir/.hidden", "");
    tmp.write("dir/ro", "x");
    ASSERT_EQ(::chmod(QFile::encodeName(tmp.file("dir/ro")).constData(), 0444), 0);
    ASSERT_TRUE(QDir().mkpath(tmp.file("dir/A")));
    ASSERT_TRUE(QFile::link(tmp.file("dir/A"), tmp.file("dir/link")));
    ASSERT_EQ(::mkfifo(QFile::encodeName(tmp.file("dir/pipe")).constData(), 0644), 0);

    std::vector<FolderEntry> entries;
    ASSERT_TRUE(listFolder(tmp.file("dir"), entries));
    const struct {
        const char* name;
        uint32_t attributes;
    } expected[] = {
        {".hidden", AttrArchive | AttrHidden},
        {"A", AttrDirectory},
        {"b.txt", AttrArchive},
        {"link", AttrLink},
        {"pipe", AttrSystem},
        {"ro", AttrArchive | AttrReadOnly},
    };
    ASSERT_EQ(entries.size(), std::size(expected));
    for (size_t i = 0; i < entries.size(); ++i) {
        EXPECT_EQ(entries[i].name, expected[i].name) << i;
        EXPECT_EQ(entries[i].attributes, expected[i].attributes) << entries[i].name.toStdString();
    }
    EXPECT_EQ(entries[2].size, 5u);
    EXPECT_GT(entries[2].modified, 0);

    std::vector<FolderEntry> untouched(1);
    EXPECT_FALSE(listFolder(tmp.file("missing"), untouched));
    EXPECT_EQ(untouched.size(), 1u);
}

// A walk opens each folder relative to its parent and must refuse a link in a folder's place,
// whatever the link points to, so a folder swapped for a link is never entered.
TEST(FolderHandle, OpensChildFoldersButNeverALink) {
    TempFolder tmp;
    tmp.write("top/sub/in.txt", "x");
    ASSERT_TRUE(QFile::link(tmp.file("top/sub"), tmp.file("top/link")));
    ASSERT_TRUE(QFile::link(tmp.path(), tmp.file("top/up")));
    const FolderHandle top(tmp.file("top"));
    ASSERT_TRUE(top.ok());
    const struct {
        const char* name;
        bool opens;
    } cases[] = {{"sub", true}, {"link", false}, {"up", false}, {"missing", false}, {"sub/in.txt", false}};
    for (const auto& c : cases) EXPECT_EQ(top.openChild(c.name).ok(), c.opens) << c.name;

    std::vector<FolderEntry> entries;
    ASSERT_TRUE(top.openChild("sub").list(entries));
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].name, "in.txt");
    FolderEntry self;
    EXPECT_TRUE(top.stat(self));
    EXPECT_TRUE(self.attributes & AttrDirectory);
    EXPECT_FALSE(FolderHandle(tmp.file("top/sub/in.txt")).ok()) << "a file is no folder";
}

TEST(StatPath, NamesTheEntryAndKeepsLinks) {
    TempFolder tmp;
    tmp.write("f.bin", "abc");
    ASSERT_TRUE(QFile::link(tmp.file("f.bin"), tmp.file("l")));
    FolderEntry e;
    ASSERT_TRUE(statPath(tmp.file("f.bin"), e));
    EXPECT_EQ(e.name, "f.bin");
    EXPECT_EQ(e.size, 3u);
    ASSERT_TRUE(statPath(tmp.file("l"), e));
    EXPECT_EQ(e.attributes & AttrLink, AttrLink);
    ASSERT_TRUE(statPath(tmp.path() + "/", e));
    EXPECT_EQ(e.attributes & AttrDirectory, AttrDirectory);
    EXPECT_FALSE(statPath(tmp.file("none"), e));
}

// Only regular files are read, and every refusal says why; a FIFO without a writer or an endless
// device is refused at once instead of blocking or reading for ever.
TEST(ReadFile, WholeFilesHeadsAndLimits) {
    TempFolder tmp;
    tmp.write("ten.txt", "0123456789");
    tmp.write("secret.txt", "hidden");
    ::chmod(QFile::encodeName(tmp.file("secret.txt")).constData(), 0);
    ASSERT_TRUE(makeFolders(tmp.file("folder")));
    ASSERT_EQ(::mkfifo(QFile::encodeName(tmp.file("pipe.nebu")).constData(), 0600), 0);
    struct Case {
        const char* what;
        QString path;
        qint64 maxBytes;
        FileFault fault;
        QByteArray bytes;
    };
    const std::vector<Case> cases = {
        {"whole file", tmp.file("ten.txt"), 100, FileFault::None, "0123456789"},
        {"exactly at the limit", tmp.file("ten.txt"), 10, FileFault::None, "0123456789"},
        {"past the limit", tmp.file("ten.txt"), 9, FileFault::TooLarge, "untouched"},
        {"a folder", tmp.file("folder"), 100, FileFault::NotRegular, "untouched"},
        {"a FIFO", tmp.file("pipe.nebu"), 100, FileFault::NotRegular, "untouched"},
        {"an endless device", QStringLiteral("/dev/zero"), kMaxReadBytes, FileFault::NotRegular, "untouched"},
        {"missing", tmp.file("none"), 100, FileFault::Missing, "untouched"},
        {"below a file", tmp.file("ten.txt/x"), 100, FileFault::Missing, "untouched"},
        // The superuser reads every file, so the refusal only shows for others.
        {"no permission", tmp.file("secret.txt"), 100, ::geteuid() == 0 ? FileFault::None : FileFault::Denied,
         ::geteuid() == 0 ? "hidden" : "untouched"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QByteArray bytes = "untouched";
        FileFault fault = FileFault::Unreadable;
        EXPECT_EQ(readFileBytes(c.path, bytes, c.maxBytes, &fault), c.fault == FileFault::None);
        EXPECT_EQ(fault, c.fault);
        EXPECT_EQ(bytes, c.bytes);
        EXPECT_EQ(readableFault(c.path, c.maxBytes), c.fault);
        FileChunkReader chunks(c.path);
        const bool opens = c.fault == FileFault::None || c.fault == FileFault::TooLarge;
        EXPECT_EQ(chunks.ok(), opens);
        EXPECT_EQ(chunks.fault(), opens ? FileFault::None : c.fault);
    }
    // Each fault has its own text; "does not exist" only for a missing file.
    QStringList texts;
    for (FileFault f : {FileFault::Missing, FileFault::Denied, FileFault::NotRegular, FileFault::TooLarge, FileFault::Unreadable})
        texts.append(fileFaultText(f, QStringLiteral("無い")));
    EXPECT_EQ(texts.first(), QStringLiteral("無い"));
    texts.removeDuplicates();
    EXPECT_EQ(texts.size(), 5);
    // A /proc file reports size 0 and is still read to its end, and still within the limit.
    QByteArray status;
    ASSERT_TRUE(readFileBytes(QStringLiteral("/proc/self/status"), status));
    EXPECT_TRUE(status.contains("\nPid:")) << status.left(200).constData();
    EXPECT_FALSE(readFileBytes(QStringLiteral("/proc/self/status"), status, 16));

    EXPECT_EQ(readFileHead(tmp.file("ten.txt"), 4), "0123");
    EXPECT_EQ(readFileHead(tmp.file("ten.txt"), 50), "0123456789");
    EXPECT_EQ(readFileHead(tmp.file("none"), 4), "");
}

TEST(WriteFileAtomic, KeepsModeFollowsLinksAndLeavesNothingBehind) {
    TempFolder tmp;
    const QString target = tmp.write("t.txt", "old");
    ASSERT_EQ(::chmod(QFile::encodeName(target).constData(), 0640), 0);
    ASSERT_TRUE(QFile::link(target, tmp.file("link")));
    ASSERT_TRUE(writeFileAtomic(tmp.file("link"), "new"));
    EXPECT_TRUE(QFileInfo(tmp.file("link")).isSymLink()) << "the link stays a link";
    EXPECT_EQ(contents(target), "new");
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(target).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);

    ASSERT_TRUE(writeFileAtomic(tmp.file("fresh.txt"), ""));
    EXPECT_TRUE(fileExists(tmp.file("fresh.txt")));
    EXPECT_FALSE(writeFileAtomic(tmp.file("missing/x.txt"), "x"));
    ASSERT_TRUE(makeFolders(tmp.file("dir")));
    EXPECT_FALSE(writeFileAtomic(tmp.file("dir"), "x"));
    EXPECT_TRUE(dirExists(tmp.file("dir")));
    EXPECT_EQ(QDir(tmp.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System | QDir::Hidden),
              QStringList({"dir", "fresh.txt", "link", "t.txt"}));
}

// Temporary files left by a save killed before its rename go with the next save of that file;
// other files, even of similar names, stay.
TEST(WriteFileAtomic, TheNextSaveRemovesTemporariesAnInterruptedOneLeft) {
    TempFolder tmp;
    for (const char* name : {"t.txt.tmp1a2b3c4d", "t.txt.tmp0", "t.txt.tmpnote", "t.txt.tmp", "u.txt.tmp1f", "t.txt"})
        tmp.write(name, "x");
    ASSERT_TRUE(writeFileAtomic(tmp.file("t.txt"), "new"));
    EXPECT_EQ(contents(tmp.file("t.txt")), "new");
    EXPECT_EQ(QDir(tmp.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System | QDir::Hidden),
              QStringList({"t.txt", "t.txt.tmp", "t.txt.tmpnote", "u.txt.tmp1f"}));
}

TEST(RenameNoReplace, NeverReplaces) {
    TempFolder tmp;
    tmp.write("a", "A");
    tmp.write("b", "B");
    EXPECT_FALSE(renameNoReplace(tmp.file("a"), tmp.file("b")));
    EXPECT_EQ(contents(tmp.file("a")), "A");
    EXPECT_EQ(contents(tmp.file("b")), "B");
    EXPECT_TRUE(renameNoReplace(tmp.file("a"), tmp.file("c")));
    EXPECT_FALSE(exists(tmp.file("a")));
    EXPECT_EQ(contents(tmp.file("c")), "A");
    ASSERT_TRUE(QDir().mkpath(tmp.file("d1/x")));
    ASSERT_TRUE(QDir().mkpath(tmp.file("d2")));
    EXPECT_FALSE(renameNoReplace(tmp.file("d1"), tmp.file("d2")));
    EXPECT_TRUE(renameNoReplace(tmp.file("d1"), tmp.file("d3")));
    EXPECT_TRUE(dirExists(tmp.file("d3/x")));
}

TEST(CopyPath, CopiesTreesAndNeverReplaces) {
    TempFolder tmp;
    makeTree(tmp, "top");
    ASSERT_EQ(copyPath(tmp.file("top"), tmp.file("copy")), 0);
    expectTree(tmp.file("copy"));
    expectTree(tmp.file("top"));

    tmp.write("other/keep.txt", "mine");
    EXPECT_NE(copyPath(tmp.file("top"), tmp.file("other")), 0);
    EXPECT_EQ(contents(tmp.file("other/keep.txt")), "mine");
    EXPECT_FALSE(exists(tmp.file("other/a.txt")));

    EXPECT_NE(copyPath(tmp.file("top"), tmp.file("top/sub/inner")), 0);
    EXPECT_FALSE(exists(tmp.file("top/sub/inner")));
    EXPECT_NE(copyPath(tmp.file("missing"), tmp.file("x")), 0);
}

TEST(CopyPath, FailedCopyLeavesNoPartialTarget) {
    TempFolder tmp;
    tmp.write("src/a.txt", "alpha");
    ASSERT_EQ(::mkfifo(QFile::encodeName(tmp.file("src/zz-pipe")).constData(), 0644), 0);
    EXPECT_NE(copyPath(tmp.file("src"), tmp.file("dst")), 0);
    EXPECT_FALSE(exists(tmp.file("dst")));
    EXPECT_EQ(contents(tmp.file("src/a.txt")), "alpha");
}

TEST(MovePath, MovesWithinAndRefusesToReplace) {
    TempFolder tmp;
    makeTree(tmp, "top");
    tmp.write("taken", "t");
    EXPECT_NE(movePath(tmp.file("top"), tmp.file("taken")), 0);
    EXPECT_NE(movePath(tmp.file("top"), tmp.file("top/sub/in")), 0);
    expectTree(tmp.file("top"));
    ASSERT_EQ(movePath(tmp.file("top"), tmp.file("moved")), 0);
    expectTree(tmp.file("moved"));
    EXPECT_FALSE(exists(tmp.file("top")));
}

// A second file system for the cases that cross one (/dev/shm is usually tmpfs).
QString otherVolumeFolder(const TempFolder& tmp) {
    struct stat a {
    }, b{};
    if (::stat("/dev/shm", &b) != 0 || ::stat(QFile::encodeName(tmp.path()).constData(), &a) != 0) return {};
    if (a.st_dev == b.st_dev || ::access("/dev/shm", W_OK) != 0) return {};
    return QStringLiteral("/dev/shm/vimora-test-%1").arg(::getpid());
}

TEST(MovePath, CopiesAcrossFileSystemsThenErases) {
    TempFolder tmp;
    const QString other = otherVolumeFolder(tmp);
    if (other.isEmpty()) GTEST_SKIP() << "no second writable file system";
    makeTree(tmp, "top");
    ASSERT_EQ(movePath(tmp.file("top"), other), 0);
    expectTree(other);
    EXPECT_FALSE(exists(tmp.file("top")));
    EXPECT_EQ(eraseFile(other), 0);
}

TEST(EraseFile, DeletesTreesWithoutFollowingLinks) {
    TempFolder tmp;
    tmp.write("outside/keep.txt", "k");
    tmp.write("tree/x/y.txt", "y");
    ASSERT_TRUE(QFile::link(tmp.file("outside"), tmp.file("tree/x/to-outside")));
    EXPECT_EQ(eraseFile(tmp.file("tree")), 0);
    EXPECT_FALSE(exists(tmp.file("tree")));
    EXPECT_EQ(contents(tmp.file("outside/keep.txt")), "k");
    EXPECT_NE(eraseFile(tmp.file("tree")), 0);
}

// Points the home trash at a temporary folder for one test.
class RecycleTest : public testing::Test {
  protected:
    void SetUp() override {
        saved_ = qgetenv("XDG_DATA_HOME");
        hadValue_ = qEnvironmentVariableIsSet("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", QFile::encodeName(tmp.file("data")));
    }
    void TearDown() override {
        if (hadValue_)
            qputenv("XDG_DATA_HOME", saved_);
        else
            qunsetenv("XDG_DATA_HOME");
    }
    QByteArray info(const QString& trash, const QString& name) {
        return contents(trash + "/info/" + name + ".trashinfo");
    }

    TempFolder tmp;
    QByteArray saved_;
    bool hadValue_ = false;
};

TEST_F(RecycleTest, GoesToTheHomeTrashWithInfo) {
    const QString name = QStringLiteral("作品 1.txt");
    tmp.write("work/" + name, "first");
    ASSERT_EQ(recycleFile(tmp.file("work/" + name)), 0);
    const QString trash = tmp.file("data/Trash");
    EXPECT_FALSE(exists(tmp.file("work/" + name)));
    EXPECT_EQ(contents(trash + "/files/" + name), "first");
    const QByteArray text = info(trash, name);
    EXPECT_TRUE(text.startsWith("[Trash Info]\nPath=/")) << text.constData();
    const QByteArray encoded = QFile::encodeName(tmp.file("work/" + name)).toPercentEncoding("/");
    EXPECT_TRUE(text.contains("Path=" + encoded + "\n")) << text.constData();
    EXPECT_TRUE(text.contains("%20")) << text.constData();
    const qsizetype date = text.indexOf("DeletionDate=");
    ASSERT_GE(date, 0);
    EXPECT_EQ(text.mid(date + 13, 19).size(), 19);
    EXPECT_EQ(text[date + 13 + 10], 'T');

    // The same name again gets a name of its own; a folder goes whole.
    tmp.write("work/" + name, "second");
    tmp.write("work/folder/inner.txt", "in");
    ASSERT_EQ(recycleFile(tmp.file("work/" + name)), 0);
    ASSERT_EQ(recycleFile(tmp.file("work/folder")), 0);
    EXPECT_EQ(contents(trash + "/files/" + name), "first");
    EXPECT_EQ(contents(trash + "/files/作品 1 (2).txt"), "second");
    EXPECT_FALSE(info(trash, QStringLiteral("作品 1 (2).txt")).isEmpty());
    EXPECT_EQ(contents(trash + "/files/folder/inner.txt"), "in");
}

TEST_F(RecycleTest, FailsInsteadOfDeletingForGood) {
    tmp.write("blocker", "a file where the trash folder would go");
    qputenv("XDG_DATA_HOME", QFile::encodeName(tmp.file("blocker/data")));
    tmp.write("precious.txt", "keep me");
    EXPECT_NE(recycleFile(tmp.file("precious.txt")), 0);
    EXPECT_EQ(contents(tmp.file("precious.txt")), "keep me");
    EXPECT_NE(recycleFile(tmp.file("missing.txt")), 0);
}

TEST_F(RecycleTest, FileOnAnotherVolumeGoesToThatVolumesTrash) {
    const QString other = otherVolumeFolder(tmp);
    if (other.isEmpty()) GTEST_SKIP() << "no second writable file system";
    const QString volumeTrash = QStringLiteral("/dev/shm/.Trash-%1").arg(::getuid());
    const bool trashExisted = exists(volumeTrash);
    ASSERT_TRUE(QDir().mkpath(other));
    QFile f(other + "/v.txt");
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("volume");
    f.close();
    const QString trashedName = QStringLiteral("v.txt");
    ASSERT_EQ(recycleFile(other + "/v.txt"), 0);
    EXPECT_FALSE(exists(other + "/v.txt"));
    // Several runs may share the volume trash, so look the entry up by its recorded path.
    const QByteArray relative = QFile::encodeName(other + "/v.txt").mid(QByteArray("/dev/shm/").size());
    std::vector<FolderEntry> infos;
    ASSERT_TRUE(listFolder(volumeTrash + "/info", infos));
    QString found;
    for (const FolderEntry& e : infos)
        if (contents(volumeTrash + "/info/" + e.name)
                .contains("Path=" + relative.toPercentEncoding("/") + "\n"))
            found = e.name.chopped(QStringLiteral(".trashinfo").size());
    ASSERT_FALSE(found.isEmpty());
    EXPECT_EQ(contents(volumeTrash + "/files/" + found), "volume");
    eraseFile(volumeTrash + "/files/" + found);
    eraseFile(volumeTrash + "/info/" + found + ".trashinfo");
    if (!trashExisted) eraseFile(volumeTrash);
    eraseFile(other);
}

TEST(Drives, MountInfoFixture) {
    const QByteArray text = "22 28 0:21 / /proc rw,relatime - proc proc rw\n"
                            "24 28 0:6 / /dev rw - devtmpfs devtmpfs rw\n"
                            "26 24 0:24 / /dev/shm rw - tmpfs tmpfs rw\n"
                            "90 28 0:50 / /tmp rw shared:5 - tmpfs tmpfs rw\n"
                            "91 28 8:17 / /run/media/u/USB\\040STICK rw shared:7 - vfat /dev/sdb1 rw\n"
                            "92 28 0:60 / /run/user/1000 rw - tmpfs tmpfs rw\n"
                            "93 28 0:61 / /mnt/share rw - nfs4 server:/export rw\n"
                            "94 28 11:0 / /media/cd ro - iso9660 /dev/sr0 ro\n"
                            "95 28 8:2 /@home /home rw master:1 - btrfs /dev/sda2 rw\n"
                            "96 28 8:3 / /home rw - ext4 /dev/sda3 rw\n" // mounted over the previous one
                            "28 1 254:0 / / rw,relatime - ext4 /dev/vda rw\n"
                            "97 28 0:70 / /odd rw - weirdfs none rw\n"
                            "garbage line without fields\n"
                            "98 28 0:71 / - \n";
    const std::vector<DriveInfo> drives = parseMountInfo(text);
    const struct {
        const char* root;
        const char* device;
        DriveKind kind;
    } expected[] = {
        {"/", "/dev/vda", DriveKind::Fixed},
        {"/home/", "/dev/sda3", DriveKind::Fixed},
        {"/media/cd/", "/dev/sr0", DriveKind::CdRom},
        {"/mnt/share/", "server:/export", DriveKind::Remote},
        {"/odd/", "none", DriveKind::Unknown},
        {"/run/media/u/USB STICK/", "/dev/sdb1", DriveKind::Removable},
        {"/tmp/", "tmpfs", DriveKind::RamDisk},
    };
    ASSERT_EQ(drives.size(), std::size(expected));
    for (size_t i = 0; i < drives.size(); ++i) {
        EXPECT_EQ(drives[i].root, expected[i].root) << i;
        EXPECT_EQ(drives[i].device, expected[i].device) << i;
        EXPECT_EQ(drives[i].kind, expected[i].kind) << i;
    }
    EXPECT_TRUE(parseMountInfo("").empty());
}

TEST(Drives, KindsOfFileSystemTypes) {
    const struct {
        const char* type;
        DriveKind kind;
    } cases[] = {
        {"ext4", DriveKind::Fixed},      {"XFS", DriveKind::Fixed},         {"nfs", DriveKind::Remote},
        {"cifs", DriveKind::Remote},     {"fuse.sshfs", DriveKind::Remote}, {"iso9660", DriveKind::CdRom},
        {"udf", DriveKind::CdRom},       {"tmpfs", DriveKind::RamDisk},     {"ramfs", DriveKind::RamDisk},
        {"mystery", DriveKind::Unknown},
    };
    for (const auto& c : cases)
        EXPECT_EQ(driveKindOf(c.type), c.kind) << c.type;
}

TEST(Drives, RootComesFirstOnThisMachine) {
    const std::vector<DriveInfo> drives = listDrives();
    ASSERT_FALSE(drives.empty());
    EXPECT_EQ(drives.front().root, "/");
    for (const DriveInfo& d : drives)
        EXPECT_TRUE(dirExists(d.root)) << d.root.toStdString();
}

bool waitUntilEnded(int handle) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (processRunning(handle)) {
        if (std::chrono::steady_clock::now() > until) return false;
        QThread::msleep(10);
    }
    return true;
}

TEST(Processes, ArgumentsNeverPassThroughAShell) {
    TempFolder tmp;
    const QString odd = tmp.file("a b;touch c");
    const int handle = startProcess("touch", {odd});
    ASSERT_GT(handle, 0);
    EXPECT_TRUE(waitUntilEnded(handle));
    EXPECT_TRUE(exists(odd));
    EXPECT_FALSE(exists(tmp.file("a"))); // what a shell would have made of the word
    endProcess(handle);
    EXPECT_EQ(startProcess(tmp.file("no-such-program"), {}), 0);
}

TEST(Processes, EndingClosesOnlyWhatWasStarted) {
    const int first = startProcess("sleep", {"30"});
    const int second = startProcess("sleep", {"30"});
    ASSERT_GT(first, 0);
    ASSERT_GT(second, 0);
    EXPECT_NE(first, second);
    const auto start = std::chrono::steady_clock::now();
    endProcess(first);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
    EXPECT_FALSE(processRunning(first));
    EXPECT_TRUE(processRunning(second));
    endProcess(12345); // not ours: nothing happens
    EXPECT_TRUE(processRunning(second));
    endProcess(second);
    EXPECT_FALSE(processRunning(second));
}

TEST(Processes, WindowsBrowserNameStartsTheSystemBrowser) {
    TempFolder tmp;
    const QByteArray saved = qgetenv("BROWSER");
    const bool had = qEnvironmentVariableIsSet("BROWSER");
    qputenv("BROWSER", "touch:firefox");
    const int handle =
        startProcess("C:/Program Files/Internet Explorer/IEXPLORE.EXE", {tmp.file("page.html")});
    if (had)
        qputenv("BROWSER", saved);
    else
        qunsetenv("BROWSER");
    ASSERT_GT(handle, 0);
    EXPECT_TRUE(waitUntilEnded(handle));
    EXPECT_TRUE(exists(tmp.file("page.html")));
    endProcess(handle);
}

TEST(OpenWithSystem, MissingLocalFileIsNotOpened) {
    TempFolder tmp;
    EXPECT_FALSE(openWithSystem(tmp.file("missing.html")));
    EXPECT_FALSE(openWithSystem("file://" + tmp.file("missing.html")));
}

} // namespace
