#include "StatementList.h"

progInfo* StatementList::append(int lineNumber, int stepNumber, const QString& source) {
    progInfo& s = statements_.emplace_back();
    s.lineNumber = lineNumber;
    s.stepNumber = stepNumber;
    s.source = source;
    s.previous = last_;
    if (last_) last_->next = &s;
    else first_ = &s;
    last_ = &s;
    return &s;
}

size_t StatementList::indexOf(const progInfo* s) const {
    for (size_t i = 0; i < statements_.size(); ++i)
        if (&statements_[i] == s) return i;
    return statements_.size();
}

loopInfo* StatementList::newLoop() { return &loops_.emplace_back(); }

void StatementList::clear() {
    statements_.clear();
    loops_.clear();
    first_ = last_ = nullptr;
}
