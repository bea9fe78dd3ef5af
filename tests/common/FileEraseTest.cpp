// Deleting one file only while it is what a listing saw: size, time, not a folder.
#include "TestSupport.h"

#include "common/FileErase.h"
#include "common/Texts.h"

#include <QFile>
#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::time_t kTime = 1714550700;

void setTime(const QString& path, std::time_t when) {
    const struct timespec times[2] = {{when, 0}, {when, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, AT_SYMLINK_NOFOLLOW), 0);
}

TEST(FileEraseTest, ErasesOnlyAnUnchangedFileAndNeverAFolder) {
    struct Case {
        const char* what;
        uint64_t size;      // what the tree recorded
        std::time_t when;   // likewise
        int expected;
        bool stays;
    };
    const std::vector<Case> cases = {
        {"unchanged", 5, kTime, 0, false},
        {"another size", 4, kTime, ESTALE, true},
        {"another second", 5, kTime + 1, ESTALE, true},
    };
    for (const Case& c : cases) {
        TempFolder folder;
        const QString path = folder.write(QStringLiteral("銀河/星.txt"), "12345");
        setTime(path, kTime);
        EXPECT_EQ(eraseUnchangedFile(path, c.size, fileTimeNumber(c.when)), c.expected) << c.what;
        EXPECT_EQ(QFile::exists(path), c.stays) << c.what;
    }

    TempFolder folder;
    // A folder that took the name, with the size and time the folder has: never removed.
    const QString dir = folder.file(QStringLiteral("dir"));
    folder.write(QStringLiteral("dir/inner.txt"), "x");
    setTime(dir, kTime);
    struct stat st {};
    ASSERT_EQ(::lstat(QFile::encodeName(dir).constData(), &st), 0);
    EXPECT_EQ(eraseUnchangedFile(dir, static_cast<uint64_t>(st.st_size), fileTimeNumber(kTime)), ESTALE);
    EXPECT_TRUE(QFile::exists(dir + QStringLiteral("/inner.txt")));
    EXPECT_EQ(eraseUnchangedFile(folder.file(QStringLiteral("gone.txt")), 0, 0), ENOENT);

    // A link goes itself; its target stays.
    const QString target = folder.write(QStringLiteral("target.txt"), "t");
    const QString link = folder.file(QStringLiteral("link"));
    ASSERT_EQ(::symlink(QFile::encodeName(target).constData(), QFile::encodeName(link).constData()), 0);
    setTime(link, kTime);
    EXPECT_EQ(eraseUnchangedFile(link, static_cast<uint64_t>(QFile::encodeName(target).size()), fileTimeNumber(kTime)), 0);
    EXPECT_FALSE(QFile::exists(link));
    EXPECT_TRUE(QFile::exists(target));
}

} // namespace
