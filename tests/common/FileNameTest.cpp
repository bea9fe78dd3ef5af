// Names that are not valid UTF-8 on disk: the codec keeps their bytes, and every platform call
// given such a name reaches the same file that listFolder reported.
#include "common/FileNameCodec.h"
#include "common/Platform.h"
#include "common/TextCodec.h"
#include "common/TextFile.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString escaped(char16_t byte) { return QString(QChar(static_cast<char16_t>(0xDC00 + byte))); }

struct CodecCase {
    const char* what;
    QByteArray bytes;
    QString text;
};

TEST(FileNameCodec, DecodesAndEncodesBackToTheSameBytes) {
    const std::vector<CodecCase> cases = {
        {"empty", "", ""},
        {"ascii", "plain name.txt", QStringLiteral("plain name.txt")},
        {"japanese utf-8", "\xE4\xBD\x9C\xE5\x93\x81.txt", QStringLiteral("作品.txt")},
        {"lone 0xFF", "bad\xFF.txt", "bad" + escaped(0xFF) + ".txt"},
        {"lone continuation byte", "\x80x", escaped(0x80) + "x"},
        {"truncated three-byte sequence", "a\xE4\xBD", "a" + escaped(0xE4) + escaped(0xBD)},
        {"truncated at a following ascii byte", "\xE4\xBD-", escaped(0xE4) + escaped(0xBD) + "-"},
        {"overlong slash", "\xC0\xAF", escaped(0xC0) + escaped(0xAF)},
        {"overlong three-byte nul", "\xE0\x80\x80", escaped(0xE0) + escaped(0x80) + escaped(0x80)},
        {"encoded surrogate", "\xED\xB3\xBF", escaped(0xED) + escaped(0xB3) + escaped(0xBF)},
        {"beyond U+10FFFF", "\xF4\x90\x80\x80", escaped(0xF4) + escaped(0x90) + escaped(0x80) + escaped(0x80)},
        {"four-byte character (a surrogate pair)", "\xF0\x9F\x98\x80", QString::fromUtf8("\xF0\x9F\x98\x80")},
        {"code page 932 bytes", "\x83\x41\x82\xA0", escaped(0x83) + "A" + escaped(0x82) + escaped(0xA0)},
        {"valid after invalid", "\xFF\xC3\xA9", escaped(0xFF) + QStringLiteral("é")},
    };
    for (const CodecCase& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(decodeFileName(c.bytes), c.text);
        EXPECT_EQ(encodeFileName(c.text), c.bytes);
    }
}

TEST(FileNameCodec, EverySingleAndPairedByteRoundTrips) {
    for (int a = 0; a < 256; ++a) {
        for (int b = 0; b < 256; ++b) {
            QByteArray bytes;
            bytes.append(static_cast<char>(a)).append(static_cast<char>(b)).append('\xBF');
            ASSERT_EQ(encodeFileName(decodeFileName(bytes)), bytes) << a << " " << b;
        }
    }
}

TEST(FileNameCodec, SurrogatesOutsideTheEscapesBecomeQuestionMarks) {
    EXPECT_EQ(encodeFileName(QString(QChar(0xD83D)) + "x"), "?x");         // lone high surrogate
    EXPECT_EQ(encodeFileName(QString(QChar(0xDC41))), "?");                 // low, but no byte escape
    EXPECT_EQ(encodeFileName(QString(QChar(0xD83D)) + QChar(0xDCFF)), "\xF0\x9F\x93\xBF"); // a real pair
}

// Escaped names reach the UTF-8 text form as raw bytes and come back; code page 932 cannot hold them.
TEST(FileNameCodec, TextKeepsEscapedNamesInUtf8WithByteOrderMark) {
    const QString name = "bad" + escaped(0xFF) + QStringLiteral("作品");
    EXPECT_FALSE(cp932RoundTrips(name));
    const QByteArray bytes = encodeLines({name}, TextEncoding::Utf8Bom);
    EXPECT_EQ(bytes, QByteArray("\xEF\xBB\xBF" "bad\xFF") + QStringLiteral("作品").toUtf8() + "\r\n");
    TextEncoding found = TextEncoding::Cp932;
    EXPECT_EQ(decodeText(bytes, &found), name + "\r\n");
    EXPECT_EQ(found, TextEncoding::Utf8Bom);

    TempFolder tmp;
    TextEncoding used = TextEncoding::Cp932;
    ASSERT_TRUE(writeTextLines(tmp.file("list.txt"), {name, "x"}, true, &used));
    EXPECT_EQ(used, TextEncoding::Utf8Bom);
    QStringList lines;
    ASSERT_TRUE(readTextLines(tmp.file("list.txt"), lines));
    EXPECT_EQ(lines, QStringList({name, "x"}));
}

// A folder holding a file whose name is not UTF-8, made with raw bytes.
class BadNameTest : public testing::Test {
protected:
    void SetUp() override {
        saved_ = qgetenv("XDG_DATA_HOME");
        hadValue_ = qEnvironmentVariableIsSet("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", encodeFileName(tmp.file("data")));
        folder = tmp.file("work");
        ASSERT_TRUE(makeFolders(folder));
        ASSERT_TRUE(rawWrite(encodeFileName(folder) + "/bad\xFF.txt", "payload"));
    }
    void TearDown() override {
        eraseFile(tmp.path()); // the temporary folder's own removal would not find the raw names
        if (hadValue_)
            qputenv("XDG_DATA_HOME", saved_);
        else
            qunsetenv("XDG_DATA_HOME");
    }
    static bool rawWrite(const QByteArray& path, const QByteArray& bytes) {
        const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL, 0644);
        if (fd < 0) return false;
        const bool ok = ::write(fd, bytes.constData(), bytes.size()) == bytes.size();
        return ::close(fd) == 0 && ok;
    }
    static bool rawExists(const QByteArray& path) {
        struct stat st {};
        return ::lstat(path.constData(), &st) == 0;
    }
    // The name listFolder reports for the one entry of the folder.
    QString listedName() {
        std::vector<FolderEntry> entries;
        EXPECT_TRUE(listFolder(folder, entries));
        EXPECT_EQ(entries.size(), 1u);
        return entries.empty() ? QString() : entries[0].name;
    }

    TempFolder tmp;
    QString folder;
    QByteArray saved_;
    bool hadValue_ = false;
};

TEST_F(BadNameTest, ListedNameReadsStatsAndRenames) {
    const QString name = listedName();
    EXPECT_EQ(name, "bad" + escaped(0xFF) + ".txt");
    const QString path = folder + u'/' + name;

    QByteArray bytes;
    ASSERT_TRUE(readFileBytes(path, bytes));
    EXPECT_EQ(bytes, "payload");
    EXPECT_EQ(readFileHead(path, 3), "pay");
    EXPECT_TRUE(fileExists(path));
    FolderEntry entry;
    ASSERT_TRUE(statPath(path, entry));
    EXPECT_EQ(entry.name, name);
    EXPECT_EQ(entry.size, 7u);

    // A lossy codec would turn both names into the same U+FFFD name.
    ASSERT_TRUE(rawWrite(encodeFileName(folder) + "/bad\xFE.txt", "other"));
    ASSERT_TRUE(readFileBytes(folder + "/bad" + escaped(0xFE) + ".txt", bytes));
    EXPECT_EQ(bytes, "other");
    EXPECT_FALSE(renameNoReplace(path, folder + "/bad" + escaped(0xFE) + ".txt"));

    const QString renamed = folder + "/renamed" + escaped(0x83) + ".txt";
    ASSERT_TRUE(renameNoReplace(path, renamed));
    EXPECT_FALSE(rawExists(encodeFileName(folder) + "/bad\xFF.txt"));
    EXPECT_TRUE(rawExists(encodeFileName(folder) + "/renamed\x83.txt"));
}

TEST_F(BadNameTest, WritesCopiesMovesAndErases) {
    const QString path = folder + u'/' + listedName();
    ASSERT_TRUE(writeFileAtomic(path, "rewritten"));
    QByteArray bytes;
    ASSERT_TRUE(readFileBytes(path, bytes));
    EXPECT_EQ(bytes, "rewritten");
    EXPECT_EQ(listedName(), "bad" + escaped(0xFF) + ".txt"); // no temporary file left, no U+FFFD twin

    const QString nested = tmp.file("deep" + escaped(0xE4) + "/inner");
    ASSERT_TRUE(makeFolders(nested));
    EXPECT_TRUE(rawExists(encodeFileName(tmp.path()) + "/deep\xE4/inner"));
    ASSERT_EQ(copyPath(path, nested + "/copy" + escaped(0xFF)), 0);
    ASSERT_TRUE(readFileBytes(nested + "/copy" + escaped(0xFF), bytes));
    EXPECT_EQ(bytes, "rewritten");
    ASSERT_EQ(movePath(folder, nested + "/moved"), 0);
    EXPECT_FALSE(dirExists(folder));
    EXPECT_TRUE(rawExists(encodeFileName(nested) + "/moved/bad\xFF.txt"));
    ASSERT_EQ(eraseFile(tmp.file("deep" + escaped(0xE4))), 0);
    EXPECT_FALSE(rawExists(encodeFileName(tmp.path()) + "/deep\xE4"));
}

TEST_F(BadNameTest, GoesToTheTrashUnderItsOwnBytes) {
    const QString path = folder + u'/' + listedName();
    ASSERT_EQ(recycleFile(path), 0);
    EXPECT_FALSE(rawExists(encodeFileName(folder) + "/bad\xFF.txt"));
    const QByteArray trash = encodeFileName(tmp.file("data/Trash"));
    EXPECT_TRUE(rawExists(trash + "/files/bad\xFF.txt"));
    QByteArray info;
    ASSERT_TRUE(readFileBytes(decodeFileName(trash + "/info/bad\xFF.txt.trashinfo"), info));
    EXPECT_TRUE(info.contains("/work/bad%FF.txt\n")) << info.constData();
}

} // namespace
