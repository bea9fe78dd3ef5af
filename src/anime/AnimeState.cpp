#include "AnimeState.h"

#include "AnimeHost.h"
#include "common/Settings.h"

#include <algorithm>

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

QString foldedName(const QString& name) {
    QString key = name;
    for (QChar& c : key) c = QChar(foldAscii(c.unicode()));
    return key;
}

} // namespace

AnimeState::AnimeState() : palette(kBuiltInColors, 0u) {}

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
    characters.push_back(std::move(c));
    return *characters.back();
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

void AnimeState::rebuildNameIndex() {
    nameIndex.clear();
    nameIndex.reserve(characters.size());
    for (const auto& c : characters) nameIndex.push_back(c.get());
    std::sort(nameIndex.begin(), nameIndex.end(), [](const AnimeInfo* a, const AnimeInfo* b) {
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
    const int64_t at = int64_t(hit - nameIndex.begin()) + int64_t(index) - (*hit)->sameNameIndex;
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
    while (!characters.empty()) characters.pop_back();
    charges.clear();
    nameIndex.clear();
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
