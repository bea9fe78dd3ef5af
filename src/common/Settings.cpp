#include "Settings.h"


namespace {

struct CommandLine {
    QStringList arguments;
    QStringList words;
    bool split = false;
};

CommandLine& commandLine() {
    static CommandLine line;
    return line;
}

// The words of the stored command line, split once as the lookup has always done: characters
// below '0' are separators, a word runs to the next character <= 0x20.
const QStringList& commandWords() {
    CommandLine& cl = commandLine();
    if (cl.split) return cl.words;
    cl.split = true;
    const QString text = cl.arguments.join(u' ');
    qsizetype i = 0;
    while (i < text.size() && cl.words.size() < 16) {
        if (text[i].unicode() < u'0') {
            ++i;
            continue;
        }
        const qsizetype start = i;
        while (i < text.size() && text[i].unicode() > 0x20) ++i;
        cl.words.append(text.mid(start, i - start));
        if (i < text.size()) ++i;
    }
    return cl.words;
}

} // namespace

bool startsWithCaseless(QStringView text, QStringView prefix) {
    if (text.size() < prefix.size()) return false;
    for (qsizetype i = 0; i < prefix.size(); ++i)
        if (foldAscii(text[i].unicode()) != foldAscii(prefix[i].unicode())) return false;
    return true;
}

bool equalsCaseless(QStringView a, QStringView b) { return a.size() == b.size() && startsWithCaseless(a, b); }

void setCommandLine(const QStringList& arguments) {
    CommandLine& cl = commandLine();
    cl.arguments = arguments;
    cl.words.clear();
    cl.split = false;
}

std::optional<QString> findSetting(const QString& key, const QStringList* settingsLines) {
    for (const QString& word : commandWords())
        if (startsWithCaseless(word, key)) return word.mid(key.size());
    if (!settingsLines) return std::nullopt;
    for (const QString& line : *settingsLines) {
        qsizetype i = 0;
        while (i < line.size() && line[i] == u' ') ++i;
        const QStringView rest = QStringView(line).mid(i);
        if (startsWithCaseless(rest, key)) return rest.mid(key.size()).toString();
    }
    return std::nullopt;
}

std::optional<QString> cutField(QString& text) {
    qsizetype sep = -1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u',' || c == u'\t' || c == u'\n' || c == u';') {
            sep = i;
            break;
        }
    }
    if (sep < 0) return std::nullopt;
    QString rest = text.mid(sep + 1);
    qsizetype end = sep;
    while (end > 1 && text[end - 1].unicode() <= 0x20) --end;
    text.truncate(end);
    return rest;
}

void cutLineEnd(QString& text) {
    while (!text.isEmpty() && (text.back() == u'\r' || text.back() == u'\n')) text.chop(1);
}
