#include "AnimeState.h"

#include "AnimeHost.h"
#include "common/Settings.h"

#include <algorithm>
#include <atomic>

namespace {

constexpr int kBuiltInColors = 16;

// ASCII-folded ordering of names, the order of the name index.
int compareNames(const QString& a, const QString& b) {
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t ca = foldAscii(a[i].unicode()), cb = foldAscii(b[i].unicode());
        if (ca != cb) return ca < cb ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

// Shared by all states, so that a state made where another was destroyed starts with a
// generation no cached lookup has seen.
std::atomic<uint64_t> lastGeneration{0};

uint64_t nextGeneration() { return lastGeneration.fetch_add(1, std::memory_order_relaxed) + 1; }

QString foldedName(const QString& name) {
    QString key = name;
    for (QChar& c : key) c = QChar(foldAscii(c.unicode()));
    return key;
}

} // namespace

AnimeState::AnimeState() : generation_(nextGeneration()), palette(kBuiltInColors, 0u) {}

AnimeState::~AnimeState() { reset(); }

AnimeInfo& AnimeState::createCharacter(const QString& name, int lft, int top, int zoomX, int zoomY, int width,
                                       int height) {
    auto c = std::make_unique<AnimeInfo>();
    c->state = this;
    c->serial = characters.empty() ? 0 : characters.back()->serial + 1;
    c->name = name.isEmpty() ? QStringLiteral("anime_%1").arg(c->serial, 4, 10, QLatin1Char('0')) : name;
    c->X = lft * 10.0;
    c->Y = top * 10.0;
    c->zoomX = zoomX;
    c->zoomY = zoomY;
    c->width = width;
    c->height = height;
    c->moveBy(0, 0, 0, false);
    ++nameCounts[foldedName(c->name)];
    characters_.push_back(std::move(c));
    generation_ = nextGeneration();
    return *characters_.back();
}

int AnimeState::sameNameCount(const AnimeInfo& c) const {
    if (!characters.empty() && characters.back().get() == &c) return nameCounts.value(foldedName(c.name)) - 1;
    int count = 0;
    for (const auto& other : characters) {
        if (other.get() == &c) break;
        if (equalsCaseless(other->name, c.name)) ++count;
    }
    return count;
}

void AnimeState::setSameNameIndex(AnimeInfo& c, int index) {
    c.sameNameIndex_ = index;
    generation_ = nextGeneration();
}

void AnimeState::rebuildNameIndex() {
    generation_ = nextGeneration();
    nameIndex_.clear();
    nameIndex_.reserve(characters_.size());
    for (const auto& c : characters_) nameIndex_.push_back(c.get());
    std::sort(nameIndex_.begin(), nameIndex_.end(), [](const AnimeInfo* a, const AnimeInfo* b) {
        const int order = compareNames(a->name, b->name);
        return order != 0 ? order < 0 : a->serial < b->serial;
    });
}

AnimeInfo* AnimeState::lookupCharacter(const QString& name, int index) const {
    const auto hit = std::lower_bound(nameIndex.begin(), nameIndex.end(), name,
                                      [](const AnimeInfo* c, const QString& n) { return compareNames(c->name, n) < 0; });
    if (hit == nameIndex.end() || compareNames((*hit)->name, name) != 0) return nullptr;
    if (index < 0) return *hit;
    // Entries of one name stand in same-name index order, so the wanted one is at a fixed offset.
    const int64_t at = int64_t(hit - nameIndex.begin()) + int64_t(index) - (*hit)->sameNameIndex();
    if (at < 0 || at >= int64_t(nameIndex.size())) return nullptr;
    AnimeInfo* c = nameIndex[size_t(at)];
    return compareNames(c->name, name) == 0 ? c : nullptr;
}

AnimeInfo* AnimeState::findCharacter(const QString& name, int index) {
    AnimeInfo* c = lookupCharacter(name, index);
    if (!c) logMessage(QStringLiteral("アニメキャラ（ %1[%2] ）は設定されていません！").arg(name).arg(index));
    return c;
}

bool AnimeState::setPaletteColor(int n, uint32_t color) {
    if (n < 0 || n > 65535) return false;
    if (size_t(n) >= palette.size()) {
        palette.resize(size_t(n - n % 256 + 512), 0u);
        paletteGrown = true;
    }
    palette[size_t(n)] = color;
    highestColor = std::max(highestColor, n);
    return true;
}

void AnimeState::reset() {
    generation_ = nextGeneration();
    while (!characters_.empty()) characters_.pop_back();
    charges.clear();
    nameIndex_.clear();
    nameCounts.clear();
    pixelsUsed = 0;
    if (paletteGrown) {
        palette.assign(kBuiltInColors, 0u);
        paletteGrown = false;
    }
    // The highest colour number bounds every colour parameter, so it may not outlive the palette.
    highestColor = std::min(highestColor, int(palette.size()) - 1);
    framePattern.reset();
    theme.reset();
}

bool AnimeState::reservePixels(int64_t count) {
    if (count < 0 || count > pixelBudget - pixelsUsed) return false;
    pixelsUsed += count;
    return true;
}

void AnimeState::logMessage(const QString& line) {
    if (host)
        host->logMessage(line);
    else
        log.append(line);
}
