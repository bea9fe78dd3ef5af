#include "AtelierText.h"

#include "script/ItemTable.h"

#include <QRegularExpression>

#include <cmath>

QStringList newProgramLines() {
    return {QStringLiteral("ANIME_SET:"), QStringLiteral("theme:\" 無題 \""), QString(),
            QStringLiteral("canvas:center,750,500"), QStringLiteral("bgcolor: 24,24,56"), QString(),
            QStringLiteral("SET_END:")};
}

QStringList editorLines(const QString& plainText) {
    QStringList lines = plainText.split(u'\n');
    for (QString& line : lines) {
        for (QChar& c : line) {
            if (c == u'\r' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator) c = u' ';
        }
        qsizetype end = line.size();
        while (end > 0 && line[end - 1] == u' ') --end;
        line.truncate(end);
    }
    return lines;
}

QString lineNumberText(int count) {
    QString text;
    text.reserve(qsizetype(std::max(count, 1)) * 5);
    for (int i = 1; i <= std::max(count, 1); ++i) {
        if (i > 1) text += u'\n';
        text += QStringLiteral("%1").arg(i, 4, 10, QChar(u'0'));
    }
    return text;
}

QString caretStatus(int column, int line, int count) {
    return QStringLiteral("%1,%2／%3")
        .arg(column, 2, 10, QChar(u'0'))
        .arg(line, 3, 10, QChar(u'0'))
        .arg(count, 3, 10, QChar(u'0'));
}

std::vector<VariableRow> variableRows(const ItemTable& items) {
    std::vector<VariableRow> named;
    std::vector<VariableRow> constants;
    for (int i = 0; i < items.count(); ++i) {
        const varInfo& item = items.item(i);
        VariableRow row;
        row.count = QStringLiteral("%1").arg(item.useCount, 3);
        const double v = item.value;
        row.value = std::isfinite(v) && v == std::trunc(v) && std::fabs(v) < 1e15
                        ? QStringLiteral("%1").arg(qint64(v), 5)
                        : QStringLiteral("%1").arg(v, 10, 'f', 4);
        if (item.name.isEmpty()) {
            row.name = QStringLiteral("fix(%1)").arg(256 + i, 3);
            row.constant = true;
            constants.push_back(row);
        } else {
            row.name = u'$' + item.name.left(10).leftJustified(10);
            named.push_back(row);
        }
    }
    named.insert(named.end(), constants.begin(), constants.end());
    return named;
}

int scriptErrorLine(const QString& message) {
    static const QRegularExpression forms[] = {
        QRegularExpression(QStringLiteral("\\(\\s*(\\d+)\\s*行\\s*\\)")),       // run stopped
        QRegularExpression(QStringLiteral("^\\s*(\\d+)\\s*行")),                // command, read range
        QRegularExpression(QStringLiteral("\\n\\s*(\\d+):")),                   // unknown name
        QRegularExpression(QStringLiteral("がありません！\\((\\d+)\\s*\\)")),    // missing partner
    };
    for (const QRegularExpression& form : forms) {
        const QRegularExpressionMatch m = form.match(message);
        if (m.hasMatch()) return m.captured(1).toInt();
    }
    return -1;
}
