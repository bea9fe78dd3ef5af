// The interpreter of one work window: program lines, compiled statements, items, declared names,
// data values and value slots, and the links to the animation engine and the message list.
// Headless: no window, no timer; the window calls it and shows what it reports.
#pragma once

#include "ItemTable.h"
#include "KestoCodes.h"
#include "StatementList.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

class AnimationHook;
class StepHost;

class kestoBasInfo {
public:
    // Receives each line for the palette's message list (the palette grows and shows its mark).
    using MessageSink = std::function<void(const QString&)>;
    // The path chooser: (filter, title, start folder) -> chosen path or empty.
    using PathChooser = std::function<QString(const QString&, const QString&, const QString&)>;

    kestoBasInfo();
    ~kestoBasInfo();
    kestoBasInfo(const kestoBasInfo&) = delete;
    kestoBasInfo& operator=(const kestoBasInfo&) = delete;

    // ---- links (not owned) ----
    void setAnimationHook(AnimationHook* hook) { hook_ = hook; }
    // Host of the commands met in an `Acmd_Run` block; without one they are passed over.
    void setStepHost(StepHost* host) { stepHost_ = host; }
    void setMessageSink(MessageSink sink) { messageSink_ = std::move(sink); }
    // Writes one line to the message list. Cost: the sink's.
    void addMessage(const QString& text) const;

    // ---- program source and loading ----
    // Reads folder + fileName and prepares it as a new program (startNewProgram first). 0 when
    // loaded, -1 (nothing changed) when the file is missing (reported) or empty. The caller copies programFolder into the gallery's work folder.
    // Cost: the file's size, then prepareProgram.
    int loadProgramFile(const QString& folder, const QString& fileName);
    // Fetches folderUrl + fileName and prepares it when lines arrived. Returns the announced byte
    // count, 0 when the fetch failed (reported by the fetch; the old program stays whole).
    uint32_t loadProgramUrl(const QString& folderUrl, const QString& fileName);
    // Lets the user choose an ".acmd" file and loads it; `chooserFolder` follows the choice.
    // 0 when nothing was chosen or the choice is not a program, else loadProgramFile's result.
    int chooseProgram(const PathChooser& choosePath, QString& chooserFolder);
    // Before another work's lines are prepared: everything of the program before (clearProgram)
    // and its fault status go. Cost: linear in the old program.
    void startNewProgram();
    // Takes new program lines: turns `Load` lines into comments, inserts the named `.anim` data as
    // an `ANIME_SET:` block after the first line, then prepareAnimation. Clears the items first;
    // the declared names stay (a renewal of the same work).
    void prepareProgram(QStringList lines, const QString& folder);
    // Compiles the program lines and builds the animation from the first `Anime_Set` block.
    void prepareAnimation();
    // Compiles every program line into the statement list (old statements freed); returns the first.
    progInfo* compileProgram();
    // Resets the animation: the engine's part and the data values.
    void resetAnimation();
    // Runs the `Anime_Set` or `Anime_Add` block at `current` (the list is cut after it while it
    // runs); `replace` resets the animation first. Faults are caught (RunStatus::Fault). True when the
    // block was read; `current` then stands after the block's end, else on none.
    bool runAnimeBlock(progInfo*& current, bool replace);
    // The `Data` setting with its parameter text (count, optional file name). Values from the
    // file or from the statements after `current`. 0 when done, 1 when the count is faulty.
    int readData(QString parameters, progInfo*& current);

    // ---- declared names ----
    // Declares the name after the separator at the start of `fromSeparator` (nothing for none).
    void declareName(QStringView fromSeparator);
    int findName(QStringView name) const;       // number or -1 (ASCII-caseless)
    QString nameOf(int number) const;           // text or empty
    const QStringList& names() const { return names_; }

    // ---- expressions (see Evaluator.h) ----
    // Value of a compiled text, reducing it in place first; nullptr sets RunStatus::NoValue and gives 0.
    double evalValue(QString* text);
    // Value of a compiled text left as it is: reduced in a buffer kept for the next call, so that
    // a statement evaluated again and again allocates nothing. Not reentrant: the evaluation
    // must not call it again.
    double evalCopy(QStringView text);
    // Reduces a compiled text in place as far as it goes. May throw ScriptFault (% by zero).
    void evaluate(QString& text);
    // Performs the assignments "#a=#b" / "#a=-#b" at the text's start; the number made.
    int assign(QString& text);
    // Clears the item table.
    void clearItems() { items.clear(); }

    // ---- statements ----
    // Executes control statements and assignments from `current` on and returns 0 with the next
    // command (evaluated) in `out`, -1 at the end of the list or after a control error.
    int readStatement(QString& out, progInfo*& current);
    // Frees everything of the program: animation, items, statements, names, lines.
    void clearProgram();
    // User value `index` of a character through the engine; an index outside 0 to 31 is ignored.
    bool writeUserValue(QStringView name, int sameNameIndex, int index, double value);

    // ---- state (a plain record, as the run loop and the kind readers use it) ----
    QString programFolder;         // folder or folder URL ending in "/" (or "\")
    QString programPath;           // full path or URL of the program file
    QStringList programLines;      // after `Load` processing; statements share their texts
    StatementList statements;      // the compiled program
    int lastLineNumber = 0;
    progInfo* currentStatement = nullptr; // where the run loop stands
    progInfo* currentLine = nullptr;      // statement being executed (its line number in messages)
    char16_t lastKeywordCode = 0;         // table 0-3 code most recently coded while compiling
    std::vector<double> dataValues;       // the `Data` setting's values, read by `read`
    std::array<double, kValueSlots> valueSlots{};
    int status = RunStatus::Well;
    // An animation block of this program stopped at a faulty line (or a fault inside it): the
    // program after that block is cut off and never runs. Cleared when the program is prepared.
    bool blockFailed = false;
    ItemTable items;
    // Statements one step may run before the tick ends, and the reading of one animation block
    // before it counts as faulty (a loop that never ends).
    int64_t statementBudget = 10'000'000;
    // Longest program line in characters: a longer one refuses the program with a message naming
    // it, so that every line compiles and evaluates in bounded time.
    static constexpr qsizetype kMaxLineLength = 64 * 1024;

    // Shows "ヴィモラの実行を中断します。( %d 行 )" for the current line (the fault message).
    void showFault() const;

    // A text buffer for the control statements' evaluations (its capacity is kept).
    QString& scratchText() { return scratch_; }
    // The evaluator's stack of open parentheses (its capacity is kept, so no evaluation allocates).
    std::vector<qsizetype>& groupStack() { return groupStack_; }

    // Line number of the current line, -1 without one.
    int currentLineNumber() const { return currentLine ? currentLine->lineNumber : -1; }

private:
    QString evalBuffer_; // evalCopy's reused text
    bool readDataFile(const QString& name);
    void readDataStatements(progInfo*& current);

    AnimationHook* hook_ = nullptr;
    StepHost* stepHost_ = nullptr;
    MessageSink messageSink_;
    QStringList names_;
    QHash<QString, int> nameIndex_; // ASCII-lower-case name -> its number in names_
    QString scratch_;
    std::vector<qsizetype> groupStack_;
    int blockDepth_ = 0;      // animation blocks being read, one inside the other
    int64_t readBudget_ = 0;  // statements the outermost block's reader may still run
};
