// Owner of a program's statements and their loop records. Addresses stay stable while the list
// lives, so statements and loop records can link to each other with plain pointers.
#pragma once

#include "loopInfo.h"
#include "progInfo.h"

#include <deque>

class StatementList {
public:
    StatementList() = default;
    StatementList(const StatementList&) = delete;
    StatementList& operator=(const StatementList&) = delete;

    // Appends an empty statement linked after the last one. Cost: amortised constant.
    progInfo* append(int lineNumber, int stepNumber, const QString& source);
    // A new loop record owned by this list. Cost: amortised constant.
    loopInfo* newLoop();
    // Frees every statement and loop record. Cost: linear.
    void clear();

    // Position of `s` in the order of appending, or size() when this list does not own it. Linear.
    size_t indexOf(const progInfo* s) const;
    // The statement appended at `index` (index < size()). Constant.
    progInfo* at(size_t index) { return &statements_[index]; }

    progInfo* first() const { return statements_.empty() ? nullptr : first_; }
    bool empty() const { return statements_.empty(); }
    size_t size() const { return statements_.size(); }

private:
    std::deque<progInfo> statements_;
    std::deque<loopInfo> loops_;
    progInfo* first_ = nullptr;
    progInfo* last_ = nullptr;
};
