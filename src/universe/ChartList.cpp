#include "ChartList.h"

#include "common/Platform.h"
#include "common/ShowCheck.h"
#include "common/TextCodec.h"

namespace {

// Only sixteen charts are listed; a file past this is no chart list.
constexpr qint64 kMaxFileBytes = qint64(1) << 20;
constexpr int kShortestLine = 4; // the line feed counted

bool isSeparator(QChar c) { return c == u'\t' || c == u'\n' || c == u',' || c == u';'; }

void chopBlanks(QString& text) {
    while (!text.isEmpty() && text.back().unicode() <= 32) text.chop(1);
}

} // namespace

const QString ChartList::kFile = QStringLiteral("nebu/chart.txt");
const QString ChartList::kSeparatorLine = QStringLiteral(" ----------------");
const QString ChartList::kFromGalaxyLine = QStringLiteral(" 銀河の星座から");
const QString ChartList::kBlankLine = QStringLiteral(" ");

ChartList ChartList::parse(const QString& source) {
    ChartList list;
    QString text = source;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    qsizetype pos = 0;
    while (pos < text.size()) {
        // One read: up to kPiece characters, ending after a line feed.
        qsizetype end = pos;
        while (end < text.size() && end - pos < kPiece) {
            if (text[end++] == u'\n') break;
        }
        const QStringView piece = QStringView(text).mid(pos, end - pos);
        pos = end;
        if (piece.size() < kShortestLine) continue;
        qsizetype cut = 0;
        while (cut < piece.size() && !isSeparator(piece[cut])) ++cut;
        QString shown = piece.left(cut).toString();
        qsizetype fileEnd = cut + 1;
        while (fileEnd < piece.size() && !isSeparator(piece[fileEnd])) ++fileEnd;
        QString file = cut < piece.size() ? piece.mid(cut + 1, fileEnd - cut - 1).toString() : QString();
        chopBlanks(shown);
        chopBlanks(file);
        if (file.isEmpty()) {
            // A blank line says nothing; a name without a file cannot be opened.
            if (!shown.trimmed().isEmpty()) ++list.linesWithoutFile;
            continue;
        }
        if (list.entries.size() >= static_cast<std::size_t>(kMaxCharts)) {
            ++list.chartsLeftOut;
            continue;
        }
        for (QString* name : {&shown, &file}) {
            if (name->size() > kMaxName) {
                name->truncate(kMaxName);
                ++list.namesCut;
            }
        }
        list.entries.push_back({shown, file});
    }
    return list;
}

ChartList ChartList::read(const QString& workFolder) {
    const QString path = workFolder + (workFolder.endsWith(u'/') || workFolder.isEmpty() ? QString() : QStringLiteral("/")) + kFile;
    QByteArray bytes;
    FileFault fault = FileFault::None;
    if (!readFileBytes(path, bytes, kMaxFileBytes, &fault)) {
        if (fault != FileFault::Missing) showCheck(fileFaultText(fault), path, 0);
        return {};
    }
    ChartList list = parse(decodeText(bytes));
    if (const QString problems = list.problems(); !problems.isEmpty()) showCheck(problems, path, 0);
    return list;
}

QString ChartList::problems() const {
    QStringList parts;
    if (chartsLeftOut > 0)
        parts << QStringLiteral("チャートは %1 件までなので %2 件を省きました").arg(kMaxCharts).arg(chartsLeftOut);
    if (namesCut > 0) parts << QStringLiteral("%1 文字を超える名前 %2 個を切り詰めました").arg(kMaxName).arg(namesCut);
    if (linesWithoutFile > 0) parts << QStringLiteral("ファイル名のない %1 行を飛ばしました").arg(linesWithoutFile);
    if (parts.isEmpty()) return {};
    return QStringLiteral("チャート一覧の一部を読めませんでした！\n") + parts.join(QStringLiteral("、"));
}

QStringList ChartList::lines() const {
    QStringList out;
    for (const ChartEntry& e : entries) out << e.shown;
    out << kSeparatorLine << kFromGalaxyLine << kBlankLine;
    return out;
}

ChartList::Choice ChartList::choice(int index) const {
    const int charts = static_cast<int>(entries.size());
    if (index >= 0 && index < charts) return Choice::Chart;
    return index == charts + 1 ? Choice::FromGalaxy : Choice::Nothing;
}

QString ChartList::chartPath(int index, const QString& workFolder) const {
    if (choice(index) != Choice::Chart) return {};
    return workFolder + (workFolder.endsWith(u'/') ? QString() : QStringLiteral("/")) +
           entries[static_cast<std::size_t>(index)].file;
}
