#include "ItemTable.h"

#include "ScriptFault.h"
#include "common/Settings.h"

void ItemTable::clear() {
    items_.clear();
    items_.shrink_to_fit();
    count_ = end_ = 0;
}

void ItemTable::grow(int index) {
    if (index >= kMaxItems) throw ScriptFault("item table full");
    items_.resize(std::min<size_t>(items_.size() + 100, kMaxItems));
}

char16_t ItemTable::findOrAdd(QStringView name, double v) {
    for (int i = 0; i < count_; ++i) {
        varInfo& item = items_[i];
        const bool hit = name.isEmpty() ? (item.name.isEmpty() && item.value == v) : equalsCaseless(item.name, name);
        if (hit) {
            ++item.useCount;
            return handleOf(i);
        }
    }
    growFor(count_);
    varInfo& item = items_[count_];
    item.name = name.toString();
    item.value = v;
    item.useCount = 1;
    ++count_;
    if (end_ < count_) end_ = count_;
    return handleOf(count_ - 1);
}

char16_t ItemTable::addTemporary(double v) {
    for (int i = 0; i < count_; ++i)
        if (items_[i].name.isEmpty() && items_[i].value == v) return handleOf(i);
    growFor(end_);
    varInfo& item = items_[end_];
    item.name.clear();
    item.value = v;
    item.useCount = 0;
    return handleOf(end_++);
}
