#include "ItemTable.h"

#include "ScriptFault.h"
#include "common/Settings.h"

#include <algorithm>
#include <cmath>

void ItemTable::clear() {
    items_.clear();
    items_.shrink_to_fit();
    count_ = end_ = 0;
    names_.clear();
    constants_.clear();
}

int ItemTable::findConstant(double v) const {
    if (std::isnan(v)) return -1;
    const auto found = constants_.find(keyOf(v));
    return found == constants_.end() || found->second.empty() ? -1 : found->second.front();
}

void ItemTable::indexConstant(int index, double v) {
    if (std::isnan(v)) return;
    std::vector<int>& positions = constants_[keyOf(v)];
    positions.insert(std::lower_bound(positions.begin(), positions.end(), index), index);
}

void ItemTable::unindexConstant(int index, double v) {
    if (std::isnan(v)) return;
    const auto found = constants_.find(keyOf(v));
    if (found == constants_.end()) return;
    std::vector<int>& positions = found->second;
    const auto at = std::lower_bound(positions.begin(), positions.end(), index);
    if (at != positions.end() && *at == index) positions.erase(at);
    if (positions.empty()) constants_.erase(found);
}

void ItemTable::grow(int index) {
    if (index >= kMaxItems) throw ScriptFault("item table full");
    items_.resize(std::min<size_t>(items_.size() + 100, kMaxItems));
}

char16_t ItemTable::findOrAdd(QStringView name, double v) {
    QString folded;
    int found = -1;
    if (name.isEmpty()) {
        found = findConstant(v);
    } else {
        folded.resize(name.size());
        for (qsizetype i = 0; i < name.size(); ++i) folded[i] = QChar(foldAscii(name[i].unicode()));
        if (const auto at = names_.find(folded); at != names_.end()) found = at->second;
    }
    if (found >= 0) {
        ++items_[found].useCount;
        return handleOf(found);
    }
    growFor(count_);
    const int index = count_;
    varInfo& item = items_[index];
    item.name = name.toString();
    item.value = v;
    item.useCount = 1;
    ++count_;
    if (end_ < count_) end_ = count_;
    if (name.isEmpty())
        indexConstant(index, v);
    else
        names_.emplace(std::move(folded), index);
    return handleOf(index);
}

char16_t ItemTable::addTemporary(double v) {
    if (const int found = findConstant(v); found >= 0) return handleOf(found);
    growFor(end_);
    varInfo& item = items_[end_];
    item.name.clear();
    item.value = v;
    item.useCount = 0;
    return handleOf(end_++);
}
