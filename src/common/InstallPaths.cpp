#include "InstallPaths.h"

#include "ShowCheck.h"

#include <QDir>
#include <QFileInfo>

BundledHome findBundledHome(const QString& programFolder, const QString& installedHome) {
    const QDir program(programFolder);
    BundledHome lookup;
    for (const QString& relative : {QStringLiteral("home"), installedHome}) {
        const QString candidate = QDir::cleanPath(program.absoluteFilePath(relative));
        lookup.candidates.append(candidate);
        if (lookup.folder.isEmpty() && QFileInfo(QDir(candidate).filePath(QStringLiteral("url.txt"))).isFile())
            lookup.folder = candidate + u'/';
    }
    return lookup;
}

void reportMissingHome(const BundledHome& lookup) {
    // The message window has two lines: the request, then the places looked at.
    QString text = QStringLiteral("ホームフォルダが見つかりません！　home=フォルダ名 で指定してください。\n探した場所：");
    for (const QString& candidate : lookup.candidates) text += QStringLiteral("「 %1 」").arg(candidate);
    showCheck(text, QStringLiteral("ヴィモラアート"), 0);
}
