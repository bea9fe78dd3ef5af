// The language's own statements: `for` ... `next`, `if` ... `then` / `else` / `endif`, and the
// searches that match them. Shared by the step executor and readStatement. Each runner moves
// `current` to where control now stands and answers 0, or -1 when the statement cannot run
// (with a message in the message list where the language has one).
#pragma once

class kestoBasInfo;
struct progInfo;

// Matching statements, searched from the statement after `from`; nullptr when there is none.
// Cost: linear in the statements passed (a found `endif` / `else` is remembered).
progInfo* findNext(const progInfo* from);
progInfo* findEndif(progInfo* from);
progInfo* findElse(progInfo* from);

// Cost: one or two evaluations, plus the matching search the first time.
int runFor(kestoBasInfo& interpreter, progInfo*& current);
// Cost: constant.
int runNext(kestoBasInfo& interpreter, progInfo*& current);
// Cost: two evaluations.
int runIf(kestoBasInfo& interpreter, progInfo*& current);
