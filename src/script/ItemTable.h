// Variables, literal constants and the temporaries of one evaluation. A compiled statement names
// item i by '#' followed by its handle, the character 0x100 + i.
#pragma once

#include <QHash>
#include <QString>
#include <QStringView>

#include <cstdint>
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
    // Cost: amortised constant (an index is rebuilt after a constant was assigned to).
    char16_t findOrAdd(QStringView name, double value);

    // Handle of a permanent constant equal to `value`, else of a new temporary after the permanent
    // items. Throws ScriptFault when the table is full. Cost: as findOrAdd.
    char16_t addTemporary(double value);

    // Value of the item behind `handle`; 0 for a character below 0x100 or past the table's end.
    // Cost: constant.
    double value(char16_t handle) const {
        const unsigned i = unsigned(handle) - 0x100u;
        return i < unsigned(end_) ? items_[i].value : 0.0;
    }

    // Sets the item's value; a character below 0x100 or past the table's end is ignored.
    // Assigning to a constant ("5=3") changes which constant a value finds.
    void setValue(char16_t handle, double v) {
        const unsigned i = unsigned(handle) - 0x100u;
        if (i >= unsigned(end_)) return;
        items_[i].value = v;
        if (int(i) < count_ && items_[i].name.isEmpty()) constantsStale_ = true;
    }

    // Forgets the temporaries of the last evaluation. Cost: constant.
    void resetTemporaries() { end_ = count_; }

    int count() const { return count_; }           // permanent items
    int capacity() const { return static_cast<int>(items_.size()); }
    const varInfo& item(int index) const { return items_[index]; }

    static char16_t handleOf(int index) { return static_cast<char16_t>(0x100 + index); }

private:
    void growFor(int index) {
        if (index >= capacity()) grow(index);
    }
    void grow(int index);

    // The first permanent constant of a value, or -1.
    int findConstant(double value);

    std::vector<varInfo> items_; // slots, 100 more at a time
    int count_ = 0;              // permanent items at 0 .. count_ - 1
    int end_ = 0;                // end of the temporaries that follow them
    // Indexes of the permanent items, so that a line with many of them compiles in linear time:
    // variables by their ASCII-lower-case name, constants by the bits of their value (the first
    // of equal value wins, as a search in order would find).
    QHash<QString, int> variables_;
    QHash<quint64, int> constants_;
    bool constantsStale_ = false;
};
