// One compiled statement of a program. Statements live in a StatementList, which owns them and
// their loop records; the links here never own anything.
#pragma once

#include <QString>

#include <memory>

struct loopInfo;

// What a step host keeps about one statement between its runs (a command's parsed shape, say).
// It dies with the statement, so it can never be found for another one.
class StatementCache {
public:
    virtual ~StatementCache() = default;
};

struct progInfo {
    int lineNumber = 0;           // 1-based index of the source line in the program lines
    int stepNumber = 0;           // non-comment lines before the source line; shared by its statements
    progInfo* previous = nullptr; // list links (not owned)
    progInfo* next = nullptr;
    QString code;                 // the compiled statement (token codes, see KeywordTables.h)
    QString source;               // the whole source line (shares the program line's text)
    loopInfo* loop = nullptr;     // the loop record of a `for` and of its matching `next`
    bool ownsLoop = false;        // true on the `for` statement that created the record
    // Matching statements found once by the control flow; only found matches are kept, so a
    // search made while the list was cut is repeated later.
    progInfo* matchEndif = nullptr;
    progInfo* matchElse = nullptr;
    bool elseSearched = false;
    // Kept by the host that runs the statement's command; the code never changes under it.
    std::unique_ptr<StatementCache> hostCache;

    // First character of the code, 0 for an empty code. Cost: constant.
    char16_t kind() const { return code.isEmpty() ? char16_t(0) : code.front().unicode(); }
};
