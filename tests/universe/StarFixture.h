// A small disk universe for the star operation tests: folders, files, links of every kind, a name
// that is not valid UTF-8, a read-only folder; the disk read back byte for byte; and the tree
// compared with a fresh scan of the same disk.
#pragma once

#include "universe/UniverseScan.h"
#include "universe/treeInfo.h"

#include <QByteArray>
#include <QTemporaryDir>
#include <algorithm>
#include <dirent.h>
#include <fcntl.h>
#include <map>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

// What one entry on disk is: its kind, its bytes (a file) or its link text, its mode bits.
struct DiskEntry {
    char kind = 'f'; // 'f' file, 'd' folder, 'l' link
    QByteArray bytes;
    mode_t mode = 0;
    bool operator==(const DiskEntry&) const = default;
};
using DiskMap = std::map<QByteArray, DiskEntry>; // relative byte path -> entry

inline void readDiskInto(const QByteArray& base, const QByteArray& rel, DiskMap& out) {
    DIR* dir = ::opendir((base + rel).constData());
    if (!dir) return;
    while (const dirent* d = ::readdir(dir)) {
        const QByteArray name(d->d_name);
        if (name == "." || name == "..") continue;
        const QByteArray path = rel + "/" + name;
        struct stat st {};
        if (::lstat((base + path).constData(), &st) != 0) continue;
        DiskEntry e;
        e.mode = st.st_mode & 07777;
        if (S_ISLNK(st.st_mode)) {
            e.kind = 'l';
            char buf[4096];
            const ssize_t n = ::readlink((base + path).constData(), buf, sizeof buf);
            e.bytes = QByteArray(buf, n > 0 ? n : 0);
        } else if (S_ISDIR(st.st_mode)) {
            e.kind = 'd';
            readDiskInto(base, path, out);
        } else {
            const int fd = ::open((base + path).constData(), O_RDONLY);
            char buf[65536];
            ssize_t n;
            while (fd >= 0 && (n = ::read(fd, buf, sizeof buf)) > 0) e.bytes.append(buf, n);
            if (fd >= 0) ::close(fd);
        }
        out[path] = e;
    }
    ::closedir(dir);
}

// Every entry below `base` by relative path ("/a/b.txt").
inline DiskMap readDisk(const QByteArray& base) {
    DiskMap out;
    readDiskInto(base, {}, out);
    return out;
}

// The expected disk after an operation: the entry at `from` and everything below it appears
// (again) at `to`; with `move` it leaves `from`.
inline void carry(DiskMap& map, const QByteArray& from, const QByteArray& to, bool move) {
    DiskMap added;
    for (auto it = map.begin(); it != map.end();) {
        if (it->first == from || it->first.startsWith(from + "/")) {
            added[to + it->first.mid(from.size())] = it->second;
            if (move) {
                it = map.erase(it);
                continue;
            }
        }
        ++it;
    }
    map.insert(added.begin(), added.end());
}
inline void dropEntry(DiskMap& map, const QByteArray& path) {
    for (auto it = map.begin(); it != map.end();)
        it = it->first == path || it->first.startsWith(path + "/") ? map.erase(it) : std::next(it);
}

inline void writeBytes(const QByteArray& path, const QByteArray& bytes) {
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) return;
    [[maybe_unused]] const ssize_t n = ::write(fd, bytes.constData(), bytes.size());
    ::close(fd);
}

// The fixture tree under `root`:
//   a/f1.txt a/f2.bin a/n\xff\xfe.txt a/sub/deep.txt   b/g.txt   exists/f1.txt (other bytes)
//   links/lf -> ../a/f1.txt   links/ld -> ../a   links/dangling -> nowhere   links/up -> ..
//   ro/r.txt (ro without write bits)   changed.txt
inline void makeStarFixture(const QByteArray& root) {
    for (const char* d : {"", "/a", "/a/sub", "/b", "/exists", "/links", "/ro"}) ::mkdir((root + d).constData(), 0755);
    writeBytes(root + "/a/f1.txt", "alpha\n");
    writeBytes(root + "/a/f2.bin", QByteArray("\x00\x01\x02\xff\r\n", 6));
    writeBytes(root + "/a/n\xff\xfe.txt", "bytes name");
    writeBytes(root + "/a/sub/deep.txt", QByteArray(5000, 'd'));
    writeBytes(root + "/b/g.txt", "gamma");
    writeBytes(root + "/exists/f1.txt", "other alpha");
    writeBytes(root + "/ro/r.txt", "read only");
    writeBytes(root + "/changed.txt", "v1");
    [[maybe_unused]] int r = ::symlink("../a/f1.txt", (root + "/links/lf").constData());
    r = ::symlink("../a", (root + "/links/ld").constData());
    r = ::symlink("nowhere", (root + "/links/dangling").constData());
    r = ::symlink("..", (root + "/links/up").constData());
    ::chmod((root + "/ro").constData(), 0555);
}

// Scans `root` whole into the tree (sizes summed), as the window does.
inline int scanWhole(treeInfo& tree, const QString& root) {
    tree.searchDepth = 50;
    UniverseScan scan(tree, nullptr, nullptr);
    scan.helpers = 0;
    const int r = scan.scanUniverse(root);
    tree.sumSizes();
    return r;
}

// One line per node: depth, kind bits that a scan sets, size, a star's stamp, the path below the
// root. Sorted, so that order inside a galaxy does not count (a copy comes first, a scan sorts).
inline std::vector<std::string> treeLines(const treeInfo& tree) {
    std::vector<std::string> lines;
    const QString root = tree.root()->name();
    for (const fileInfo* n = tree.root(); n != tree.bottom(); n = n->next) {
        const QString path = n == tree.root() ? QString() : tree.treePath(n).mid(root.size());
        lines.push_back(QStringLiteral("%1 %2 %3 %4 %5")
                            .arg(n->depth)
                            .arg(n->kind & (KindGalaxy | KindLink | KindReadOnly))
                            .arg(n->size)
                            .arg(n->isGalaxy() ? 0 : n->stamp)
                            .arg(path)
                            .toStdString());
    }
    std::sort(lines.begin(), lines.end());
    lines.push_back("galaxies " + std::to_string(tree.galaxyCount) + " stars " + std::to_string(tree.starCount) +
                    " nodes " + std::to_string(tree.nodeCount()));
    return lines;
}

// Faults of the links that the edits keep: prev/next, parents and sibling marks as the depths
// say. Empty when the tree is sound. O(n).
inline std::string linkFaults(const treeInfo& tree) {
    std::vector<const fileInfo*> galaxyAt, openAt;
    std::string faults;
    std::map<const fileInfo*, bool> follows;
    for (const fileInfo* n = tree.root(); n != tree.bottom(); n = n->next) {
        if (n->next->prev != n) faults += "prev link; ";
        const auto d = static_cast<std::size_t>(n->depth);
        const fileInfo* parent = d > 0 && d - 1 < galaxyAt.size() ? galaxyAt[d - 1] : nullptr;
        if (n != tree.root() && n->parent != parent) faults += "parent of " + n->name().toStdString() + "; ";
        follows[n] = false;
        if (d < openAt.size() && openAt[d]) follows[openAt[d]] = true;
        openAt.resize(d + 1);
        openAt[d] = n;
        galaxyAt.resize(d + 1);
        galaxyAt[d] = n->isGalaxy() ? n : nullptr;
    }
    for (const auto& [n, f] : follows)
        if (n != tree.root() && bool(n->marks & MarkSiblingFollows) != f) faults += "sibling mark of " + n->name().toStdString() + "; ";
    return faults;
}
