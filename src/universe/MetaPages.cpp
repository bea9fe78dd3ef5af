#include "MetaPages.h"

#include "common/Numbers.h"

#include <QProcess>

namespace {

constexpr int kNotInTourWidth = 300;
constexpr int kNotInTourHeight = 150;

bool isRooted(const QString& path) { return path.startsWith(u'/') || (path.size() > 1 && path[1] == u':'); }

bool isAsciiAlnum(QChar c) { return c.unicode() < 128 && c.isLetterOrNumber(); }
bool isHexDigit(QChar c) { return c.unicode() < 128 && (c.isDigit() || QStringLiteral("abcdefABCDEF").contains(c)); }

// "&name;", "&#digits;" or "&#xhex;" starts at `at`.
bool referenceAt(const QString& text, qsizetype at) {
    qsizetype p = at + 1;
    bool (*accepts)(QChar) = isAsciiAlnum;
    if (p < text.size() && text[p] == u'#') {
        ++p;
        accepts = [](QChar c) { return c.unicode() < 128 && c.isDigit(); };
        if (p < text.size() && (text[p] == u'x' || text[p] == u'X')) {
            ++p;
            accepts = isHexDigit;
        }
    }
    const qsizetype first = p;
    while (p < text.size() && accepts(text[p])) ++p;
    return p > first && p < text.size() && text[p] == u';';
}

// Reads the comma fields of a table one after another.
class Fields {
public:
    explicit Fields(const QString& text) : text_(text) {}
    QString next() {
        const qsizetype comma = text_.indexOf(u',', pos_);
        if (comma < 0) {
            ended_ = true;
            return text_.mid(pos_);
        }
        const QString field = text_.mid(pos_, comma - pos_);
        pos_ = comma + 1;
        return field;
    }
    // True after the last field was read.
    bool ended() const { return ended_; }

private:
    const QString& text_;
    qsizetype pos_ = 0;
    bool ended_ = false;
};

// The leading hexadecimal number after blanks; no digits give 0 (only the low 32 bits count).
uint32_t leadingHex(const QString& field) {
    qsizetype p = 0;
    while (p < field.size() && field[p] == u' ') ++p;
    uint32_t value = 0;
    for (; p < field.size(); ++p) {
        const char16_t c = field[p].unicode();
        const int digit = c >= u'0' && c <= u'9' ? c - u'0' : c >= u'a' && c <= u'f' ? c - u'a' + 10 : c >= u'A' && c <= u'F' ? c - u'A' + 10 : -1;
        if (digit < 0) break;
        value = value * 16 + uint32_t(digit);
    }
    return value;
}

} // namespace

QString pageText(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'<') out += QStringLiteral("&lt;");
        else if (c == u'>') out += QStringLiteral("&gt;");
        else if (c == u'&' && !referenceAt(text, i)) out += QStringLiteral("&amp;");
        else out += c;
    }
    return out;
}

QString metaTextPage(const QString& data) {
    return QStringLiteral("<body bgcolor='#000040' scroll='no'><font color='#ffff40'>　") + pageText(data) +
           QStringLiteral("</font></body>");
}

QString metaNotInTourPage() {
    return QStringLiteral("<body bgcolor='#000040' scroll='no'><center><br/><font color='#00ff00'>団体行動ができないので</font>"
                          "<br/><br/><font color='#ffff00'>ツアーに参加できません！</font></center></body>");
}

QString metaTablePage(const QString& data) {
    if (!data.contains(u',')) return {};
    QString page = QStringLiteral("<body bgcolor='#000040' scroll='no'><center>");
    Fields fields(data);
    while (true) {
        const int columns = parseLeadingInt(fields.next());
        if (columns < 1 || fields.ended()) break;
        const int rows = parseLeadingInt(fields.next());
        if (rows < 1 || fields.ended()) break;
        page += QStringLiteral("<table border=0 cellspacing=0 cellpadding=0 style='font-size:12pt;color:#ffff8;line-height:150%'>");
        for (int row = 0; row < rows && !fields.ended(); ++row) {
            page += QStringLiteral("<tr style='color:#%1' align='center'><td nowrap>")
                        .arg(QString::number(leadingHex(fields.next()), 16).toUpper().rightJustified(6, u'0'));
            if (fields.ended()) {
                page += QStringLiteral("</td></tr>");
                break;
            }
            for (int cell = 0; cell < columns && !fields.ended(); ++cell)
                page += QStringLiteral("<td nowrap>&nbsp;") + pageText(fields.next()) + QStringLiteral("&nbsp;</td>");
            page += QStringLiteral("</tr>");
        }
        page += QStringLiteral("</table>");
        if (fields.ended()) break;
        page += QStringLiteral("<br/>");
    }
    return page + QStringLiteral("</center></body>");
}

QString metaRefusedText() {
    return QStringLiteral("インターネットから読んだ星座データのメタデータはプログラムを起動できません！");
}

MetaPagePlan planMetaPage(const metaInfo& meta, const MetaPageContext& context) {
    MetaPagePlan plan;
    plan.size = QSize(meta.width, meta.height);
    const uint32_t id = meta.windowId;
    const bool startsProgram = (meta.dataKind == 1 && (id & MetaExternalBrowser)) || meta.dataKind == 7;
    if (context.tour && !(id & MetaOwnProcess) && startsProgram) {
        plan.joinsTour = false;
        plan.size = QSize(kNotInTourWidth, kNotInTourHeight);
        plan.target = metaNotInTourPage();
        return plan;
    }
    if (startsProgram && context.fetched) {
        plan.action = MetaPagePlan::Action::Refuse;
        plan.target = metaRefusedText();
        plan.minimised = true;
        return plan;
    }
    const QString kindField = meta.text.mid(meta.data);
    const QString data = kindField.mid(5);
    switch (meta.dataKind) {
    case 1:
        if (!(id & MetaExternalBrowser)) {
            plan.action = MetaPagePlan::Action::Navigate;
            plan.target = kindField;
        } else if (id & MetaOwnProcess) {
            plan.action = MetaPagePlan::Action::StartProcess;
            plan.target = meta.browser;
            plan.arguments = {kindField};
        } else {
            plan.action = MetaPagePlan::Action::OpenWithSystem;
            plan.target = kindField;
            plan.minimised = true;
        }
        break;
    case 2:
        plan.action = MetaPagePlan::Action::Navigate;
        if (data.contains(u':')) plan.target = kindField;
        else if (data.startsWith(u'/')) plan.target = QStringLiteral("file://") + data;
        else plan.target = QStringLiteral("file://") + context.basePath + data;
        break;
    case 3: plan.target = metaTextPage(data); break;
    case 4: plan.target = data; break;
    case 6: plan.target = metaTablePage(data); break;
    case 5:
        plan.action = MetaPagePlan::Action::Picture;
        plan.target = isRooted(data) || data.contains(u':') ? data : context.basePath + data;
        break;
    case 7: {
        // An argument list from the text: no shell ever reads it.
        plan.minimised = true;
        const qsizetype comma = data.indexOf(u',');
        QStringList words = comma < 0 ? QProcess::splitCommand(data) : QStringList{data.left(comma)};
        if (words.isEmpty()) words = QStringList{data};
        const QString program = words.takeFirst();
        plan.action = comma < 0 ? MetaPagePlan::Action::StartProcess : MetaPagePlan::Action::StartDetached;
        plan.arguments = comma < 0 ? words : QProcess::splitCommand(data.mid(comma + 1));
        plan.target = program;
        if (!isRooted(program)) {
            const QString& base = context.currentPath;
            const bool separated = base.endsWith(u'\\') || base.endsWith(u'/');
            const bool backslashes = base.contains(u'\\') && !base.contains(u'/');
            plan.target = base + (separated ? QString() : backslashes ? QStringLiteral("\\") : QStringLiteral("/")) + program;
        }
        break;
    }
    default: break;
    }
    return plan;
}

QPoint metaPagePlace(QPoint at, QSize page, QSize grid, uint32_t windowId, int windowTop, int gridPanelTop,
                     int screenHeight, const MetaPlacement& rule) {
    const int left = qMax(0, qMin(at.x() + rule.offset, grid.width() - page.width() - rule.margin));
    int top;
    if (windowId & (MetaOnTop | MetaSizeable))
        top = qMin(at.y() + windowTop + gridPanelTop + 16, screenHeight - page.height() - rule.screenMargin);
    else
        top = qMin(at.y() + 16, grid.height() - page.height() - rule.margin);
    return QPoint(left, qMax(0, top));
}
