#include "AtelierColours.h"

#include "common/Settings.h"
#include "common/TextFile.h"

namespace {

// Built-in pairs, white board then black board.
constexpr std::array<std::array<uint32_t, 2>, ColourPairCount> kBuiltIn = {{
    {0xFFFFFF, 0x000000}, {0x202020, 0xD0D0D0}, {0x408000, 0xA0C000}, {0x006000, 0x40A040},
    {0x000080, 0x0000FF}, {0x60C040, 0x80F060}, {0xC0D090, 0xF0FFC0}, {0x7070D0, 0xA0A0FF},
    {0x70B0B0, 0xA0E0E0}, {0xB070B0, 0xE0A0E0}, {0xC06050, 0xF09080},
}};

// The six values of a colour line, or false when one is missing or out of 0..255.
bool readSixValues(QString line, std::array<int, 6>& values) {
    for (int i = 0; i < 6; ++i) {
        std::optional<QString> rest = cutField(line);
        QString field = line.trimmed();
        if (field.isEmpty() || field[0].unicode() < 32) return false;
        bool ok = false;
        const int v = field.toInt(&ok);
        if (!ok || v < 0 || v > 255) return false;
        values[size_t(i)] = v;
        if (!rest) return i == 5;
        line = *rest;
    }
    return true;
}

uint32_t rgb(int r, int g, int b) { return uint32_t(r) | uint32_t(g) << 8 | uint32_t(b) << 16; }

} // namespace

ColourTable::ColourTable() : pairs_(kBuiltIn) {}

int ColourTable::applyLines(const QStringList& lines) {
    int pair = 0;
    int set = 0;
    for (const QString& line : lines) {
        if (line.size() < 2) continue;
        if (pair >= ColourPairCount) break;
        std::array<int, 6> v{};
        if (readSixValues(line, v)) {
            setPair(pair, rgb(v[0], v[1], v[2]), rgb(v[3], v[4], v[5]));
            ++set;
        }
        ++pair;
    }
    return set;
}

bool ColourTable::readFile(const QString& path) {
    QStringList lines;
    if (!readTextLines(path, lines)) return false;
    applyLines(lines);
    return true;
}
