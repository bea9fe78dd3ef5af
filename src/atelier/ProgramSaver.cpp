#include "ProgramSaver.h"

#include "common/Choosers.h"
#include "common/Platform.h"
#include "common/ShowCheck.h"
#include "common/TextFile.h"

namespace {

const QString kExtension = QStringLiteral(".acmd");

qsizetype fileNameStart(const QString& path) {
    return std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\')) + 1;
}

SaveOutcome write(const QString& path, const QStringList& lines) {
    SaveOutcome outcome;
    TextEncoding used = TextEncoding::Cp932;
    if (!writeTextLines(path, lines, true, &used)) {
        showCheck(QStringLiteral("ファイルに書き込めませんでした！\n保存先のフォルダーと書き込みの権限を確かめてください。"), path, 0);
        return outcome;
    }
    if (used == TextEncoding::Utf8Bom) {
        showCheck(QStringLiteral("シフトJISで書けない文字があるため、UTF-8（BOM付き）で保存しました。\n"
                                 "古いヴィモラでは読めないことがあります。"),
                  path, 0);
    }
    outcome.saved = true;
    outcome.path = path;
    outcome.encoding = used;
    return outcome;
}

} // namespace

int acmdExtension(QString& path) { return setExtension(path, kExtension); }

int setExtension(QString& path, const QString& extension) {
    const qsizetype nameStart = fileNameStart(path);
    const qsizetype dot = path.lastIndexOf(u'.');
    if (dot <= nameStart) { // a leading dot names a hidden file, it starts no extension
        path += extension;
        return 1;
    }
    if (path.mid(dot).compare(extension, Qt::CaseInsensitive) == 0) return 0;
    path = path.left(dot) + extension;
    return 2;
}

SaveOutcome saveProgramAs(const SaveRequest& request) {
    QString path = request.shownPath.startsWith(QStringLiteral("http:")) ? QString() : request.shownPath;
    const QString start = request.chooserFolder ? *request.chooserFolder : QString();
    if (!choosePath(QStringLiteral("*.acmd"), QStringLiteral("アニメプログラムを保存するファイルを選択してください"), path,
                    nullptr, start)) {
        return {};
    }
    QString target = path;
    switch (acmdExtension(target)) {
    case 1:
        showCheck(QStringLiteral("拡張子「.acmd」を付加しました！"), target, 0);
        break;
    case 2:
        if (showCheck(QStringLiteral("拡張子を「.acmd」に変更して保存しますか？(Y/N)"), path, 1) != 1) return {};
        break;
    default:
        break;
    }
    if (fileExists(target) && showCheck(QStringLiteral("上書きしますか？(Y/N)"), target, 1) != 1) return {};
    if (request.chooserFolder) *request.chooserFolder = target.left(fileNameStart(target));
    return write(target, request.lines);
}

SaveOutcome overwriteProgram(const SaveRequest& request) {
    if (!request.changed) return {};
    if (!request.shownPath.startsWith(QStringLiteral("http:")) && fileExists(request.shownPath))
        return write(request.shownPath, request.lines);
    return saveProgramAs(request);
}

bool askToSave(bool changed) {
    if (!changed) return false;
    return showCheck(QStringLiteral("ヴィモラ「acmd」ファイルを保存しますか？(Y/N)"), QStringLiteral("「acmd」ファイルの保存"),
                     1) == 1;
}
