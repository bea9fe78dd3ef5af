#include "sortFile.h"

#include "common/BreakPoll.h"
#include "common/ShowCheck.h"

#include <algorithm>
#include <bit>
#include <new>
#include <utility>

namespace {

inline unsigned char fold(unsigned char c) { return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c + 32) : c; }

template <typename T>
int order(T a, T b) {
    return a < b ? -1 : (b < a ? 1 : 0);
}

// The text from the last "." of a name; a null view when it has none.
QByteArrayView extensionOf(QByteArrayView name) {
    const qsizetype dot = name.lastIndexOf('.');
    return dot < 0 ? QByteArrayView() : name.sliced(dot);
}

const std::vector<QByteArrayView> kNoTexts;

} // namespace

int compareCaseless(QByteArrayView a, QByteArrayView b) {
    const qsizetype n = std::min(a.size(), b.size());
    const auto* x = reinterpret_cast<const unsigned char*>(a.data());
    const auto* y = reinterpret_cast<const unsigned char*>(b.data());
    for (qsizetype i = 0; i < n; ++i) {
        if (x[i] == y[i]) continue;
        const unsigned char fx = fold(x[i]), fy = fold(y[i]);
        if (fx != fy) return fx < fy ? -1 : 1;
    }
    return order(a.size(), b.size());
}

sortFile::sortFile(sortRecord* records, std::size_t count, std::function<void(const QString&)> progress, BreakPoll* poll)
    : records_(records), count_(count), progress_(std::move(progress)), poll_(poll) {}

int sortFile::compare(const sortRecord& a, const sortRecord& b) const { return compareFrom(a, b, 0); }

int sortFile::compareFrom(const sortRecord& a, const sortRecord& b, int firstKey) const {
    for (const int* code = keys_ + firstKey; *code >= 0; ++code) {
        int c = 0;
        switch (*code & 15) {
        case SortNumber: c = order(a.number, b.number); break;
        case SortName: c = compareCaseless(a.node->nameUtf8(), b.node->nameUtf8()); break;
        case SortSize: c = order(a.node->size, b.node->size); break;
        case SortStamp: c = order(a.node->stamp, b.node->stamp); break;
        case SortDepth: c = order(a.node->depth, b.node->depth); break;
        case SortGroup: c = order(a.groupStart, b.groupStart); break;
        case SortText: c = compareCaseless(a.text, b.text); break;
        case SortExtension: {
            const QByteArrayView x = extensionOf(a.node->nameUtf8()), y = extensionOf(b.node->nameUtf8());
            c = x.isNull() || y.isNull() ? order(!x.isNull(), !y.isNull()) : compareCaseless(x, y);
            break;
        }
        case SortTexts: {
            const std::vector<QByteArrayView>& x = a.texts ? *a.texts : kNoTexts;
            const std::vector<QByteArrayView>& y = b.texts ? *b.texts : kNoTexts;
            const std::size_t n = std::min({x.size(), y.size(), std::size_t(kMaxTexts)});
            for (std::size_t i = 0; i < n && c == 0; ++i) c = compareCaseless(x[i], y[i]);
            if (c == 0) c = order(std::min(x.size(), std::size_t(kMaxTexts)), std::min(y.size(), std::size_t(kMaxTexts)));
            break;
        }
        default: break;
        }
        if (c != 0) return (*code & SortReverse) ? -c : c;
    }
    return 0;
}

bool sortFile::poll() {
    if (progress_) progress_(QStringLiteral("%1:%2").arg(steps_ / kPollSteps).arg(largestDepth_));
    if (poll_ && poll_->breakRequested() &&
        showCheck(QStringLiteral("並べ替えを中止しますか？(Y/N)"), QStringLiteral("並べ替え"), 1) == 1)
        cancelled_ = true;
    return cancelled_;
}

namespace {

// A record with the first 16 bytes of its sort text folded and packed big-endian, so that most
// comparisons of a text sort are two integer comparisons on the array being sorted instead of two
// trips through the index, the records and the texts' storage. Names hold no NUL byte, so the
// zero padding orders a shorter text first, as compareCaseless does.
struct Keyed {
    uint64_t high = 0;
    uint64_t low = 0;
    uint32_t record = 0;
    uint32_t whole = 0; // 1 when the text has at most 16 bytes, all of them in high and low
};

Keyed keyedOf(QByteArrayView text, uint32_t record) {
    Keyed k;
    k.record = record;
    k.whole = text.size() <= 16;
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const qsizetype n = std::min<qsizetype>(text.size(), 16);
    for (qsizetype i = 0; i < 16; ++i) {
        const uint64_t b = i < n ? fold(bytes[i]) : 0;
        (i < 8 ? k.high : k.low) |= b << (8 * (7 - (i & 7)));
    }
    return k;
}

// The same for a number key: the value in the key's order (signed ones shifted to unsigned) in
// `high`, so that a size or time sort compares on the array and reaches the nodes only on ties.
bool numberKey(int key) {
    return key == SortNumber || key == SortSize || key == SortStamp || key == SortDepth || key == SortGroup;
}

Keyed numberKeyedOf(const sortRecord& r, int key, uint32_t record) {
    const auto ordered = [](int64_t v) { return static_cast<uint64_t>(v) ^ (uint64_t(1) << 63); };
    Keyed k;
    k.record = record;
    k.whole = 1;
    switch (key) {
    case SortNumber: k.high = ordered(r.number); break;
    case SortSize: k.high = r.node->size; break;
    case SortStamp: k.high = r.node->stamp; break;
    case SortDepth: k.high = ordered(r.node->depth); break;
    default: k.high = ordered(r.groupStart); break;
    }
    return k;
}

} // namespace

template <typename Item, typename Compare>
void sortFile::quickSort(Item* a, std::size_t lo, std::size_t hi, int depth, const Compare& compare) {
    while (lo < hi && !cancelled_) {
        largestDepth_ = std::max(largestDepth_, depth);
        if (hi - lo == 1) {
            if (compare(a[hi], a[lo]) < 0) std::swap(a[lo], a[hi]);
            step();
            return;
        }
        if (depth > depthLimit_) { // split badly this often: a heapsort costs less
            heapSort(a, lo, hi, compare);
            return;
        }
        // Three ways around the middle record: below to the front, above to the back, equal ones
        // in between are finished — so a run of equal names costs one pass, not one per record.
        const Item pivot = a[lo + (hi - lo) / 2];
        std::size_t lt = lo, i = lo, gt = hi;
        while (i <= gt) {
            const int c = compare(a[i], pivot);
            if (c < 0) std::swap(a[lt++], a[i++]);
            else if (c > 0) {
                std::swap(a[i], a[gt]);
                if (gt == 0) break;
                --gt;
            } else ++i;
            if (step()) return;
        }
        // [lo, lt) below, (gt, hi] above. The smaller part recursively, the larger in this loop.
        const std::size_t below = lt - lo, above = hi - gt;
        ++depth;
        if (below < above) {
            if (below > 1) quickSort(a, lo, lt - 1, depth, compare);
            lo = gt + 1;
        } else {
            if (above > 1) quickSort(a, gt + 1, hi, depth, compare);
            if (lt == 0) return;
            hi = lt - 1;
        }
    }
}

template <typename Item, typename Compare>
void sortFile::heapSort(Item* a, std::size_t lo, std::size_t hi, const Compare& compare) {
    const std::size_t size = hi - lo + 1;
    auto siftDown = [&](std::size_t root, std::size_t end) {
        for (;;) {
            std::size_t child = 2 * root + 1;
            if (child >= end) return;
            if (child + 1 < end && compare(a[lo + child], a[lo + child + 1]) < 0) ++child;
            if (compare(a[lo + root], a[lo + child]) >= 0) return;
            std::swap(a[lo + root], a[lo + child]);
            root = child;
            if (step()) return;
        }
    };
    for (std::size_t root = size / 2; root-- > 0 && !cancelled_;) siftDown(root, size);
    for (std::size_t end = size - 1; end > 0 && !cancelled_; --end) {
        std::swap(a[lo], a[lo + end]);
        siftDown(0, end);
    }
}

bool sortFile::sortRange(std::vector<uint32_t>& index, std::size_t first, std::size_t last) {
    const int key = keys_[0] & 15;
    std::vector<Keyed> keyed;
    try {
        if (key == SortText || key == SortName || numberKey(key)) keyed.reserve(last - first + 1);
    } catch (const std::bad_alloc&) {
        keyed.clear(); // sorted through the index instead
    }
    if (keyed.capacity() == 0) {
        quickSort(index.data(), first, last, 0,
                  [this](uint32_t x, uint32_t y) { return compare(records_[x], records_[y]); });
        return false;
    }
    const bool number = numberKey(key);
    for (std::size_t i = first; i <= last; ++i)
        keyed.push_back(number ? numberKeyedOf(records_[index[i]], key, index[i])
                               : keyedOf(groupText(records_[index[i]]), index[i]));
    const bool reverse = keys_[0] & SortReverse;
    // Equal prefixes of two whole texts are equal texts: only the later keys are left.
    auto sameText = [this](const Keyed& x, const Keyed& y) {
        return x.high == y.high && x.low == y.low &&
               (x.whole && y.whole ? true : compareCaseless(groupText(records_[x.record]), groupText(records_[y.record])) == 0);
    };
    quickSort(keyed.data(), 0, keyed.size() - 1, 0, [this, reverse](const Keyed& x, const Keyed& y) {
        if (x.high != y.high) return (x.high < y.high) != reverse ? -1 : 1;
        if (x.low != y.low) return (x.low < y.low) != reverse ? -1 : 1;
        if (x.whole && y.whole) return compareFrom(records_[x.record], records_[y.record], 1);
        return compare(records_[x.record], records_[y.record]); // the rest of the text, then the other keys
    });
    if (cancelled_) return false;
    if (number) {
        for (std::size_t i = 0; i < keyed.size(); ++i) index[first + i] = keyed[i].record;
        return false; // number keys have no groups
    }
    std::size_t start = first;
    for (std::size_t i = 0; i < keyed.size(); ++i) {
        index[first + i] = keyed[i].record;
        if (i > 0 && !sameText(keyed[i], keyed[i - 1])) start = first + i;
        records_[keyed[i].record].groupStart = static_cast<int32_t>(start);
    }
    return true;
}

QByteArrayView sortFile::groupText(const sortRecord& r) const {
    switch (keys_[0] & 15) {
    case SortName: return r.node->nameUtf8();
    case SortTexts: return r.texts && !r.texts->empty() ? (*r.texts)[0] : QByteArrayView();
    default: return r.text;
    }
}

bool sortFile::sortRecords(std::size_t first, std::size_t last, std::vector<uint32_t>& index, const std::vector<int>& keys) {
    int n = 0;
    for (; n < kMaxKeys && n < static_cast<int>(keys.size()) && keys[static_cast<std::size_t>(n)] >= 0; ++n)
        keys_[n] = keys[static_cast<std::size_t>(n)];
    keys_[n] = -1;
    index_ = &index;
    first_ = first;
    last_ = last;
    cancelled_ = false;
    steps_ = 0;
    largestDepth_ = 0;
    if (last >= index.size() || first > last) {
        first_ = 1;
        last_ = 0; // an empty range: findText finds nothing
        return false;
    }
    depthLimit_ = 2 * static_cast<int>(std::bit_width(last - first + 1));
    const bool grouped = sortRange(index, first, last);
    if (progress_) progress_(QString::number(largestDepth_));
    if (cancelled_) return true;
    const int key = keys_[0] & 15;
    if (!grouped && (key == SortName || key == SortText || key == SortTexts)) {
        std::size_t start = first;
        for (std::size_t i = first; i <= last; ++i) {
            sortRecord& r = records_[index[i]];
            if (i > first && compareCaseless(groupText(r), groupText(records_[index[start]])) != 0) start = i;
            r.groupStart = static_cast<int32_t>(start);
        }
    }
    return false;
}

int sortFile::findText(QByteArrayView text) const {
    if (!index_ || first_ > last_ || count_ == 0) return -1;
    const std::vector<uint32_t>& idx = *index_;
    std::size_t lo = first_, hi = last_ + 1; // [lo, hi)
    while (lo < hi) {
        const std::size_t mid = lo + (hi - lo) / 2;
        int c = compareCaseless(groupText(records_[idx[mid]]), text);
        if (keys_[0] & SortReverse) c = -c;
        if (c == 0) return records_[idx[mid]].groupStart;
        if (c < 0) lo = mid + 1;
        else hi = mid;
    }
    return -1;
}
