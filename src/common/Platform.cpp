#include "Platform.h"

#include "FileNameCodec.h"
#include "PlatformNative.h"
#include "Settings.h"

#include <QDir>
#include <QRandomGenerator>

#include <algorithm>
#include <memory>
#include <utility>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace {

uint32_t attributesOf(const QString& name, mode_t mode) {
    uint32_t a = 0;
    if (S_ISDIR(mode))
        a |= AttrDirectory;
    else if (S_ISREG(mode))
        a |= AttrArchive;
    else if (S_ISLNK(mode))
        a |= AttrLink;
    else
        a |= AttrSystem; // FIFO, socket, device
    if (name.startsWith(u'.')) a |= AttrHidden;
    if ((mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) a |= AttrReadOnly;
    return a;
}

void fillEntry(FolderEntry& e, const QString& name, mode_t mode, int64_t size, std::time_t modified, dev_t device) {
    e.name = name;
    e.attributes = attributesOf(name, mode);
    e.size = size > 0 ? static_cast<uint64_t>(size) : 0;
    e.modified = modified;
    e.device = static_cast<uint64_t>(device);
}

void fillEntry(FolderEntry& e, const QString& name, const struct stat& st) {
    fillEntry(e, name, st.st_mode, st.st_size, st.st_mtime, st.st_dev);
}

// Lets a walk hold a descriptor for every level of a deep tree.
void raiseDescriptorLimit() {
    static const bool raised = [] {
        struct rlimit limit {};
        if (::getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur >= limit.rlim_max) return false;
        limit.rlim_cur = limit.rlim_max;
        return ::setrlimit(RLIMIT_NOFILE, &limit) == 0;
    }();
    (void)raised;
}

bool entryBefore(const FolderEntry& a, const FolderEntry& b) {
    const qsizetype n = std::min(a.name.size(), b.name.size());
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t x = foldAscii(a.name[i].unicode()), y = foldAscii(b.name[i].unicode());
        if (x != y) return x < y;
    }
    if (a.name.size() != b.name.size()) return a.name.size() < b.name.size();
    return encodeFileName(a.name) < encodeFileName(b.name);
}

// Writes all bytes to a descriptor; errno is left set on failure.
bool writeAllNative(int fd, const char* data, qsizetype size) {
    for (qsizetype done = 0; done < size;) {
        const ssize_t w = ::write(fd, data + done, static_cast<size_t>(size - done));
        if (w < 0 && errno == EINTR) continue;
        if (w <= 0) return false;
        done += w;
    }
    return true;
}

// Appends what a descriptor holds, up to the end or `limit` bytes in all; false on a read error.
// *more receives whether bytes remain past the limit (one byte beyond it is read to find out).
bool readNative(int fd, qint64 limit, QByteArray& bytes, bool* more) {
    char buffer[65536];
    for (;;) {
        const qint64 room = limit - bytes.size() + (more ? 1 : 0);
        if (room <= 0) break;
        const ssize_t n = ::read(fd, buffer, static_cast<size_t>(std::min<qint64>(room, sizeof buffer)));
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.append(buffer, n);
    }
    if (more) {
        *more = bytes.size() > limit;
        if (*more) bytes.truncate(limit);
    }
    return true;
}

// The file a write to `path` lands in: a link is followed to its target (as far as it resolves),
// so saving through a link updates the linked file instead of replacing the link.
QByteArray writeTarget(const QByteArray& path) {
    struct stat st {};
    if (::lstat(path.constData(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    char* real = ::realpath(path.constData(), nullptr);
    if (!real) return path;
    const QByteArray resolved(real);
    std::free(real);
    return resolved;
}

// Copies one regular file's bytes into a new file (never replacing one), keeping mode and times.
int copyFileNative(const QByteArray& from, const QByteArray& to, const struct stat& st) {
    const int in = ::open(from.constData(), O_RDONLY | O_CLOEXEC);
    if (in < 0) return errno;
    const int out = ::open(to.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (out < 0) {
        const int err = errno;
        ::close(in);
        return err;
    }
    int err = 0;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(in, buffer, sizeof buffer);
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            err = errno;
            break;
        }
        for (ssize_t done = 0; done < n && !err;) {
            const ssize_t w = ::write(out, buffer + done, static_cast<size_t>(n - done));
            if (w < 0 && errno != EINTR) err = errno;
            if (w > 0) done += w;
        }
        if (err) break;
    }
    if (!err && ::fchmod(out, st.st_mode & 07777) != 0) err = errno;
    const struct timespec times[2] = {st.st_atim, st.st_mtim};
    if (!err) ::futimens(out, times);
    if (::close(out) != 0 && !err) err = errno;
    ::close(in);
    if (err) ::unlink(to.constData());
    return err;
}

} // namespace

QByteArray nativePath(const QString& path) {
    return encodeFileName(path);
}

void splitNative(const QByteArray& path, QByteArray& folder, QByteArray& name) {
    QByteArray trimmed = path;
    while (trimmed.size() > 1 && trimmed.endsWith('/'))
        trimmed.chop(1);
    const qsizetype slash = trimmed.lastIndexOf('/');
    folder = slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : trimmed.left(slash);
    name = trimmed.mid(slash + 1);
}

bool makeFoldersNative(const QByteArray& path) {
    if (path.isEmpty()) return false;
    for (qsizetype slash = path.indexOf('/', 1); slash > 0; slash = path.indexOf('/', slash + 1))
        ::mkdir(path.left(slash).constData(), 0777); // an existing part is fine; the final check decides
    ::mkdir(path.constData(), 0777);
    struct stat st {};
    return ::stat(path.constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

QByteArray joinNative(const QByteArray& folder, const QByteArray& name) {
    return folder.endsWith('/') ? folder + name : folder + '/' + name;
}

int renameNative(const QByteArray& from, const QByteArray& to) {
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0) return 0;
    if (errno != EINVAL && errno != ENOSYS) return errno;
    // File systems without RENAME_NOREPLACE: a hard link cannot replace, so link then unlink.
    if (::link(from.constData(), to.constData()) == 0) {
        ::unlink(from.constData());
        return 0;
    }
    if (errno != EPERM && errno != ENOTSUP && errno != EOPNOTSUPP) return errno;
    // Folders and file systems without hard links: check, then rename (a narrow window remains).
    struct stat st {};
    if (::lstat(to.constData(), &st) == 0) return EEXIST;
    return ::rename(from.constData(), to.constData()) == 0 ? 0 : errno;
}

// The names in a folder without "." and "..", read whole before the caller changes the folder.
// 0 or the errno of opening it.
static int childNames(const QByteArray& folder, std::vector<QByteArray>& names) {
    DIR* dir = ::opendir(folder.constData());
    if (!dir) return errno;
    while (const dirent* d = ::readdir(dir)) {
        const QByteArray name(d->d_name);
        if (name != "." && name != "..") names.push_back(name);
    }
    ::closedir(dir);
    return 0;
}

int eraseNative(const QByteArray& path) {
    struct stat st {};
    if (::lstat(path.constData(), &st) != 0) return errno;
    if (!S_ISDIR(st.st_mode)) return ::unlink(path.constData()) == 0 ? 0 : errno;
    std::vector<QByteArray> names;
    if (const int err = childNames(path, names)) return err;
    for (const QByteArray& name : names)
        if (const int err = eraseNative(joinNative(path, name))) return err;
    return ::rmdir(path.constData()) == 0 ? 0 : errno;
}

int copyNative(const QByteArray& from, const QByteArray& to) {
    struct stat st {};
    if (::lstat(from.constData(), &st) != 0) return errno;
    if (S_ISLNK(st.st_mode)) {
        QByteArray target(static_cast<qsizetype>(st.st_size > 0 ? st.st_size : 255) + 1, '\0');
        const ssize_t n = ::readlink(from.constData(), target.data(), static_cast<size_t>(target.size()));
        if (n < 0) return errno;
        target.truncate(n);
        return ::symlink(target.constData(), to.constData()) == 0 ? 0 : errno;
    }
    if (S_ISREG(st.st_mode)) return copyFileNative(from, to, st);
    if (!S_ISDIR(st.st_mode)) return ENOTSUP; // FIFOs, sockets and devices are not copied
    if (::mkdir(to.constData(), 0700) != 0) return errno;
    std::vector<QByteArray> names;
    if (const int err = childNames(from, names)) return err;
    for (const QByteArray& name : names)
        if (const int err = copyNative(joinNative(from, name), joinNative(to, name))) return err;
    ::chmod(to.constData(), st.st_mode & 07777);
    const struct timespec times[2] = {st.st_atim, st.st_mtim};
    ::utimensat(AT_FDCWD, to.constData(), times, 0);
    return 0;
}

bool listFolder(const QString& folder, std::vector<FolderEntry>& entries) {
    return FolderHandle(folder).list(entries);
}

FolderHandle::FolderHandle(const QString& path)
    : fd_(::open(nativePath(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
    raiseDescriptorLimit();
}

FolderHandle::~FolderHandle() {
    if (fd_ >= 0) ::close(fd_);
}

FolderHandle::FolderHandle(FolderHandle&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}

FolderHandle& FolderHandle::operator=(FolderHandle&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

FolderHandle FolderHandle::openChild(const QString& name) const {
    if (fd_ < 0) return FolderHandle();
    // O_NOFOLLOW: a link, even one put in place of a folder a moment ago, fails to open.
    return FolderHandle(::openat(fd_, nativePath(name).constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
}

bool FolderHandle::stat(FolderEntry& self) const {
    struct stat st {};
    if (fd_ < 0 || ::fstat(fd_, &st) != 0) return false;
    fillEntry(self, QStringLiteral("."), st);
    return true;
}

bool FolderHandle::list(std::vector<FolderEntry>& entries) const {
    constexpr std::size_t kDirentBuffer = 64 * 1024;
    if (fd_ < 0 || ::lseek(fd_, 0, SEEK_SET) != 0) return false;
    std::vector<FolderEntry> found;
    // One buffer per thread: clearing a fresh one for every folder would cost more than the listing.
    thread_local const std::unique_ptr<char[]> buffer(new char[kDirentBuffer]);
    constexpr unsigned kFields = STATX_TYPE | STATX_MODE | STATX_SIZE | STATX_MTIME;
    for (;;) {
        const ssize_t n = ::getdents64(fd_, buffer.get(), kDirentBuffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break; // the end, or a folder that went away meanwhile: what was read stands
        for (ssize_t at = 0; at < n;) {
            const auto* d = reinterpret_cast<const struct dirent64*>(buffer.get() + at);
            at += d->d_reclen;
            if (std::strcmp(d->d_name, ".") == 0 || std::strcmp(d->d_name, "..") == 0) continue;
            struct statx sx {};
            if (::statx(fd_, d->d_name, AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT, kFields, &sx) != 0) continue; // gone meanwhile
            FolderEntry e;
            fillEntry(e, decodeFileName(d->d_name), sx.stx_mode, static_cast<int64_t>(sx.stx_size), sx.stx_mtime.tv_sec,
                      makedev(sx.stx_dev_major, sx.stx_dev_minor));
            found.push_back(std::move(e));
        }
    }
    std::sort(found.begin(), found.end(), entryBefore);
    entries = std::move(found);
    return true;
}

bool statPath(const QString& path, FolderEntry& entry) {
    struct stat st {};
    if (::lstat(nativePath(path).constData(), &st) != 0) return false;
    QString name = path;
    while (name.size() > 1 && name.endsWith(u'/'))
        name.chop(1);
    fillEntry(entry, name.mid(name.lastIndexOf(u'/') + 1), st);
    return true;
}

QString absoluteLocation(const QString& location) {
    if (location.startsWith(u'/') || location.contains(u':')) return location;
    QString absolute = QDir::currentPath();
    if (!absolute.endsWith(u'/')) absolute += u'/';
    return absolute + (location.startsWith(QStringLiteral("./")) ? location.mid(2) : location);
}

bool fileExists(const QString& path) {
    struct stat st {};
    return ::stat(nativePath(path).constData(), &st) == 0 && !S_ISDIR(st.st_mode);
}

QString absolutePath(const QString& path) {
    return QDir::cleanPath(path.startsWith(u'/') ? path : QDir::currentPath() + u'/' + path);
}

bool dirExists(const QString& path) {
    struct stat st {};
    return ::stat(nativePath(path).constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool makeFolders(const QString& path) {
    return makeFoldersNative(nativePath(path));
}

bool renameNoReplace(const QString& from, const QString& to) {
    return renameNative(nativePath(from), nativePath(to)) == 0;
}

namespace {

FileFault faultOfOpenError(int error) {
    switch (error) {
    case ENOENT:
    case ENOTDIR: return FileFault::Missing;
    case EACCES:
    case EPERM: return FileFault::Denied;
    case ENXIO: // a socket, or a device without its hardware
    case ENODEV: return FileFault::NotRegular;
    default: return FileFault::Unreadable;
    }
}

// Opens a regular file for reading: O_NONBLOCK keeps the open of a FIFO or device from waiting,
// and the kind is checked on the descriptor itself, so nothing swapped in after a check slips
// through. -1 with `fault` set otherwise; `size` receives the size when it was opened.
int openRegular(const QString& path, FileFault& fault, qint64& size) {
    const int fd = ::open(nativePath(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        fault = faultOfOpenError(errno);
        return -1;
    }
    struct stat st {};
    fault = ::fstat(fd, &st) != 0 ? FileFault::Unreadable : !S_ISREG(st.st_mode) ? FileFault::NotRegular : FileFault::None;
    if (fault == FileFault::None) {
        const int flags = ::fcntl(fd, F_GETFL);
        if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) fault = FileFault::Unreadable;
    }
    if (fault != FileFault::None) {
        ::close(fd);
        return -1;
    }
    size = st.st_size;
    return fd;
}

} // namespace

FileFault readableFault(const QString& path, qint64 maxBytes) {
    FileFault fault = FileFault::None;
    qint64 size = 0;
    const int fd = openRegular(path, fault, size);
    if (fd < 0) return fault;
    ::close(fd);
    return size > maxBytes ? FileFault::TooLarge : FileFault::None;
}

QString fileFaultText(FileFault fault, const QString& missingText) {
    switch (fault) {
    case FileFault::None: return {};
    case FileFault::Missing: return missingText.isEmpty() ? QStringLiteral("ファイルが存在しません！") : missingText;
    case FileFault::Denied: return QStringLiteral("ファイルを読む権限がありません！");
    case FileFault::NotRegular: return QStringLiteral("通常のファイルではありません！");
    case FileFault::TooLarge: return QStringLiteral("ファイルが大きすぎます！");
    case FileFault::Unreadable: break;
    }
    return QStringLiteral("ファイルを読めませんでした！");
}

bool readFileBytes(const QString& path, QByteArray& bytes, qint64 maxBytes, FileFault* fault) {
    FileFault found = FileFault::None;
    qint64 size = 0;
    const int fd = openRegular(path, found, size);
    // /proc files report size 0, so the size only refuses early; the read itself enforces the limit.
    bool more = false;
    QByteArray data;
    if (fd >= 0 && size > maxBytes) found = FileFault::TooLarge;
    if (fd >= 0 && found == FileFault::None) {
        data.reserve(static_cast<qsizetype>(size) + 1);
        if (!readNative(fd, maxBytes, data, &more)) found = FileFault::Unreadable;
        else if (more) found = FileFault::TooLarge;
    }
    if (fd >= 0) ::close(fd);
    if (fault) *fault = found;
    if (found != FileFault::None) return false;
    bytes = std::move(data);
    return true;
}

QByteArray readFileHead(const QString& path, qint64 count) {
    FileFault fault = FileFault::None;
    qint64 size = 0;
    const int fd = openRegular(path, fault, size);
    if (fd < 0) return {};
    QByteArray head;
    if (!readNative(fd, count, head, nullptr)) head.clear();
    ::close(fd);
    return head;
}

FileChunkReader::FileChunkReader(const QString& path) { fd_ = openRegular(path, fault_, size_); }

FileChunkReader::~FileChunkReader() {
    if (fd_ >= 0) ::close(fd_);
}

qint64 FileChunkReader::readInto(QByteArray& bytes, qint64 count) {
    if (fd_ < 0) return -1;
    const qsizetype start = bytes.size();
    bytes.resize(start + count);
    qint64 done = 0;
    while (done < count) {
        const ssize_t n = ::read(fd_, bytes.data() + start + done, static_cast<size_t>(count - done));
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            bytes.truncate(start);
            return -1;
        }
        done += n;
    }
    bytes.truncate(start + done);
    return done;
}

AtomicFileWriter::AtomicFileWriter(const QString& path) : target_(writeTarget(nativePath(path))) {
    struct stat old {};
    replaces_ = ::stat(target_.constData(), &old) == 0;
    if (replaces_ && S_ISDIR(old.st_mode)) return;
    mode_ = old.st_mode & 07777;
    // A fresh name next to the target, so the final rename stays on one file system.
    for (int tries = 0; fd_ < 0 && tries < 100; ++tries) {
        temp_ = target_ + ".tmp" + QByteArray::number(QRandomGenerator::global()->generate(), 16);
        fd_ = ::open(temp_.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd_ < 0 && errno != EEXIST) return;
    }
}

AtomicFileWriter::~AtomicFileWriter() {
    if (fd_ < 0) return;
    ::close(fd_);
    ::unlink(temp_.constData());
}

bool AtomicFileWriter::append(QByteArrayView bytes) {
    if (!ok()) return false;
    if (!writeAllNative(fd_, bytes.data(), bytes.size())) failed_ = true;
    return ok();
}

bool AtomicFileWriter::restart() {
    if (!ok()) return false;
    if (::ftruncate(fd_, 0) != 0 || ::lseek(fd_, 0, SEEK_SET) != 0) failed_ = true;
    return ok();
}

bool AtomicFileWriter::commit() {
    if (!ok()) return false;
    bool done = !replaces_ || ::fchmod(fd_, mode_) == 0; // the target keeps its mode
    if (done) done = ::fsync(fd_) == 0;
    if (::close(fd_) != 0) done = false;
    fd_ = -1;
    if (done) done = ::rename(temp_.constData(), target_.constData()) == 0;
    if (!done) ::unlink(temp_.constData());
    failed_ = !done;
    if (done) settleFolder();
    return done;
}

void AtomicFileWriter::settleFolder() const {
    QByteArray folder, name;
    splitNative(target_, folder, name);
    if (folder.isEmpty()) folder = ".";
    // The rename lives in the folder: without its sync a crash could still lose the new name.
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    // A save killed between writing and renaming left its temporary file; the next save of the
    // same file takes them away (only names of our own pattern: name + ".tmp" + hex digits).
    if (DIR* dir = ::fdopendir(fd)) {
        const QByteArray prefix = name + ".tmp";
        std::vector<QByteArray> stale;
        while (const dirent* entry = ::readdir(dir)) {
            const QByteArrayView entryName(entry->d_name);
            if (!entryName.startsWith(prefix) || entryName.size() == prefix.size() || entryName.size() > prefix.size() + 8)
                continue;
            bool hex = true;
            for (char c : entryName.sliced(prefix.size()))
                hex = hex && ((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'));
            if (hex) stale.emplace_back(entryName.toByteArray());
        }
        for (const QByteArray& old : stale) ::unlinkat(::dirfd(dir), old.constData(), 0);
        ::closedir(dir);
    } else {
        ::close(fd);
    }
}

bool writeFileAtomic(const QString& path, const QByteArray& bytes) {
    AtomicFileWriter writer(path);
    return writer.append(bytes) && writer.commit();
}

namespace {

// True when `to` is `from` itself or lies inside it (after resolving links and ".."). A link as
// `from` is the link itself, never its target: a link copied or moved as a link nests nothing.
bool wouldNestInto(const QByteArray& from, const QString& to) {
    QByteArray folder, name;
    splitNative(from, folder, name);
    char* real = ::realpath(folder.constData(), nullptr);
    if (!real) return false;
    const QByteArray source = joinNative(QByteArray(real), name);
    std::free(real);
    splitNative(nativePath(to), folder, name);
    char* parentReal = ::realpath(folder.constData(), nullptr);
    if (!parentReal) return false;
    const QByteArray dest = joinNative(QByteArray(parentReal), name);
    std::free(parentReal);
    return dest == source || dest.startsWith(source.endsWith('/') ? source : source + '/');
}

int copyFresh(const QString& from, const QString& to) {
    const QByteArray src = nativePath(from), dst = nativePath(to);
    struct stat st {};
    if (::lstat(src.constData(), &st) != 0) return errno;
    if (::lstat(dst.constData(), &st) == 0) return EEXIST;
    if (wouldNestInto(src, to)) return EINVAL;
    const int err = copyNative(src, dst);
    if (err) eraseNative(dst); // the target did not exist before, so all of it is ours
    return err;
}

} // namespace

int copyPath(const QString& from, const QString& to) {
    return copyFresh(from, to);
}

int movePath(const QString& from, const QString& to) {
    const QByteArray src = nativePath(from), dst = nativePath(to);
    if (wouldNestInto(src, to)) return EINVAL;
    const int err = renameNative(src, dst);
    if (err != EXDEV) return err;
    if (const int copyErr = copyFresh(from, to)) return copyErr;
    return eraseNative(src);
}

int eraseFile(const QString& path) {
    return eraseNative(nativePath(path));
}
