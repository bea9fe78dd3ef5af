// Variables, literal constants and the temporaries of one evaluation. A compiled statement names
// item i by '#' followed by its handle, the character 0x100 + i.
#pragma once

#include <QHashFunctions> // std::hash<QString>
#include <QString>
#include <QStringView>

#include <cstdint>
#include <cstring>
#include <unordered_map>
#include <vector>

struct varInfo {
    QString name;      // lower-case variable name without '$'; empty for constants and temporaries
    double value = 0;
    int useCount = 0;  // how often the compiler met the item
};

class ItemTable {
public:
    // Largest number of items: the handle 0x100 + i must stay a 16-bit code.
    static constexpr int kMaxItems = 0x10000 - 0x100;

    // Frees every item; capacity, count and temporary end become 0. Cost: linear.
    void clear();

    // Handle of the variable `name` (compared ASCII-caselessly) or, for an empty name, of the
    // constant of that value; created when missing. Throws ScriptFault when the table is full.
    // Cost: constant on average (a hash lookup; the name is folded and copied).
    char16_t findOrAdd(QStringView name, double value);

    // Handle of a permanent constant equal to `value`, else of a new temporary after the permanent
    // items. Throws ScriptFault when the table is full. Cost: constant on average.
    char16_t addTemporary(double value);

    // Value of the item behind `handle`; 0 for a character below 0x100 or past the table's end.
    // Cost: constant.
    double value(char16_t handle) const {
        const unsigned i = unsigned(handle) - 0x100u;
        return i < unsigned(end_) ? items_[i].value : 0.0;
    }

    // Sets the item's value; a character below 0x100 or past the table's end is ignored. A
    // permanent constant assigned a value (as `5=3` does) is found by its new value from then on.
    // Cost: constant (a hash update for a permanent constant).
    void setValue(char16_t handle, double v) {
        const unsigned i = unsigned(handle) - 0x100u;
        if (i >= unsigned(end_)) return;
        varInfo& item = items_[i];
        if (i < unsigned(count_) && item.name.isEmpty() && keyOf(item.value) != keyOf(v)) {
            unindexConstant(int(i), item.value);
            item.value = v;
            indexConstant(int(i), v);
            return;
        }
        item.value = v;
    }

    // Forgets the temporaries of the last evaluation. Cost: constant.
    void resetTemporaries() { end_ = count_; }

    int count() const { return count_; }           // permanent items
    int capacity() const { return static_cast<int>(items_.size()); }
    const varInfo& item(int index) const { return items_[index]; }

    static char16_t handleOf(int index) { return static_cast<char16_t>(0x100 + index); }

private:
    // The key under which a value is found: -0 as 0 (they compare equal); NaN, never equal to
    // anything, is never looked up.
    static uint64_t keyOf(double v) {
        if (v == 0) v = 0.0;
        uint64_t key;
        std::memcpy(&key, &v, sizeof key);
        return key;
    }
    // Position of the first permanent constant equal to v, or -1.
    int findConstant(double v) const;
    void indexConstant(int index, double v);
    void unindexConstant(int index, double v);
    void growFor(int index) {
        if (index >= capacity()) grow(index);
    }
    void grow(int index);

    std::vector<varInfo> items_; // slots, 100 more at a time
    int count_ = 0;              // permanent items at 0 .. count_ - 1
    int end_ = 0;                // end of the temporaries that follow them
    // The scans the lookups replace found the first match, so both indexes keep the lowest
    // position: the first item of each ASCII-folded name, and the permanent constants of each
    // value in ascending order (an assignment to a constant can make two of them equal).
    std::unordered_map<QString, int> names_;
    std::unordered_map<uint64_t, std::vector<int>> constants_;
};
