// Arbitrary bytes as a small folder tree on disk (any name bytes, folders, links to anywhere): the
// scan must list it without a fault, give the same tree with and without helper threads, and the
// constellation data it writes must read back.
#include "universe/Constellation.h"
#include "universe/UniverseScan.h"

#include "common/Platform.h"
#include "common/ShowCheck.h"

#include <QByteArray>
#include <QFile>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

// The next name from the input: 1 to 16 bytes, never "/" or NUL, never "." or "..".
QByteArray takeName(const uint8_t*& p, const uint8_t* end) {
    if (p == end) return "n";
    const std::size_t length = std::min<std::size_t>(*p++ % 16 + 1, static_cast<std::size_t>(end - p));
    QByteArray name(reinterpret_cast<const char*>(p), static_cast<qsizetype>(length));
    p += length;
    name.replace('/', 'x').replace('\0', 'x');
    if (name.isEmpty() || name == "." || name == "..") name = "n";
    return name;
}

QStringList lines(const treeInfo& tree) {
    QStringList out;
    for (const fileInfo* n = tree.root(); n != tree.bottom(); n = n->next) out.append(constellationLine(*n));
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static RecordingCheckSink sink;
    static ScopedCheckSink installed(&sink);
    char pattern[] = "/tmp/universe_scan_fuzz.XXXXXX";
    if (!::mkdtemp(pattern)) return 0;
    const QString top = QString::fromLocal8Bit(pattern);
    std::vector<int> open{::open(pattern, O_RDONLY | O_DIRECTORY)};
    const uint8_t* p = data;
    const uint8_t* end = data + size;
    for (int made = 0; p < end && made < 64; ++made) {
        const uint8_t op = *p++ % 4;
        const QByteArray name = takeName(p, end);
        const int at = open.back();
        if (op == 0) {
            const int fd = ::openat(at, name.constData(), O_CREAT | O_WRONLY | O_EXCL, 0644);
            if (fd >= 0) ::close(fd);
        } else if (op == 1 && open.size() < 12) {
            if (::mkdirat(at, name.constData(), 0755) == 0) {
                const int fd = ::openat(at, name.constData(), O_RDONLY | O_DIRECTORY);
                if (fd >= 0) open.push_back(fd);
            }
        } else if (op == 2 && open.size() > 1) {
            ::close(open.back());
            open.pop_back();
        } else if (op == 3) {
            ::symlinkat(takeName(p, end).constData(), at, name.constData());
        }
    }
    for (int fd : open) ::close(fd);

    QStringList scanned[2];
    for (int helpers : {0, 2}) {
        treeInfo tree(QStringLiteral("/"), QStringLiteral("/"));
        tree.searchDepth = 999;
        UniverseScan scan(tree, nullptr, nullptr);
        scan.helpers = helpers;
        if (scan.scanUniverse(top) != 1) std::abort();
        tree.sumSizes();
        scanned[helpers ? 1 : 0] = lines(tree);
        if (helpers) {
            const QString file = top + QStringLiteral(".nebu");
            if (!writeConstellation(tree, file)) std::abort();
            treeInfo back(QStringLiteral("/"), QStringLiteral("/"));
            if (!readConstellation(back, file, nullptr)) std::abort();
            ::unlink(QFile::encodeName(file).constData());
            if (back.nodeCount() != tree.nodeCount()) std::abort();
        }
    }
    if (scanned[0] != scanned[1]) std::abort();
    eraseFile(top);
    sink.records.clear();
    return 0;
}
