#include "CommandReference.h"

#include "common/Settings.h"
#include "common/TextFile.h"
#include "script/KeywordTables.h"

const std::vector<ReferenceCategory>& referenceCategories() {
    static const std::vector<ReferenceCategory> categories = {
        {QStringLiteral("設定コマンド"), TableBlocks,
         {QStringLiteral("設定コマンド"), QStringLiteral("（日本語）"), QStringLiteral("仕様")}},
        {QStringLiteral("ヴィモラ属性"), TableAttributes,
         {QStringLiteral("属性"), QStringLiteral("（日本語）"), QStringLiteral("仕様")}},
        {QStringLiteral("関数"), TableFunctions, {QStringLiteral("関数"), QStringLiteral("仕様"), {}}},
        {QStringLiteral("制御"), TableControls, {QStringLiteral("制御"), QStringLiteral("仕様"), {}}},
        {QStringLiteral("ヴィモラコマンド"), TableKinds,
         {QStringLiteral("コマンド"), QStringLiteral("（日本語命令）"), QStringLiteral("　説明〔　書式（引数）など　〕")}},
        {QStringLiteral("キャンバスコマンド"), TableSettings,
         {QStringLiteral("コマンド"), QStringLiteral("（日本語命令）"), QStringLiteral("　説明〔　書式（引数）など　〕")}},
    };
    return categories;
}

void clearDescriptions() {
    for (int t = 0; t < KeywordTableCount; ++t) {
        for (KeywordEntry& entry : keywordTable(t)) {
            entry.explanation.clear();
            // Every row is drawn at least one line high (`balloon` starts with 0 in the table).
            entry.explanationLines = 1;
        }
    }
}

int applyDescriptionLines(const QStringList& lines) {
    int set = 0;
    for (const QString& line : lines) {
        if (line.size() < 2) continue;
        QString number = line;
        const std::optional<QString> rest = cutField(number);
        if (!rest) continue;
        bool ok = false;
        const int table = number.trimmed().toInt(&ok);
        if (!ok || table < 0 || table >= KeywordTableCount) continue;
        const QString& text = *rest;
        for (KeywordEntry& entry : keywordTable(table)) {
            if (!startsWithCaseless(text, entry.standard)) continue;
            qsizetype at = entry.standard.size();
            if (at < text.size()) {
                const QChar next = text[at];
                if (next != u' ' && next != u'(' && next != u',' && next != u':' && next != u'=') continue;
                if (next == u' ' || next == u',') ++at;
            }
            entry.explanation = text.mid(at);
            entry.explanationLines = 1 + int(entry.explanation.count(u'|'));
            ++set;
        }
    }
    return set;
}

bool readDescriptionFile(const QString& path) {
    clearDescriptions();
    QStringList lines;
    if (!readTextLines(path, lines)) return false;
    applyDescriptionLines(lines);
    return true;
}

std::vector<DescriptionLine> descriptionLines(const QString& description) {
    std::vector<DescriptionLine> result;
    if (description.isEmpty()) return result;
    for (const QString& part : description.split(u'|')) {
        if (part.startsWith(u'r')) result.push_back({part.mid(1), true});
        else result.push_back({part, false});
    }
    return result;
}

std::array<int, 3> referenceColumnWidths(int row, int gridWidth, bool needsScrollBar) {
    const int s = needsScrollBar ? 24 : 6;
    switch (row) {
    case 0: return {100, 104, gridWidth - s - 204};
    case 1: return {88, 104, gridWidth - s - 192};
    case 2:
    case 3: return {64, gridWidth - s - 64, 0};
    default: return {112, 112, gridWidth - s - 224};
    }
}

int referenceRowHeight(int lineCount, bool expanded) { return expanded ? std::max(1, lineCount) * 20 : 20; }
