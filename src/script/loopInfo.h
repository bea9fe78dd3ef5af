// The record of one `for` ... `next` loop, created the first time its `for` statement runs.
#pragma once

struct progInfo;

struct loopInfo {
    char16_t variable = 0;           // handle of the loop variable's item
    progInfo* forStatement = nullptr;  // the statement that owns the record (not owned here)
    progInfo* nextStatement = nullptr; // the matching `next` (not owned)
    double limit = 0;                // value after `to`, evaluated when `for` runs
    double step = 1;                 // value after `step`; 1 when absent or 0
    int toPosition = 0;              // index of the `to` code in the `for` statement's code
};
