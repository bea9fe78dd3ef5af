#include "ItemTable.h"

#include "ScriptFault.h"

#include <cstring>

namespace {

QString asciiLower(QStringView name) {
    QString key = name.toString();
    for (QChar& c : key)
        if (c >= u'A' && c <= u'Z') c = QChar(c.unicode() + 32);
    return key;
}

// Equal values share a key: both zeros are one; a NaN equals nothing and gets no key.
bool keyOf(double v, quint64& key) {
    if (v != v) return false;
    if (v == 0) v = 0;
    std::memcpy(&key, &v, sizeof key);
    return true;
}

} // namespace

void ItemTable::clear() {
    items_.clear();
    items_.shrink_to_fit();
    count_ = end_ = 0;
    variables_.clear();
    constants_.clear();
    constantsStale_ = false;
}

int ItemTable::findConstant(double v) {
    if (constantsStale_) {
        constants_.clear();
        for (int i = count_ - 1; i >= 0; --i) {
            quint64 key = 0;
            if (items_[i].name.isEmpty() && keyOf(items_[i].value, key)) constants_[key] = i;
        }
        constantsStale_ = false;
    }
    quint64 key = 0;
    if (!keyOf(v, key)) return -1;
    return constants_.value(key, -1);
}

void ItemTable::grow(int index) {
    if (index >= kMaxItems) throw ScriptFault("item table full");
    items_.resize(std::min<size_t>(items_.size() + 100, kMaxItems));
}

char16_t ItemTable::findOrAdd(QStringView name, double v) {
    QString key;
    int found = -1;
    if (name.isEmpty()) {
        found = findConstant(v);
    } else {
        key = asciiLower(name);
        found = variables_.value(key, -1);
    }
    if (found >= 0) {
        ++items_[found].useCount;
        return handleOf(found);
    }
    growFor(count_);
    varInfo& item = items_[count_];
    item.name = name.toString();
    item.value = v;
    item.useCount = 1;
    if (name.isEmpty()) {
        quint64 bits = 0;
        if (!constantsStale_ && keyOf(v, bits)) constants_.insert(bits, count_);
    } else {
        variables_.insert(key, count_);
    }
    ++count_;
    if (end_ < count_) end_ = count_;
    return handleOf(count_ - 1);
}

char16_t ItemTable::addTemporary(double v) {
    if (const int i = findConstant(v); i >= 0) return handleOf(i);
    growFor(end_);
    varInfo& item = items_[end_];
    item.name.clear();
    item.value = v;
    item.useCount = 0;
    return handleOf(end_++);
}
