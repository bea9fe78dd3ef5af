#include "FileErase.h"

#include "PlatformNative.h"
#include "Texts.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

int eraseUnchangedFile(const QString& path, uint64_t size, uint64_t stamp) {
    QByteArray folder, name;
    splitNative(nativePath(path), folder, name);
    if (name.isEmpty() || name == "." || name == ".." || name == "/") return EINVAL;
    // The check and the unlink go through one folder descriptor, so a folder renamed in between
    // cannot redirect the unlink to another place.
    const int dir = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0) return errno;
    struct stat st {};
    int result = 0;
    if (::fstatat(dir, name.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0) result = errno;
    else if (S_ISDIR(st.st_mode) || static_cast<uint64_t>(st.st_size) != size || fileTimeNumber(st.st_mtime) != stamp)
        result = ESTALE;
    else if (::unlinkat(dir, name.constData(), 0) != 0) // flag 0: a folder is refused, never emptied
        result = errno;
    ::close(dir);
    return result;
}
