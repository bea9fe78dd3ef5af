#include "kestoBasInfo.h"

#include "AnimationHook.h"
#include "ControlFlow.h"
#include "Evaluator.h"
#include "KeywordForms.h"
#include "KeywordTables.h"
#include "ScriptFault.h"
#include "StatementCompiler.h"
#include "StepExecutor.h"
#include "common/Fetch.h"
#include "common/Numbers.h"
#include "common/Platform.h"
#include "common/Settings.h"
#include "common/ShowCheck.h"
#include "common/TextFile.h"

namespace {

bool isIdentifierEnd(QChar c) { return QStringView(u" =+-*/()[]<>:,;^.%").contains(c); }

// A data file name is absolute when it names a drive (a "C:" prefix, as works carry them) or
// starts at the root.
bool isAbsolutePath(const QString& name) { return name.contains(u':') || name.startsWith(u'/'); }

progInfo* blockEnd(progInfo* from) {
    for (progInfo* s = from->next; s; s = s->next)
        if (s->kind() == code::SetEnd || s->kind() == code::AddEnd) return s;
    return nullptr;
}

} // namespace

kestoBasInfo::kestoBasInfo() { scratch_.reserve(4096); }

kestoBasInfo::~kestoBasInfo() = default;

void kestoBasInfo::addMessage(const QString& text) const {
    if (messageSink_) messageSink_(text);
}

int kestoBasInfo::loadProgramFile(const QString& givenFolder, const QString& fileName) {
    // The work's bitmaps and data are looked up in its folder later, wherever the working
    // directory is then.
    const QString folder = absoluteLocation(givenFolder);
    const QString path = folder + fileName;
    QStringList lines;
    FileFault fault = FileFault::None;
    if (!readTextLines(path, lines, nullptr, &fault)) {
        showCheck(fileFaultText(fault, QStringLiteral("指定のアニメプログラムのファイルが存在しません！(1)")), path, 0);
        return -1;
    }
    if (lines.isEmpty()) return -1;
    startNewProgram();
    programPath = path;
    prepareProgram(std::move(lines), folder);
    return 0;
}

uint32_t kestoBasInfo::loadProgramUrl(const QString& folderUrl, const QString& fileName) {
    const QString url = folderUrl + fileName;
    QStringList lines;
    const uint32_t bytes = fetchLines(url, lines);
    if (bytes == 0) return 0;
    if (!lines.isEmpty()) {
        startNewProgram();
        programPath = url;
        prepareProgram(std::move(lines), folderUrl);
    }
    return bytes;
}

int kestoBasInfo::chooseProgram(const PathChooser& choosePath, QString& chooserFolder) {
    const QString path =
        choosePath(QStringLiteral("*.acmd"), QStringLiteral("アニメプログラムの[星]を選択してください"), chooserFolder);
    if (path.isEmpty()) return 0;
    chooserFolder = path.endsWith(u'/') ? path : path.left(path.lastIndexOf(u'/') + 1);
    if (!path.endsWith(QStringLiteral(".acmd"), Qt::CaseInsensitive)) {
        showCheck(QStringLiteral("アニメプログラムではありません！"), path, 0);
        return 0;
    }
    const qsizetype cut = std::max(path.lastIndexOf(u'\\'), path.lastIndexOf(u'/'));
    programFolder = path.left(cut + 1);
    return loadProgramFile(programFolder, path.mid(cut + 1));
}

void kestoBasInfo::startNewProgram() {
    // A window that showed another work keeps one interpreter: the new work must find neither the
    // names the last one declared nor a fault status it left, which would keep it from building
    // its characters. (A renewal of the same work prepares its lines again and keeps its names.)
    clearProgram();
    status = RunStatus::Well;
}

void kestoBasInfo::prepareProgram(QStringList lines, const QString& folder) {
    items.clear();
    programFolder = folder;
    QString dataName;
    for (QString& line : lines) {
        if (line.startsWith(u':') || !isKeywordAt(line, 0, u"Load", TableSettings, true)) continue;
        const qsizetype colon = line.indexOf(u':');
        if (colon >= 0) {
            qsizetype start = colon + 1;
            while (start < line.size() && line[start] == u' ') ++start;
            dataName = line.mid(start);
        }
        line.prepend(u'\'');
    }
    for (int i = 0; i < 2 && !dataName.isEmpty() && (dataName.back() == u'\r' || dataName.back() == u'\n'); ++i)
        dataName.chop(1);
    if (!dataName.isEmpty()) {
        QStringList data;
        if (isHttpLocation(folder)) {
            fetchLines(folder + dataName, data);
        } else {
            const QString path = isAbsolutePath(dataName) ? dataName : folder + dataName;
            FileFault fault = FileFault::None;
            if (!dataName.endsWith(QStringLiteral(".anim"), Qt::CaseInsensitive))
                showCheck(QStringLiteral("アニメデータではありません！"), path, 0);
            else if (!readTextLines(path, data, nullptr, &fault))
                showCheck(fileFaultText(fault, QStringLiteral("指定のアニメデータのファイルが存在しません！(2)")), path, 0);
        }
        if (!data.isEmpty()) {
            const qsizetype at = std::min<qsizetype>(1, lines.size());
            data.prepend(QStringLiteral("ANIME_SET:"));
            data.append(QStringLiteral("SET_END:"));
            for (qsizetype i = 0; i < data.size(); ++i) lines.insert(at + i, data[i]);
        }
    }
    programLines = std::move(lines);
    prepareAnimation();
}

progInfo* kestoBasInfo::compileProgram() {
    statements.clear();
    currentStatement = currentLine = nullptr;
    lastKeywordCode = 0;
    int step = 0;
    qsizetype i = 0;
    try {
        for (; i < programLines.size(); ++i) {
            const QString& line = programLines[i];
            if (line.startsWith(u':') || line.startsWith(u'\'')) continue;
            if (line.size() > kMaxLineLength) {
                // Far beyond what a person writes: the program is refused rather than read slowly.
                showCheck(QStringLiteral(" %1 行 ( %2 文字 ) : %3 文字までです")
                              .arg(i + 1)
                              .arg(line.size())
                              .arg(kMaxLineLength),
                          QStringLiteral("「acmd」の行が長すぎます！"), 0);
                status = RunStatus::Fault;
                break;
            }
            const int stepNumber = step++;
            QStringView rest(line);
            while (!rest.isEmpty() && rest.front().unicode() <= 0x20) rest = rest.mid(1);
            while (!rest.isEmpty() && rest.back().unicode() >= 1 && rest.back().unicode() <= 0x1F) rest.chop(1);
            const bool whole = isKeywordAt(rest, 0, u"Theme", TableSettings, true) ||
                               isKeywordAt(rest, 0, u"metaChart", TableSettings, true) ||
                               isKeywordAt(rest, 0, u"Music", TableSettings, true);
            while (!rest.isEmpty()) {
                const qsizetype cut = whole ? -1 : rest.indexOf(u';');
                const QStringView text = cut < 0 ? rest : rest.left(cut);
                progInfo* s = statements.append(static_cast<int>(i + 1), stepNumber, line);
                compileStatement(*this, *s, text);
                if (cut < 0) break;
                rest = rest.mid(cut + 1);
            }
        }
    } catch (const ScriptFault&) {
        // The item table is full: the program keeps what compiled and does not run.
        status = RunStatus::Fault;
        showCheck(QStringLiteral(" %1 行 : 変数と定数は %2 個までです").arg(i + 1).arg(ItemTable::kMaxItems),
                  QStringLiteral("「acmd」の変数と定数が多すぎます！"), 0);
    }
    return statements.first();
}

void kestoBasInfo::prepareAnimation() {
    blockFailed = false;
    compileProgram();
    lastLineNumber = 0;
    for (progInfo* s = statements.first(); s; s = s->next) lastLineNumber = std::max(lastLineNumber, s->lineNumber);
    progInfo* block = statements.first();
    while (block && block->kind() != code::AnimeSet) block = block->next;
    if (block) runAnimeBlock(block, true);
}

void kestoBasInfo::resetAnimation() {
    dataValues.clear();
    if (hook_) hook_->resetAnimation(*this);
}

bool kestoBasInfo::runAnimeBlock(progInfo*& current, bool replace) {
    progInfo* const start = current;
    progInfo* const end = blockEnd(start);
    progInfo* const last = end ? end->previous : nullptr;
    if (last) last->next = nullptr; // the block reader sees the block only
    if (replace) {
        if (hook_) hook_->clearPendingCamera();
        resetAnimation();
    }
    bool read = true;
    if (start->next && start->next != end && hook_) {
        // One budget for the whole outermost block, however often its reader asks for a statement.
        if (blockDepth_ == 0) readBudget_ = statementBudget;
        struct Depth {
            int& depth;
            explicit Depth(int& d) : depth(d) { ++depth; }
            ~Depth() { --depth; }
        } depth(blockDepth_);
        try {
            read = hook_->runAnimeSet(*this, start->next) == 0;
        } catch (const std::exception&) {
            if (status == RunStatus::Well) status = RunStatus::Fault;
            read = false;
        } catch (...) {
            if (status == RunStatus::Well) status = RunStatus::ForeignFault;
            read = false;
        }
    }
    // After an error the rest of the program stays cut off: it ends after the block.
    if (last && read) last->next = end;
    if (!read) blockFailed = true;
    current = read && end ? end->next : nullptr;
    return read;
}

int kestoBasInfo::readData(QString parameters, progInfo*& current) {
    std::optional<QString> rest = cutField(parameters);
    const int count = truncToInt(evalValue(&parameters));
    if (count < 1 || count >= 65536) return 1;
    dataValues.assign(count, 0.0);
    QString name;
    if (rest) {
        cutField(*rest);
        name = rest->trimmed();
        if (name.startsWith(u'"')) name.remove(0, 1);
        if (name.endsWith(u'"')) name.chop(1);
    }
    if (name.isEmpty()) readDataStatements(current);
    else readDataFile(name);
    return 0;
}

bool kestoBasInfo::readDataFile(const QString& name) {
    const QString location = programFolder + name;
    QStringList lines;
    if (isHttpLocation(location)) {
        fetchLines(location, lines);
    } else if (FileFault fault = FileFault::None; !readTextLines(location, lines, nullptr, &fault)) {
        const QString missing = QStringLiteral("「 %1 」が見つかりません！").arg(name);
        const QString text = fault == FileFault::Missing ? missing : QStringLiteral("「 %1 」: %2").arg(name, fileFaultText(fault));
        showCheck(text, QStringLiteral("Dataファイルの確認"), 0);
        throw ScriptFault("data file unreadable"); // the block stops here, as for any fault in it
    }
    if (lines.isEmpty()) {
        showCheck(QStringLiteral("「 %1 」が見つかりません！").arg(name), QStringLiteral("Dataファイルの確認"), 0);
        return false;
    }
    size_t filled = 0;
    for (qsizetype row = 0; row < lines.size(); ++row) {
        const QString& line = lines[row];
        if (filled >= dataValues.size()) break;
        if (line.isEmpty() || line.startsWith(u':') || line.startsWith(u'\'')) continue;
        if (line.size() > kMaxLineLength) {
            showCheck(QStringLiteral(" %1 行 ( %2 文字 ) : %3 文字までです").arg(row + 1).arg(line.size()).arg(kMaxLineLength),
                      QStringLiteral("「 %1 」の行が長すぎます！").arg(name), 0);
            throw ScriptFault("data row too long"); // the block stops here, as for any fault in it
        }
        // The fields of cutField, taken as views so that a long row costs linear time.
        QStringView rest(line);
        for (;;) {
            qsizetype sep = 0;
            while (sep < rest.size() && rest[sep] != u',' && rest[sep] != u'\t' && rest[sep] != u'\n' && rest[sep] != u';') ++sep;
            dataValues[filled++] = parseLeadingNumber(rest.left(sep));
            if (sep >= rest.size() || filled >= dataValues.size()) break;
            rest = rest.mid(sep + 1);
        }
    }
    return true;
}

void kestoBasInfo::readDataStatements(progInfo*& current) {
    const size_t count = dataValues.size();
    size_t filled = 0;
    bool tooMany = false;
    QString row;
    while (filled < count && !tooMany && readStatement(row, current) == 0) {
        // Only "#a,#b,..." rows are data; any other statement ends the values (it is not run).
        bool shaped = true;
        for (qsizetype p = 0; p < row.size() && shaped; p += 3)
            shaped = row[p] == u'#' && p + 1 < row.size() && (p + 2 >= row.size() || row[p + 2] == u',');
        if (!shaped) break;
        for (qsizetype p = 0; p + 1 < row.size(); p += 3) {
            if (filled >= count) {
                tooMany = true;
                break;
            }
            dataValues[filled++] = items.value(row[p + 1].unicode());
        }
    }
    if (tooMany)
        addMessage(QStringLiteral("「Data」個数が多すぎます！(%1 ) ").arg(count));
    else if (filled < count)
        addMessage(QStringLiteral("「Data」 個数が足りません！( %1／%2 ) ").arg(filled).arg(count));
}

namespace {

// Names compare ASCII-caselessly: their index key is the ASCII lower case.
QString nameKey(QStringView name) {
    QString key = name.toString();
    for (QChar& c : key)
        if (c >= u'A' && c <= u'Z') c = QChar(c.unicode() + 32);
    return key;
}

} // namespace

void kestoBasInfo::declareName(QStringView fromSeparator) {
    if (fromSeparator.size() < 2) return;
    qsizetype end = 2;
    while (end < fromSeparator.size() && !isIdentifierEnd(fromSeparator[end])) ++end;
    const QStringView name = fromSeparator.mid(1, end - 1);
    QString key = nameKey(name);
    if (nameIndex_.contains(key)) return;
    nameIndex_.insert(std::move(key), static_cast<int>(names_.size()));
    names_.append(name.toString());
}

int kestoBasInfo::findName(QStringView name) const {
    return nameIndex_.value(nameKey(name), -1);
}

QString kestoBasInfo::nameOf(int number) const {
    return number >= 0 && number < names_.size() ? names_[number] : QString();
}

double kestoBasInfo::evalValue(QString* text) { return ::evalValue(*this, text); }

double kestoBasInfo::evalCopy(QStringView text) {
    evalBuffer_.resize(0); // keeps the capacity
    evalBuffer_.append(text);
    return ::evalValue(*this, &evalBuffer_);
}

void kestoBasInfo::evaluate(QString& text) { ::evaluate(*this, text); }

int kestoBasInfo::assign(QString& text) { return ::assign(*this, text); }

int kestoBasInfo::readStatement(QString& out, progInfo*& current) {
    if (blockDepth_ == 0) readBudget_ = statementBudget; // a reader outside any block
    while (current) {
        if (readBudget_-- <= 0) {
            // A loop in a block that never ends: the block stops as at any fault in it.
            showFault();
            throw ScriptFault("statement budget exhausted while a block is read");
        }
        if (status == RunStatus::Well) currentLine = current;
        switch (current->kind()) {
        case code::For:
            if (runFor(*this, current) < 0) return -1;
            continue;
        case code::Next:
            if (runNext(*this, current) < 0) return -1;
            continue;
        case code::If:
            if (runIf(*this, current) < 0) return -1;
            continue;
        case code::Else: {
            progInfo* endif = findEndif(current);
            if (!endif) return -1;
            current = endif->next;
            continue;
        }
        case 0:
        case u':':
        case u'\'':
        case code::Endif:
            current = current->next;
            continue;
        case code::AcmdRun: {
            progInfo* end = current->next;
            while (end && end->kind() != code::AcmdEnd) end = end->next;
            if (!end) {
                current = current->next;
                continue;
            }
            // A copy of its own, so that a block inside the block never frees what still runs.
            StatementList block;
            std::vector<progInfo*> originals;
            for (progInfo* s = current->next; s != end; s = s->next) {
                if (s->kind() == u':') continue;
                block.append(s->lineNumber, 0, s->source)->code = s->code;
                originals.push_back(s);
            }
            // Whatever way the block ends, the current line goes back from the copy to its original.
            struct LineBack {
                kestoBasInfo& k;
                StatementList& block;
                const std::vector<progInfo*>& originals;
                ~LineBack() {
                    const size_t i = block.indexOf(k.currentLine);
                    if (i < originals.size()) k.currentLine = originals[i];
                }
            } lineBack{*this, block, originals};
            if (hook_) hook_->rebuildNameIndex(*this);
            StepExecutor::runBlock(*this, stepHost_, block.first());
            current = end->next;
            continue;
        }
        default:
            out.resize(0);
            out.append(current->code.constData(), current->code.size());
            current = current->next;
            ::evaluate(*this, out);
            if (out.isEmpty()) continue;
            return 0;
        }
    }
    return -1;
}

void kestoBasInfo::clearProgram() {
    resetAnimation();
    items.clear();
    currentStatement = currentLine = nullptr;
    statements.clear();
    names_.clear();
    nameIndex_.clear();
    programLines.clear();
    lastLineNumber = 0;
}

void kestoBasInfo::showFault() const {
    showCheck(QStringLiteral("ヴィモラの実行を中断します。( %1 行 )").arg(currentLineNumber()),
              QStringLiteral("ヴィモラアートの実行エラー！"), 0);
}

bool kestoBasInfo::writeUserValue(QStringView name, int sameNameIndex, int index, double value) {
    if (index < 0 || index >= kUserValues || !hook_) return false;
    return hook_->setUserValue(name, sameNameIndex, index, value);
}
