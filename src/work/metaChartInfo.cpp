#include "metaChartInfo.h"

#include <QProcess>

namespace {

bool fromWeb(const QString& folder) { return folder.startsWith(QLatin1String("http:"), Qt::CaseInsensitive); }

// A local path that stands on its own: rooted, or with a drive letter.
bool standsAlone(const QString& path) { return path.startsWith(u'/') || (path.size() > 1 && path[1] == u':'); }

QString joined(const QString& folder, const QString& name) {
    if (folder.isEmpty() || folder.endsWith(u'/') || folder.endsWith(u'\\')) return folder + name;
    return folder + u'/' + name;
}

QString folderUrl(const QString& folder) {
    if (fromWeb(folder) || folder.isEmpty()) return folder;
    return QStringLiteral("file://") + folder;
}

// Reads the comma fields of a table one after another.
class FieldReader {
public:
    explicit FieldReader(const QString& text) : text_(text) {}
    // The next field; after the last one ended() holds.
    QString next() {
        if (ended_) return {};
        const qsizetype comma = text_.indexOf(u',', pos_);
        QString field;
        if (comma < 0) {
            field = text_.mid(pos_);
            ended_ = true;
        } else {
            field = text_.mid(pos_, comma - pos_);
            pos_ = comma + 1;
        }
        return field;
    }
    bool ended() const { return ended_; }
    bool commaFollows() const { return !ended_ && text_.indexOf(u',', pos_) >= 0; }

private:
    const QString& text_;
    qsizetype pos_ = 0;
    bool ended_ = false;
};

int leadingNumber(const QString& field, int base) {
    const QString t = field.trimmed();
    qsizetype end = 0;
    if (end < t.size() && t[end] == u'-') ++end;
    auto digit = [base](QChar c) {
        return c.isDigit() || (base == 16 && ((c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F')));
    };
    while (end < t.size() && digit(t[end])) ++end;
    bool ok = false;
    const qlonglong v = t.left(end).toLongLong(&ok, base);
    return ok ? int(v) : 0;
}

} // namespace

metaChartInfo::metaChartInfo(const QString& definitionText) {
    const metaInfo parsed(definitionText);
    definition = parsed.text;
    errors = parsed.errors;
    program = parsed.browser;
    if (errors) return;
    width = parsed.width;
    height = parsed.height;
    options = int32_t(parsed.windowId);
    count = parsed.dwell;
    source = definition.mid(parsed.data);
    kind = parsed.dataKind;
}

QString chartTextPage(const QString& data) {
    return QStringLiteral("<body bgcolor='#000040' scroll='no'><font color='#ffff40'>　") + data +
           QStringLiteral("</font></body>");
}

QString chartTablePage(const QString& data) {
    if (!data.contains(u',')) return {};
    QString page = QStringLiteral("<body bgcolor='#000040' scroll='no'><center>");
    FieldReader fields(data);
    while (fields.commaFollows()) {
        const int columns = leadingNumber(fields.next(), 10);
        if (columns < 1 || fields.ended()) break;
        const int rows = leadingNumber(fields.next(), 10);
        if (rows < 1) break;
        page += QStringLiteral("<table border=0 cellspacing=0 cellpadding=0 style='color:#ffff8;line-height:150%'>");
        for (int row = 0; row < rows; ++row) {
            const uint32_t colour = uint32_t(leadingNumber(fields.next(), 16));
            page += QStringLiteral("<tr style='color:#%1' align='center'><td nowrap>")
                        .arg(QString::number(colour, 16).toUpper().rightJustified(6, u'0'));
            if (fields.ended()) {
                page += QStringLiteral("</td></tr>");
                break;
            }
            for (int cell = 0; cell < columns && !fields.ended(); ++cell)
                page += QStringLiteral("<td nowrap>&nbsp;") + fields.next() + QStringLiteral("&nbsp;</td>");
            page += QStringLiteral("</tr>");
            if (fields.ended()) break;
        }
        page += QStringLiteral("</table>");
        if (fields.ended()) break;
        page += QStringLiteral("<br/>");
    }
    return page + QStringLiteral("</center></body>");
}

QString withAbsoluteSource(const QString& page, const QString& folder) {
    for (qsizetype at = page.indexOf(QLatin1String("src"), 0, Qt::CaseInsensitive); at >= 0;
         at = page.indexOf(QLatin1String("src"), at + 3, Qt::CaseInsensitive)) {
        qsizetype p = at + 3;
        while (p < page.size() && page[p] == u' ') ++p;
        const qsizetype equals = p;
        while (p < page.size() && page[p] == u'=') ++p;
        if (p == equals || p >= page.size() || page[p] != u'\'') continue;
        const qsizetype close = page.indexOf(u'\'', p + 1);
        if (close < 0) continue;
        if (page.mid(p + 1, close - p - 1).contains(u':')) return page;
        QString changed = page;
        changed.insert(p + 1, folder);
        return changed;
    }
    return page;
}

QString chartRefusedText() {
    return QStringLiteral("インターネットから読んだ作品のメタチャートはプログラムを起動できません！");
}

ChartPlan planChart(const metaChartInfo& chart, const QString& workFolder, const QString& homeFolder) {
    ChartPlan plan;
    const QString data = chart.data();
    const bool web = fromWeb(workFolder);
    auto refuse = [&plan](const QString& why) {
        plan.action = ChartPlan::Action::Refuse;
        plan.target = why;
        plan.minimised = true;
        return plan;
    };
    switch (chart.kind) {
    case 1:
        if (!(chart.options & metaChartInfo::kExternalBrowser)) {
            plan.action = ChartPlan::Action::Navigate;
            plan.target = chart.source;
            return plan;
        }
        if (web) return refuse(chartRefusedText());
        plan.action = ChartPlan::Action::StartProgram;
        plan.target = chart.program;
        plan.arguments = {chart.source};
        plan.minimised = true;
        return plan;
    case 2:
        plan.action = ChartPlan::Action::Navigate;
        if (data.contains(u':')) plan.target = chart.source;
        else if (data.startsWith(u'/')) plan.target = QStringLiteral("file://") + data;
        else if (web) plan.target = workFolder + data;
        else plan.target = QStringLiteral("file://") + joined(workFolder, data);
        return plan;
    case 3:
    case 4:
    case 6: {
        const QString page = chart.kind == 3 ? chartTextPage(data) : chart.kind == 4 ? data : chartTablePage(data);
        plan.action = ChartPlan::Action::WritePage;
        plan.target = withAbsoluteSource(page, workFolder);
        plan.baseUrl = folderUrl(workFolder);
        return plan;
    }
    case 5:
        plan.action = ChartPlan::Action::Picture;
        plan.target = data.contains(u':') || data.startsWith(u'/') ? data : joined(workFolder, data);
        return plan;
    case 7: {
        if (web) return refuse(chartRefusedText());
        plan.action = ChartPlan::Action::StartProgram;
        plan.minimised = true;
        const QString base = homeFolder.isEmpty() ? workFolder : homeFolder;
        const qsizetype comma = data.indexOf(u',');
        QStringList words;
        if (comma >= 0) {
            words = QStringList{data.left(comma).trimmed()} + QProcess::splitCommand(data.mid(comma + 1));
        } else {
            words = QProcess::splitCommand(data);
        }
        if (words.isEmpty() || words.front().isEmpty()) return refuse(QStringLiteral("起動するプログラムが指定されていません！"));
        plan.target = standsAlone(words.front()) ? words.front() : joined(base, words.front());
        plan.arguments = words.mid(1);
        return plan;
    }
    default:
        return plan;
    }
}
