// Drives on Linux: every mounted real file system is a drive, named by its mount point.
#include "Platform.h"

#include "FileNameCodec.h"
#include "Settings.h"

#include <algorithm>
#include <map>

namespace {

// File systems of the kernel's own that hold no user files, and the read-only package images
// (squashfs) that would otherwise crowd the drive list.
bool isPseudoFileSystem(const QByteArray& type) {
    static const char* const pseudo[] = {
        "proc",      "sysfs",           "devtmpfs",    "devpts",     "cgroup",     "cgroup2", "securityfs",
        "debugfs",   "tracefs",         "pstore",      "bpf",        "configfs",   "fusectl", "mqueue",
        "hugetlbfs", "autofs",          "binfmt_misc", "efivarfs",   "rpc_pipefs", "nsfs",    "selinuxfs",
        "nfsd",      "fuse.gvfsd-fuse", "fuse.portal", "fuse.lxcfs", "squashfs",
    };
    for (const char* p : pseudo)
        if (type == p) return true;
    return false;
}

bool isUnder(const QByteArray& path, const char* folder) {
    const QByteArray f(folder);
    return path == f || path.startsWith(f + '/');
}

// mountinfo escapes space, tab, newline and backslash as \ooo.
QByteArray unescapeMountField(const QByteArray& field) {
    QByteArray out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            bool ok = false;
            const int value = field.mid(i + 1, 3).toInt(&ok, 8);
            if (ok && value < 256) {
                out.append(static_cast<char>(value));
                i += 3;
                continue;
            }
        }
        out.append(field[i]);
    }
    return out;
}

} // namespace

DriveKind driveKindOf(const QString& fsType) {
    static const char* const remote[] = {"nfs",       "nfs4",        "cifs", "smb3", "smbfs",
                                         "sshfs",     "fuse.sshfs",  "9p",   "afs",  "ceph",
                                         "glusterfs", "fuse.rclone", "davfs"};
    static const char* const fixed[] = {"ext2", "ext3",  "ext4",     "xfs",     "btrfs", "zfs",
                                        "f2fs", "jfs",   "reiserfs", "overlay", "vfat",  "exfat",
                                        "ntfs", "ntfs3", "fuseblk",  "hfsplus"};
    for (const char* r : remote)
        if (equalsCaseless(fsType, QString::fromLatin1(r))) return DriveKind::Remote;
    if (equalsCaseless(fsType, u"iso9660") || equalsCaseless(fsType, u"udf")) return DriveKind::CdRom;
    if (equalsCaseless(fsType, u"tmpfs") || equalsCaseless(fsType, u"ramfs")) return DriveKind::RamDisk;
    for (const char* f : fixed)
        if (equalsCaseless(fsType, QString::fromLatin1(f))) return DriveKind::Fixed;
    return DriveKind::Unknown;
}

std::vector<DriveInfo> parseMountInfo(const QByteArray& text) {
    std::map<QByteArray, DriveInfo> byMountPoint; // the last mount over a point is the visible one
    for (const QByteArray& line : text.split('\n')) {
        // id parent major:minor root mountpoint options [optional...] - type source superoptions
        const QList<QByteArray> f = line.simplified().split(' ');
        const qsizetype dash = f.indexOf("-");
        if (dash < 6 || dash + 2 >= f.size()) continue;
        const QByteArray mountPoint = unescapeMountField(f[4]);
        const QByteArray type = f[dash + 1];
        if (!mountPoint.startsWith('/') || isPseudoFileSystem(type)) continue;
        if (isUnder(mountPoint, "/proc") || isUnder(mountPoint, "/sys") || isUnder(mountPoint, "/dev"))
            continue;
        if (isUnder(mountPoint, "/run") && !isUnder(mountPoint, "/run/media")) continue;
        DriveInfo d;
        d.root = decodeFileName(mountPoint);
        if (!d.root.endsWith(u'/')) d.root += u'/';
        d.device = decodeFileName(unescapeMountField(f[dash + 2]));
        d.fsType = QString::fromLatin1(type);
        d.kind = driveKindOf(d.fsType);
        const bool removableFolder = isUnder(mountPoint, "/media") || isUnder(mountPoint, "/run/media");
        if (d.kind == DriveKind::Fixed && removableFolder) d.kind = DriveKind::Removable;
        byMountPoint[mountPoint] = d;
    }
    std::vector<DriveInfo> drives;
    for (auto& [point, drive] : byMountPoint)
        drives.push_back(std::move(drive));
    std::stable_sort(drives.begin(), drives.end(), [](const DriveInfo& a, const DriveInfo& b) {
        if ((a.root == u"/") != (b.root == u"/")) return a.root == u"/";
        return encodeFileName(a.root) < encodeFileName(b.root);
    });
    return drives;
}

std::vector<DriveInfo> listDrives() {
    QByteArray text;
    if (!readFileBytes(QStringLiteral("/proc/self/mountinfo"), text, 16 << 20)) return {};
    // /proc files report size 0, so readFileBytes reads them through to the end.
    std::vector<DriveInfo> drives = parseMountInfo(text);
    std::erase_if(drives, [](const DriveInfo& d) { return !dirExists(d.root); });
    return drives;
}
