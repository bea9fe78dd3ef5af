#include "Constellation.h"

#include "ScanProgress.h"

#include "common/Fetch.h"
#include "common/FileNameCodec.h"
#include "common/Numbers.h"
#include "common/Platform.h"
#include "common/ShowCheck.h"
#include "common/TextCodec.h"
#include "common/TextFile.h"
#include "common/Texts.h"

#include <cmath>
#include <vector>

namespace {

constexpr int kMaxDepth = 999;

struct Record {
    int depth = 0;
    uint32_t kind = 0;
    QStringView name;
    uint64_t size = 0;
    uint64_t stamp = 0;
    QStringView meta;
};

enum class LineClass { Ignored, Outside, Record };

bool isBlank(QChar c) { return c.unicode() <= 32; }

// A field that must be a plain decimal integer (leading blanks allowed) no larger than `limit`.
bool strictInt(QStringView field, int64_t limit, int64_t& value) {
    qsizetype i = 0;
    while (i < field.size() && isBlank(field[i])) ++i;
    if (i == field.size()) return false;
    value = 0;
    for (; i < field.size(); ++i) {
        const char16_t c = field[i].unicode();
        if (c < u'0' || c > u'9') return false;
        value = value * 10 + (c - u'0');
        if (value > limit) return false;
    }
    return true;
}

// A number field read as a real and truncated to an unsigned 64-bit value; plain digit runs are
// read exactly, saturating at the largest value.
uint64_t numberField(QStringView field) {
    qsizetype i = 0;
    while (i < field.size() && isBlank(field[i])) ++i;
    qsizetype j = i;
    uint64_t exact = 0;
    bool saturated = false;
    while (j < field.size() && field[j] >= u'0' && field[j] <= u'9') {
        const uint64_t digit = field[j].unicode() - u'0';
        if (exact > (UINT64_MAX - digit) / 10) saturated = true;
        else exact = exact * 10 + digit;
        ++j;
    }
    const bool plain = j > i && (j == field.size() || (field[j] != u'.' && field[j] != u'e' && field[j] != u'E'));
    if (plain) return saturated ? UINT64_MAX : exact;
    const double v = parseLeadingNumber(field);
    if (!(v > 0)) return 0;
    if (v >= 18446744073709551615.0) return UINT64_MAX;
    return static_cast<uint64_t>(std::trunc(v));
}

LineClass classify(const QString& line, Record& r) {
    if (line.isEmpty()) return LineClass::Ignored;
    const char16_t first = line[0].unicode();
    if (first < 32 || first == u'\'' || first == u':') return LineClass::Ignored;
    qsizetype start = 0;
    while (start < line.size() && isBlank(line[start])) ++start;
    if (start == line.size()) return LineClass::Ignored;
    if (line[start] < u'0' || line[start] > u'9') return LineClass::Outside;

    QStringView fields[6];
    int count = 0;
    qsizetype from = 0;
    for (;;) {
        const qsizetype tab = line.indexOf(u'\t', from);
        if (count == 6) return LineClass::Outside; // a seventh field
        if (tab < 0) {
            fields[count++] = QStringView(line).mid(from);
            break;
        }
        fields[count++] = QStringView(line).mid(from, tab - from);
        from = tab + 1;
    }
    if (count < 5) return LineClass::Outside;
    int64_t depth = 0, kind = 0;
    if (!strictInt(fields[0], kMaxDepth, depth) || !strictInt(fields[1], INT32_MAX, kind)) return LineClass::Outside;
    r.depth = static_cast<int>(depth);
    r.kind = static_cast<uint32_t>(kind);
    r.name = fields[2];
    r.size = numberField(fields[3]);
    r.stamp = convertStamp(numberField(fields[4]));
    r.meta = count == 6 ? fields[5] : QStringView();
    return LineClass::Record;
}

// A name that a file system could hold: in a tree of real paths it must be one path component,
// or a file command would later act on another place than the one shown. A NUL would cut the
// path short in any tree.
bool safeName(QStringView name, bool rooted, QChar separator) {
    if (name.contains(QChar(0))) return false;
    if (!rooted) return true;
    return !name.isEmpty() && name != u"." && name != u".." && !name.contains(u'/') && !name.contains(separator);
}

void applyRecord(fileInfo& node, const Record& r) {
    node.depth = r.depth;
    node.kind = r.kind;
    node.size = r.size;
    node.stamp = r.stamp;
    node.meta.reset();
    if (!r.meta.isEmpty()) {
        node.meta = std::make_unique<metaInfo>(r.meta.toString());
        node.size = static_cast<uint64_t>(node.meta->text.size());
    }
}

} // namespace

uint64_t convertStamp(uint64_t v) {
    if (v >= 19800101000000ULL && v <= 29801231235959ULL) return v;
    if (v >= 198001010000ULL && v <= 298012312359ULL) return v * 100;
    if (v > 300012312359ULL) return fileTimeNumber(static_cast<std::time_t>(v / 1000));
    return v;
}

QString constellationLine(const fileInfo& node) {
    QString name = node.name;
    for (QChar& c : name)
        if (c.unicode() < 32 || c.unicode() == 127) c = QChar(0xFFFD);
    QString line = QString::number(node.depth) + u'\t' + QString::number(node.kind) + u'\t' + name + u'\t' +
                   QString::number(node.size) + u'\t' + QString::number(node.stamp);
    if (node.meta) {
        QString text = node.meta->text;
        text.replace(u'\t', u' ');
        line += u'\t' + text;
    }
    return line;
}

namespace {

// The file's bytes: code page 932 when every line survives it, else UTF-8 with a byte-order
// mark. Lines are encoded a chunk at a time, so the text never exists whole in UTF-16 too.
QByteArray constellationBytes(const treeInfo& tree) {
    constexpr qsizetype kChunk = 1 << 20;
    QByteArray bytes;
    QString chunk;
    bool cp932 = true;
    auto flush = [&] {
        if (cp932) {
            bool lossless = true;
            const QByteArray encoded = encodeCp932(chunk, &lossless);
            if (lossless && decodeCp932(encoded) == chunk) bytes += encoded;
            else cp932 = false;
        } else {
            bytes += encodeFileName(chunk); // names that are not UTF-8 on disk keep their bytes
        }
        chunk.clear();
    };
    for (const fileInfo* n = tree.root(); n != tree.bottom() && cp932; n = n->next) {
        chunk += constellationLine(*n);
        chunk += QStringLiteral("\r\n");
        if (chunk.size() >= kChunk) flush();
    }
    if (cp932) flush();
    if (cp932) return bytes;
    bytes = QByteArray("\xEF\xBB\xBF");
    for (const fileInfo* n = tree.root(); n != tree.bottom(); n = n->next) {
        chunk += constellationLine(*n);
        chunk += QStringLiteral("\r\n");
        if (chunk.size() >= kChunk) flush();
    }
    flush();
    return bytes;
}

} // namespace

bool writeConstellation(treeInfo& tree, const QString& path) {
    if (!writeFileAtomic(path, constellationBytes(tree))) {
        showCheck(QStringLiteral("星座データを保存できませんでした！"), path, 0);
        return false;
    }
    tree.metaChanged = false;
    return true;
}

bool readConstellation(treeInfo& tree, const QString& location, ScanProgress* progress) {
    // Lines in memory take about six times the file, so a file far beyond any node limit is
    // refused before it is read.
    FolderEntry entry;
    if (!isHttpLocation(location) && statPath(location, entry) && entry.size > kMaxConstellationBytes) {
        showCheck(QStringLiteral("星座データが大きすぎます！"), location, 0);
        return false;
    }
    QStringList lines;
    if (!loadTextLines(location, lines)) {
        // A failed fetch has been reported by the fetch itself.
        if (!isHttpLocation(location))
            showCheck(QStringLiteral("指定の「NEBU」星座データの[星]が存在しません！"), location, 0);
        return false;
    }
    return readConstellationLines(tree, lines, progress);
}

bool readConstellationLines(treeInfo& tree, const QStringList& lines, ScanProgress* progress) {
    int64_t outside = 0;
    int64_t firstOutside = -1;
    auto countOutside = [&](qsizetype i) {
        if (outside++ == 0) firstOutside = i;
    };
    auto reportOutside = [&] {
        if (outside > 0)
            showCheck(QStringLiteral("書式外の行があります！"),
                      QStringLiteral("(行数:%1) %2 行...").arg(outside).arg(firstOutside), 0);
    };

    // The root is the first record of depth 0; without one the tree stays as it was.
    Record r;
    qsizetype rootIndex = 0;
    for (; rootIndex < lines.size(); ++rootIndex) {
        const LineClass c = classify(lines[rootIndex], r);
        if (c == LineClass::Record && r.depth == 0) break;
        if (c != LineClass::Ignored) countOutside(rootIndex);
    }
    if (rootIndex == lines.size()) {
        if (outside == 0) countOutside(0);
        reportOutside();
        return false;
    }

    if (progress) progress->showProgress(false);
    tree.clearTree();
    tree.deepestLevel = 0;
    tree.searchDepth = 0;
    fileInfo* root = tree.root();
    tree.pathBuffer = r.name.toString();
    root->name = tree.pathBuffer;
    applyRecord(*root, r);
    root->kind |= KindGalaxy;
    tree.galaxyCount = 1;
    tree.starCount = 0;

    const bool rooted = isRootedPath(tree.pathBuffer);
    const QChar separator = tree.separator();
    bool outOfMemory = false;
    fileInfo* previous = root;
    for (qsizetype i = rootIndex + 1; i < lines.size(); ++i) {
        const LineClass c = classify(lines[i], r);
        if (c == LineClass::Ignored) continue;
        // A node sits at most one level below the node before it, and only below a galaxy.
        const bool fits = c == LineClass::Record && r.depth >= 1 && r.depth <= previous->depth + 1 &&
                          (r.depth <= previous->depth || previous->isGalaxy()) && safeName(r.name, rooted, separator);
        if (!fits) {
            countOutside(i);
            continue;
        }
        fileInfo* node = tree.appendNode(previous, r.depth, r.name.toString());
        if (!node) {
            outOfMemory = true;
            break;
        }
        applyRecord(*node, r);
        if (r.depth > tree.deepestLevel) tree.deepestLevel = r.depth;
        if (node->isGalaxy()) ++tree.galaxyCount;
        else ++tree.starCount;
        previous = node;
        if (progress && (tree.galaxyCount + tree.starCount) % 100 == 0) {
            progress->setCounterText(QStringLiteral(" 現在の採取星：最深 ") + QString::number(tree.deepestLevel));
            progress->setPathText(QStringLiteral("       検索数 < D:") + QString::number(tree.galaxyCount) +
                                  QStringLiteral(" F:") + QString::number(tree.starCount) + QStringLiteral(" >") +
                                  node->name);
        }
    }

    tree.searchDepth = tree.deepestLevel;
    tree.rebuildLinks();
    tree.sumSizes();
    tree.clonesComputed = 0;
    tree.topGalaxy = root;
    tree.current = root;
    tree.chartMode = !isRootedPath(tree.pathBuffer);
    tree.driveText = driveBoxText(tree.pathBuffer);
    if (progress) progress->hideProgress();
    if (outOfMemory)
        showCheck(QStringLiteral("検索が中断されました！"), QStringLiteral("メモリー不足で銀河が作成できません！"), 0);
    reportOutside();
    return true;
}
