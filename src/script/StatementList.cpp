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

loopInfo* StatementList::newLoop() { return &loops_.emplace_back(); }

void StatementList::clear() {
    statements_.clear();
    loops_.clear();
    first_ = last_ = nullptr;
}
