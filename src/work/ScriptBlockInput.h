// The animation block reader's view of the interpreter, as the work window reads its blocks: the
// statements of a block read with the interpreter's line reader (each one announced, so that the
// window knows which kind made which character), the raw lines after a declaration, evaluated
// parameters and names.
#pragma once

#include "anime/AnimeBlockInput.h"

#include <functional>

class kestoBasInfo;
struct progInfo;

class ScriptBlockInput : public AnimeBlockInput {
public:
    // Reads from `first` on (nullptr: no statements). The interpreter must outlive the input.
    ScriptBlockInput(kestoBasInfo& interpreter, progInfo* first);

    // Hears the first code of every statement given out, and 0 when the block is exhausted.
    std::function<void(char16_t)> onStatement;

    std::optional<QString> nextStatement() override;
    std::optional<QString> nextDataLine() override;
    std::optional<double> evaluate(const QString& field) override;
    QString nameText(const QString& field) override;
    QString programBase() const override;
    int lineNumber() const override;
    QString lineText() const override;
    int status() const override;
    void setStatus(int status) override;
    bool readData(const QString& params) override;

    // The name a target or name parameter stands for: a declared name code gives the declared
    // name, a keyword code the keyword's standard name, quoted or plain text itself (trimmed).
    // Cost: linear in the text.
    static QString nameOfField(const kestoBasInfo& interpreter, const QString& field);
    // The value of a compiled expression field; nothing when it is empty or does not reduce to
    // one item (the status then becomes -1). Cost: the evaluation's.
    static std::optional<double> valueOfField(kestoBasInfo& interpreter, const QString& field);

private:
    kestoBasInfo& k_;
    progInfo* current_;        // the next statement nextStatement reads from
    progInfo* look_ = nullptr; // the next statement nextDataLine gives
};
