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

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

constexpr int kMaxDepth = 999;
// A node keeps its kind in a byte; every kind bit the system knows fits with room to spare.
constexpr int kMaxKind = 255;

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

LineClass classify(QStringView line, Record& r) {
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
    const QChar* data = line.data();
    for (qsizetype i = 0; i <= line.size(); ++i) {
        if (i < line.size() && data[i] != u'\t') continue;
        if (count == 6) return LineClass::Outside; // a seventh field
        fields[count++] = line.sliced(from, i - from);
        from = i + 1;
    }
    if (count < 5) return LineClass::Outside;
    int64_t depth = 0, kind = 0;
    if (!strictInt(fields[0], kMaxDepth, depth) || !strictInt(fields[1], kMaxKind, kind)) return LineClass::Outside;
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
    for (const QChar c : name)
        if (c.isNull() || (rooted && (c == u'/' || c == separator))) return false;
    return !rooted || (!name.isEmpty() && name != u"." && name != u"..");
}

void applyRecord(fileInfo& node, const Record& r) {
    node.depth = static_cast<int16_t>(r.depth);
    node.kind = static_cast<uint8_t>(r.kind);
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

namespace {

// Appends one node's line with its CR LF: code page 932 when `cp932` (false when a character of
// it does not survive code page 932), else UTF-8 with name bytes kept as they were on disk.
bool appendLine(const fileInfo& node, bool cp932, QByteArray& out, QString& scratch) {
    auto text = [&](QStringView t) {
        if (cp932) return appendCp932(t, out);
        out.append(encodeFileName(t)); // names that are not UTF-8 on disk keep their bytes
        return true;
    };
    // Printable ASCII is the same in every encoding the file can have: such a name goes as it is
    // stored, with the numbers around it, straight into the buffer.
    const QByteArrayView stored = node.nameUtf8();
    const bool plain = std::all_of(stored.begin(), stored.end(), [](char c) { return c >= 32 && c < 127; });
    const qsizetype start = out.size();
    out.resize(start + 64 + (plain ? stored.size() : 0)); // depth, kind, size, stamp and TABs take at most 52
    char* at = out.data() + start;
    at = std::to_chars(at, at + 8, int(node.depth)).ptr;
    *at++ = '\t';
    at = std::to_chars(at, at + 4, unsigned(node.kind)).ptr;
    *at++ = '\t';
    bool fits = true;
    if (plain) {
        if (!stored.isEmpty()) std::memcpy(at, stored.data(), static_cast<std::size_t>(stored.size()));
        at += stored.size();
    } else {
        out.truncate(at - out.constData());
        scratch = node.name();
        for (QChar& c : scratch)
            if (c.unicode() < 32 || c.unicode() == 127) c = QChar(0xFFFD);
        fits = text(scratch);
        const qsizetype middle = out.size();
        out.resize(middle + 64);
        at = out.data() + middle;
    }
    *at++ = '\t';
    at = std::to_chars(at, at + 20, node.size).ptr;
    *at++ = '\t';
    at = std::to_chars(at, at + 20, node.stamp).ptr;
    out.truncate(at - out.constData());
    if (node.meta) {
        out.append('\t');
        if (node.meta->text.contains(u'\t')) {
            scratch = node.meta->text;
            scratch.replace(u'\t', u' ');
            fits = text(scratch) && fits;
        } else {
            fits = text(node.meta->text) && fits;
        }
    }
    out.append("\r\n", 2);
    return fits;
}

} // namespace

QString constellationLine(const fileInfo& node) {
    QByteArray bytes;
    QString scratch;
    appendLine(node, false, bytes, scratch);
    bytes.chop(2);
    return decodeFileName(bytes);
}

namespace {

// Writes the file: code page 932 when every line survives it, else UTF-8 with a byte-order
// mark. Lines are built in one reused buffer that goes to the file a megabyte at a time.
bool writeConstellationFile(const treeInfo& tree, AtomicFileWriter& file) {
    constexpr qsizetype kPiece = qsizetype(1) << 20;
    QByteArray piece;
    piece.reserve(kPiece + 4096);
    QString scratch;
    for (const bool cp932 : {true, false}) {
        if (!cp932) {
            file.restart();
            piece.append("\xEF\xBB\xBF");
        }
        bool fits = true;
        for (const fileInfo* n = tree.root(); n != tree.bottom() && fits; n = n->next) {
            fits = appendLine(*n, cp932, piece, scratch);
            if (piece.size() >= kPiece) {
                file.append(piece);
                piece.resize(0);
            }
        }
        if (fits) return file.append(piece);
        piece.resize(0);
    }
    return false;
}

} // namespace

bool writeConstellation(treeInfo& tree, const QString& path) {
    AtomicFileWriter file(path);
    if (!writeConstellationFile(tree, file) || !file.commit()) {
        showCheck(QStringLiteral("星座データを保存できませんでした！"), path, 0);
        return false;
    }
    tree.metaChanged = false;
    return true;
}

namespace {

// Takes the lines of constellation data one at a time, in order, into the tree. The tree is left
// alone until the root record comes; finish() completes it.
class ConstellationReader {
public:
    ConstellationReader(treeInfo& tree, ScanProgress* progress)
        : tree_(tree), progress_(progress), separator_(u'/') {}

    // One line of the data; nothing of it is kept. O(line length).
    void take(QStringView line) {
        const qsizetype i = index_++;
        if (outOfMemory_) return;
        const LineClass c = classify(line, r_);
        if (!previous_) {
            // The root is the first record of depth 0.
            if (c == LineClass::Record && r_.depth == 0) startTree();
            else if (c != LineClass::Ignored) countOutside(i);
            return;
        }
        if (c == LineClass::Ignored) return;
        // A node sits at most one level below the node before it, and only below a galaxy.
        const bool fits = c == LineClass::Record && r_.depth >= 1 && r_.depth <= previous_->depth + 1 &&
                          (r_.depth <= previous_->depth || previous_->isGalaxy()) &&
                          safeName(r_.name, rooted_, separator_);
        if (!fits) {
            countOutside(i);
            return;
        }
        fileInfo* node = tree_.appendNode(previous_, r_.depth, r_.name);
        if (!node) {
            outOfMemory_ = true;
            return;
        }
        applyRecord(*node, r_);
        if (r_.depth > tree_.deepestLevel) tree_.deepestLevel = r_.depth;
        if (node->isGalaxy()) ++tree_.galaxyCount;
        else ++tree_.starCount;
        previous_ = node;
        if (progress_ && (tree_.galaxyCount + tree_.starCount) % 100 == 0) {
            progress_->setCounterText(QStringLiteral(" 現在の採取星：最深 ") + QString::number(tree_.deepestLevel));
            progress_->setPathText(QStringLiteral("       検索数 < D:") + QString::number(tree_.galaxyCount) +
                                   QStringLiteral(" F:") + QString::number(tree_.starCount) + QStringLiteral(" >") +
                                   node->name());
        }
    }

    // Rebuilds the links and sizes and reports what was outside the format. False (the tree as it
    // was) when no root record came. O(n).
    bool finish() {
        if (!previous_) {
            if (outside_ == 0) countOutside(0);
            reportOutside();
            return false;
        }
        tree_.searchDepth = tree_.deepestLevel;
        tree_.rebuildLinks();
        tree_.sumSizes();
        tree_.clonesComputed = 0;
        tree_.topGalaxy = tree_.root();
        tree_.current = tree_.root();
        tree_.chartMode = !isRootedPath(tree_.pathBuffer);
        tree_.driveText = driveBoxText(tree_.pathBuffer);
        if (progress_) progress_->hideProgress();
        if (outOfMemory_)
            showCheck(QStringLiteral("検索が中断されました！"), QStringLiteral("メモリー不足で銀河が作成できません！"), 0);
        reportOutside();
        return true;
    }

private:
    void startTree() {
        if (progress_) progress_->showProgress(false);
        tree_.clearTree();
        tree_.deepestLevel = 0;
        tree_.searchDepth = 0;
        fileInfo* root = tree_.root();
        tree_.pathBuffer = r_.name.toString();
        tree_.setName(root, tree_.pathBuffer);
        applyRecord(*root, r_);
        root->kind |= KindGalaxy;
        tree_.galaxyCount = 1;
        tree_.starCount = 0;
        rooted_ = isRootedPath(tree_.pathBuffer);
        separator_ = tree_.separator();
        previous_ = root;
    }

    void countOutside(qsizetype i) {
        if (outside_++ == 0) firstOutside_ = i;
    }

    void reportOutside() {
        if (outside_ > 0)
            showCheck(QStringLiteral("書式外の行があります！"),
                      QStringLiteral("(行数:%1) %2 行...").arg(outside_).arg(firstOutside_), 0);
    }

    treeInfo& tree_;
    ScanProgress* progress_;
    Record r_;
    fileInfo* previous_ = nullptr; // the node read last; none until the root came
    qsizetype index_ = 0;
    int64_t outside_ = 0;
    int64_t firstOutside_ = -1;
    bool outOfMemory_ = false;
    bool rooted_ = false;
    QChar separator_;
};

} // namespace

bool readConstellation(treeInfo& tree, const QString& location, ScanProgress* progress) {
    // A file far beyond any node limit is refused before it is read.
    FolderEntry entry;
    if (!isHttpLocation(location) && statPath(location, entry) && entry.size > kMaxConstellationBytes) {
        showCheck(QStringLiteral("星座データが大きすぎます！"), location, 0);
        return false;
    }
    if (isHttpLocation(location)) {
        QStringList lines;
        tree.fetched = true;
        // A failed fetch has been reported by the fetch itself.
        return loadTextLines(location, lines) && readConstellationLines(tree, lines, progress);
    }
    TextLineReader file(location);
    if (!file.ok()) {
        showCheck(fileFaultText(file.fault(), QStringLiteral("指定の「NEBU」星座データの[星]が存在しません！")), location, 0);
        return false;
    }
    ConstellationReader reader(tree, progress);
    QStringView line;
    while (file.next(line)) reader.take(line);
    if (file.failed()) showCheck(QStringLiteral("星座データを最後まで読めませんでした！"), location, 0);
    if (!reader.finish()) return false;
    tree.fetched = false;
    return true;
}

bool readConstellationLines(treeInfo& tree, const QStringList& lines, ScanProgress* progress) {
    ConstellationReader reader(tree, progress);
    for (const QString& line : lines) reader.take(line);
    return reader.finish();
}
