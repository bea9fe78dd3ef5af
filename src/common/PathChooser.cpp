#include "PathChooser.h"

#include "ShowCheck.h"

#include <QRegularExpression>

namespace {

QString driveKindText(DriveKind kind) {
    switch (kind) {
    case DriveKind::Removable: return QStringLiteral("脱可");
    case DriveKind::Fixed: return {};
    case DriveKind::Remote: return QStringLiteral("リモート");
    case DriveKind::CdRom: return QStringLiteral("CD-ROM");
    case DriveKind::RamDisk: return QStringLiteral("RAM Disk");
    case DriveKind::Unknown: break;
    }
    return QStringLiteral("不明");
}

} // namespace

QStringList pathParts(const QString& path) {
    QStringList parts;
    qsizetype start = 0;
    for (qsizetype i = 0; i < path.size(); ++i) {
        if (path[i] != u'/') continue;
        parts.append(path.mid(start, i + 1 - start));
        start = i + 1;
    }
    if (start < path.size()) parts.append(path.mid(start));
    return parts;
}

PathChooser::PathChooser(const QString& filter, const QString& path, const QString& home, std::vector<DriveInfo> drives)
    : filter_(filter.left(40)), path_(path.left(1023)), home_(home), drives_(std::move(drives)) {
    for (const QString& p : filter_.split(u';', Qt::SkipEmptyParts)) patterns_.append(p.trimmed());
    fill();
}

QString PathChooser::caption() const {
    return filter_.isEmpty() ? QStringLiteral("銀河の選択") : QStringLiteral("[星]の選択");
}

bool PathChooser::matchesFilter(const QString& name) const {
    for (const QString& p : patterns_) {
        const QRegularExpression re(QRegularExpression::wildcardToRegularExpression(p, QRegularExpression::UnanchoredWildcardConversion),
                                    QRegularExpression::CaseInsensitiveOption);
        const QRegularExpressionMatch m = re.match(name);
        if (m.hasMatch() && m.capturedStart() == 0 && m.capturedLength() == name.size()) return true;
    }
    return false;
}

void PathChooser::fill() {
    entries_.clear();
    if (path_.isEmpty()) {
        fixedRows_ = 1;
        for (const DriveInfo& d : drives_) entries_.push_back({d.root, RowKind::Drive});
        return;
    }
    fixedRows_ = 1 + static_cast<int>(path_.count(u'/'));
    const QString folder = path_.left(path_.lastIndexOf(u'/') + 1);
    std::vector<FolderEntry> listing;
    std::vector<Entry> folders;
    if (!folder.isEmpty() && listFolder(folder, listing)) {
        for (const FolderEntry& e : listing) {
            // A link to a folder is entered as the folder it names; the chooser only reads.
            const bool isFolder = (e.attributes & AttrDirectory) || ((e.attributes & AttrLink) && dirExists(folder + e.name));
            if (isFolder) folders.push_back({e.name + u'/', RowKind::Folder});
            else if (!filter_.isEmpty() && matchesFilter(e.name)) entries_.push_back({e.name, RowKind::File});
        }
    }
    entries_.insert(entries_.end(), folders.begin(), folders.end());
    if (entries_.empty())
        entries_.push_back({dirExists(folder) ? QStringLiteral("銀河なし") : QStringLiteral("現在は使用不可"), RowKind::Placeholder});
}

PathChooser::RowKind PathChooser::rowKind(int row) const {
    if (row <= 0) return RowKind::Universe;
    if (row < fixedRows_) return RowKind::PathRow;
    const auto i = static_cast<std::size_t>(row - fixedRows_);
    return i < entries_.size() ? entries_[i].kind : RowKind::Placeholder;
}

QString PathChooser::rowText(int row) const {
    if (row <= 0) return QStringLiteral(" 大宇宙 ");
    if (row < fixedRows_) {
        const QStringList parts = pathParts(path_);
        const QString part = row - 1 < parts.size() ? parts[row - 1] : QString();
        if (row == 1) return fixedRows_ == 2 ? u' ' + part + u' ' : part;
        return u'<' + part.chopped(part.endsWith(u'/') ? 1 : 0) + u'>';
    }
    const auto i = static_cast<std::size_t>(row - fixedRows_);
    if (i >= entries_.size()) return {};
    const Entry& e = entries_[i];
    switch (e.kind) {
    case RowKind::Drive: {
        QString text = u' ' + e.text + u' ';
        for (const DriveInfo& d : drives_)
            if (d.root == e.text) text += driveKindText(d.kind);
        if (!dirExists(e.text)) text += QStringLiteral("(今不可)");
        return text;
    }
    case RowKind::Folder: return u'<' + e.text.chopped(1) + u'>';
    default: return e.text;
    }
}

bool PathChooser::highlighted(int row, int currentRow) const {
    (void)currentRow;
    if (row == 0) return fixedRows_ == 1;
    if (row < fixedRows_) return row == fixedRows_ - 1 && path_.endsWith(u'/');
    // A picked file: its own row, wherever the grid cursor stands.
    if (fixedRows_ < 2 || path_.endsWith(u'/') || rowKind(row) != RowKind::File) return false;
    return entries_[static_cast<std::size_t>(row - fixedRows_)].text == path_.mid(path_.lastIndexOf(u'/') + 1);
}

int PathChooser::level(int row) const { return row < fixedRows_ ? qMax(0, row) : fixedRows_; }

bool PathChooser::press(int row) {
    if (row < 0 || row >= rowCount()) return false;
    const RowKind kind = rowKind(row);
    if (kind == RowKind::Universe) {
        path_.clear();
    } else if (kind == RowKind::PathRow) {
        path_ = pathParts(path_).mid(0, row).join(QString());
    } else if (kind == RowKind::Placeholder) {
        return false;
    } else {
        const Entry& e = entries_[static_cast<std::size_t>(row - fixedRows_)];
        if (kind == RowKind::Drive) path_ = e.text;
        else if (path_.endsWith(u'/')) path_ += e.text;
        else path_ = path_.left(path_.lastIndexOf(u'/') + 1) + e.text;
        if (kind == RowKind::File) return true; // the same folder stays listed
    }
    path_.truncate(1023);
    fill();
    return true;
}

void PathChooser::editPath(const QString& text) {
    path_ = text.left(1023);
    fill();
}

bool PathChooser::goHome() {
    if (home_.isEmpty()) return false;
    path_ = home_;
    fill();
    return true;
}

bool PathChooser::accept() {
    if (!filter_.isEmpty() && (path_.isEmpty() || path_.endsWith(u'/'))) {
        showCheck(QStringLiteral("ファイルが指定されていません！"), path_, 0);
        return false;
    }
    return true;
}
