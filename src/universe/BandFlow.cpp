#include "BandFlow.h"

#include <algorithm>
#include <cstdint>

namespace {

int sumOf(const std::vector<BandItem>& items, size_t from, size_t to, int BandItem::*field, int spacing) {
    int64_t total = 0;
    for (size_t i = from; i < to; ++i) total += items[i].*field;
    if (to > from) total += int64_t(spacing) * int64_t(to - from - 1);
    return int(std::min<int64_t>(total, INT32_MAX));
}

// Widths of items [from, to) in one row of `width`: preferred widths, shrunk toward the minimum
// by each item's share of the slack when short, the room left over given to stretching items.
void fitRow(const std::vector<BandItem>& items, size_t from, size_t to, int width, int spacing, int row,
            std::vector<BandPlace>& places) {
    std::vector<int> widths;
    for (size_t i = from; i < to; ++i) widths.push_back(items[i].preferred);
    int room = width - sumOf(items, from, to, &BandItem::preferred, spacing);
    if (room < 0) {
        int64_t slack = 0;
        for (size_t i = from; i < to; ++i) slack += items[i].preferred - items[i].minimum;
        int64_t shortage = std::min<int64_t>(-room, slack);
        int64_t given = 0;
        for (size_t i = from; i < to && slack > 0; ++i) {
            const int64_t share = shortage * (items[i].preferred - items[i].minimum) / slack;
            widths[i - from] -= int(share);
            given += share;
        }
        // What the rounding kept back comes from the first items that still have room to give.
        for (size_t i = from; i < to && given < shortage; ++i) {
            const int64_t more = std::min<int64_t>(shortage - given, widths[i - from] - items[i].minimum);
            widths[i - from] -= int(more);
            given += more;
        }
    } else {
        // Stretching items share the room by their stretch; one that reaches its maximum leaves
        // the rest to the others.
        for (int pass = 0; pass < 4 && room > 0; ++pass) {
            int64_t stretch = 0;
            for (size_t i = from; i < to; ++i)
                if (items[i].stretch > 0 && widths[i - from] < items[i].maximum) stretch += items[i].stretch;
            if (stretch == 0) break;
            int handed = 0;
            for (size_t i = from; i < to; ++i) {
                if (items[i].stretch <= 0 || widths[i - from] >= items[i].maximum) continue;
                const int share = int(int64_t(room) * items[i].stretch / stretch);
                const int take = std::min(share, items[i].maximum - widths[i - from]);
                widths[i - from] += take;
                handed += take;
            }
            if (handed == 0) {
                // Less than one pixel each: the first stretching item takes the rest.
                for (size_t i = from; i < to; ++i)
                    if (items[i].stretch > 0 && widths[i - from] < items[i].maximum) {
                        const int take = std::min(room, items[i].maximum - widths[i - from]);
                        widths[i - from] += take;
                        handed += take;
                        break;
                    }
                if (handed == 0) break;
            }
            room -= handed;
        }
    }
    int x = 0;
    for (size_t i = from; i < to; ++i) {
        const int w = (to - from == 1) ? std::max(items[i].minimum, std::min(widths[0], width)) : widths[i - from];
        places[i] = BandPlace{row, x, w};
        x += w + spacing;
    }
}

} // namespace

std::vector<BandPlace> flowBand(const std::vector<BandItem>& items, int width, int spacing) {
    std::vector<BandPlace> places(items.size());
    if (items.empty()) return places;
    if (sumOf(items, 0, items.size(), &BandItem::minimum, spacing) <= width) {
        fitRow(items, 0, items.size(), width, spacing, 0, places);
        return places;
    }
    int row = 0;
    size_t start = 0;
    while (start < items.size()) {
        size_t end = start + 1;
        while (end < items.size() && sumOf(items, start, end + 1, &BandItem::preferred, spacing) <= width) ++end;
        fitRow(items, start, end, width, spacing, row, places);
        start = end;
        ++row;
    }
    return places;
}

int bandRowCount(const std::vector<BandItem>& items, int width, int spacing) {
    const std::vector<BandPlace> places = flowBand(items, width, spacing);
    return places.empty() ? 1 : places.back().row + 1;
}
