// What the animation block reader needs from the interpreter: the block's statements, the raw
// lines that follow a declaration, evaluated parameters and the place of the current line.
// The interpreter implements it over its compiled statements; tests over plain lines.
#pragma once

#include <QString>
#include <optional>

class AnimeBlockInput {
public:
    virtual ~AnimeBlockInput() = default;
    // The next executable statement of the block (compiled text), or nothing at the block's end.
    // The look-ahead of nextDataLine starts again right after it.
    virtual std::optional<QString> nextStatement() = 0;
    // The next line after the current statement or after the last line this gave (data rows,
    // file names), or nothing at the block's end. Lines given here come again as statements.
    virtual std::optional<QString> nextDataLine() = 0;
    // The value of one parameter field (a compiled expression); nothing when it is missing or
    // cannot be evaluated, which leaves a negative status.
    virtual std::optional<double> evaluate(const QString& field) = 0;
    // The text of a name parameter: a declared name or keyword code gives its text.
    virtual QString nameText(const QString& field) = 0;
    // The program's folder or http address, the base of relative file names.
    virtual QString programBase() const = 0;
    // Line number and text of the current statement, for reports.
    virtual int lineNumber() const = 0;
    virtual QString lineText() const = 0;
    // The interpreter's status (RunStatus).
    virtual int status() const = 0;
    virtual void setStatus(int status) = 0;
    // The read-data setting with its parameter text; false when its count is faulty.
    virtual bool readData(const QString& params) = 0;
};
