// A character command of a compiled program statement ("ball:X=#a+#b,Y=#c", "ball[#i]:vX=#v",
// "dot:dim[#i%#n]=#v") in its parsed shape, kept on the statement, so that a loop running it a
// million times neither cuts nor evaluates its text again, and the character it names, looked up
// once per generation of the character list. Forms it does not know (text, Chaser, a name given
// as text, functions, empty fields, anything malformed) are left to the general path, which stays
// the reference for every effect.
#pragma once

#include "script/CompiledExpression.h"
#include "script/StepHost.h"
#include "script/progInfo.h"

#include <QStringView>

#include <cstdint>
#include <vector>

class AnimeInfo;
class AnimeState;
class kestoBasInfo;

class CompiledCharacterCommand final : public StatementCache {
public:
    // Parses the compiled code `code`: a declared name's code, optionally "[index]", ':' and one
    // or more pairs "attribute=value" or "dim[index]=value" separated by ','. False (and the
    // command then declines every run) for any other form. Cost: linear in the code.
    bool compile(QStringView code);

    // Runs the command with the general path's effects: all fields valued first (the name's
    // index, then each pair's index and value, left to right), then the character looked up (a
    // missing one logged by findCharacter: Failed), then the pairs set in order. Declined when
    // not compiled or when the temporaries might not fit the item table as it is. May throw
    // ScriptFault (a remainder by zero) before anything is set. Cost: the fields' operators and
    // the pairs; a lookup, O(log n), only after the list changed; no allocation.
    StepHost::Compiled run(kestoBasInfo& interpreter, AnimeState& state);

private:
    struct Pair {
        int attribute = 0;         // the low byte of the keyword code
        bool hasIndex = false;     // dim[index]
        CompiledExpression index;
        CompiledExpression value;
        double indexValue = 0, valueValue = 0; // of the current run
    };

    // The character of the name and index, looked up; remembered with the list's generation when
    // found, logged by findCharacter when missing.
    AnimeInfo* lookUp(kestoBasInfo& interpreter, AnimeState& state, int index);

    bool compiled_ = false;
    char16_t nameCode_ = 0;
    bool hasNameIndex_ = false;
    CompiledExpression nameIndex_;
    std::vector<Pair> pairs_;
    int operators_ = 0;            // of all fields together
    // The last lookup: valid while the list's generation is still this one.
    uint64_t generation_ = 0;
    int lookedUpIndex_ = 0;
    AnimeInfo* character_ = nullptr;
};
