// Deleting to the trash by the freedesktop.org trash rules, so that the
// desktop's own trash window can show and restore what the program threw away.
#include "Platform.h"

#include "PlatformNative.h"

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kMaxNameTries = 10000;

QByteArray homeTrashFolder() {
    QByteArray data = qgetenv("XDG_DATA_HOME");
    if (!data.startsWith('/')) {
        QByteArray home = qgetenv("HOME");
        if (!home.startsWith('/')) {
            if (const passwd* pw = ::getpwuid(::getuid())) home = pw->pw_dir;
        }
        data = home + "/.local/share";
    }
    return data + "/Trash";
}

// The device of the path, or of its nearest existing ancestor.
dev_t deviceOfNearest(QByteArray path) {
    struct stat st {};
    while (!path.isEmpty()) {
        if (::stat(path.constData(), &st) == 0) return st.st_dev;
        const qsizetype slash = path.lastIndexOf('/');
        path = slash <= 0 ? QByteArray("/") : path.left(slash);
        if (path == "/") return ::stat("/", &st) == 0 ? st.st_dev : 0;
    }
    return 0;
}

// The top folder of the file system that holds `absPath` (the highest ancestor on its device).
QByteArray topFolderOf(const QByteArray& absPath, dev_t device) {
    QByteArray top = absPath;
    for (;;) {
        const qsizetype slash = top.lastIndexOf('/');
        if (slash < 0) return "/";
        const QByteArray parent = slash == 0 ? QByteArray("/") : top.left(slash);
        struct stat st {};
        if (::stat(parent.constData(), &st) != 0 || st.st_dev != device) return top;
        if (parent == "/") return parent;
        top = parent;
    }
}

// Creates `folder` (one level) as a private folder if missing; true when it is a real folder.
bool ensurePrivateFolder(const QByteArray& folder) {
    if (::mkdir(folder.constData(), 0700) != 0 && errno != EEXIST) return false;
    struct stat st {};
    return ::lstat(folder.constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool ensureTrashFolders(const QByteArray& trash) {
    return ensurePrivateFolder(trash) && ensurePrivateFolder(trash + "/files") &&
           ensurePrivateFolder(trash + "/info");
}

// A volume's trash: $topdir/.Trash/$uid when the administrator made a sticky .Trash folder,
// else $topdir/.Trash-$uid. Empty when neither can be used.
QByteArray volumeTrashFolder(const QByteArray& top) {
    const QByteArray uid = QByteArray::number(::getuid());
    const QByteArray base = top == "/" ? QByteArray() : top;
    const QByteArray shared = base + "/.Trash";
    struct stat st {};
    if (::lstat(shared.constData(), &st) == 0 && S_ISDIR(st.st_mode) && (st.st_mode & S_ISVTX)) {
        const QByteArray mine = shared + '/' + uid;
        if (ensureTrashFolders(mine)) return mine;
    }
    const QByteArray own = base + "/.Trash-" + uid;
    if (!ensureTrashFolders(own)) return {};
    if (::lstat(own.constData(), &st) != 0 || st.st_uid != ::getuid()) return {};
    return own;
}

QByteArray deletionDate() {
    const std::time_t now = std::time(nullptr);
    std::tm t{};
    localtime_r(&now, &t);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02dT%02d:%02d:%02d", t.tm_year + 1900, t.tm_mon + 1, t.tm_mday,
                  t.tm_hour, t.tm_min, t.tm_sec);
    return buf;
}

// "name", "name (2)", "name (3)" ...; an extension stays at the end ("a (2).txt").
QByteArray candidateName(const QByteArray& name, int n) {
    if (n == 1) return name;
    const qsizetype dot = name.lastIndexOf('.');
    const qsizetype cut = dot > 0 ? dot : name.size();
    return name.left(cut) + " (" + QByteArray::number(n) + ")" + name.mid(cut);
}

bool writeAll(int fd, const QByteArray& bytes) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t w = ::write(fd, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
        if (w < 0 && errno == EINTR) continue;
        if (w <= 0) return false;
        done += w;
    }
    return true;
}

// Reserves a name with its .trashinfo (created exclusively), then renames the file in.
int moveIntoTrash(const QByteArray& trash, const QByteArray& absPath, const QByteArray& pathValue) {
    const QByteArray name = absPath.mid(absPath.lastIndexOf('/') + 1);
    const QByteArray info =
        "[Trash Info]\nPath=" + pathValue.toPercentEncoding("/") + "\nDeletionDate=" + deletionDate() + "\n";
    for (int n = 1; n <= kMaxNameTries; ++n) {
        const QByteArray candidate = candidateName(name, n);
        const QByteArray infoPath = trash + "/info/" + candidate + ".trashinfo";
        const int fd = ::open(infoPath.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0) {
            if (errno == EEXIST) continue;
            return errno;
        }
        const bool written = writeAll(fd, info);
        const bool closed = ::close(fd) == 0;
        if (!written || !closed) {
            const int err = errno ? errno : EIO;
            ::unlink(infoPath.constData());
            return err;
        }
        const int err = renameNative(absPath, trash + "/files/" + candidate);
        if (err == 0) return 0;
        ::unlink(infoPath.constData());
        if (err != EEXIST) return err;
    }
    return EEXIST;
}

} // namespace

int recycleFile(const QString& path) {
    // The real location of the entry itself (its folder's links resolved, the entry's own not).
    QByteArray folder, name;
    splitNative(nativePath(path), folder, name);
    if (name.isEmpty() || name == "." || name == "..") return EINVAL;
    char* realFolder = ::realpath(folder.constData(), nullptr);
    if (!realFolder) return errno;
    const QByteArray absPath = joinNative(QByteArray(realFolder), name);
    std::free(realFolder);
    struct stat st {};
    if (::lstat(absPath.constData(), &st) != 0) return errno;

    const QByteArray home = homeTrashFolder();
    if (deviceOfNearest(home) == st.st_dev) {
        // Parents of the home trash may be missing on a fresh account.
        if (!makeFoldersNative(home.left(home.lastIndexOf('/'))) || !ensureTrashFolders(home))
            return EACCES;
        return moveIntoTrash(home, absPath, absPath);
    }
    const QByteArray top = topFolderOf(absPath, st.st_dev);
    const QByteArray trash = volumeTrashFolder(top);
    if (trash.isEmpty()) return EACCES;
    // Paths in a volume's trash are relative to its top folder, so the volume may move.
    const QByteArray relative = top == "/" ? absPath.mid(1) : absPath.mid(top.size() + 1);
    return moveIntoTrash(trash, absPath, relative);
}
