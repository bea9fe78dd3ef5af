// Arbitrary bytes as a home folder's catalog: the input is cut at NUL bytes into url.txt, the home's
// group.txt and the anime.txt of group folder "g". Reading must end in a catalog or a reported
// program end, never a fault, and every row must map to its entry and back.
#include "gallery/Catalog.h"

#include "common/ShowCheck.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

struct ProgramEnded {};

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) file.write(bytes);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static RecordingCheckSink messages;
    static ScopedCheckSink installed(&messages);
    static const ExitHandler previous = setExitHandler([](int) { throw ProgramEnded(); });
    messages.records.clear();

    QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    // Remote sources would reach the network; the fetch paths have loopback tests of their own.
    bytes.replace("http", "xttp");
    const QList<QByteArray> parts = bytes.split('\0');
    QTemporaryDir home;
    if (!home.isValid()) return 0;
    QDir(home.path()).mkdir(QStringLiteral("g"));
    writeFile(home.filePath(QStringLiteral("url.txt")), parts.value(0));
    writeFile(home.filePath(QStringLiteral("group.txt")), parts.value(1));
    writeFile(home.filePath(QStringLiteral("g/anime.txt")), parts.value(2));

    Catalog catalog(home.path());
    try {
        catalog.readSources();
    } catch (const ProgramEnded&) {
        return 0;
    }
    for (int row = 0; row < catalog.rowCount(); ++row) {
        const CatalogEntry entry = catalog.rowToEntry(row);
        if (!entry.source) std::abort();
        if (catalog.entryToRow(entry.source, entry.group, entry.work) != row) std::abort();
        if (entry.work) Catalog::workPath(*entry.source, *entry.group, *entry.work);
    }
    if (catalog.rowToEntry(catalog.rowCount()).source) std::abort();
    for (int i = 0; i < 4 && catalog.rowCount() > 0; ++i) {
        catalog.moveToNextGroup();
        catalog.moveToPreviousGroup();
    }
    return 0;
}
