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
    QString text = QStringLiteral("ホームフォルダが見つかりません！\n");
    for (const QString& candidate : lookup.candidates) text += QStringLiteral("「 %1 」\n").arg(candidate);
    text += QStringLiteral("home=フォルダ名 でホームフォルダを指定してください。");
    showCheck(text, QStringLiteral("ヴィモラアート"), 0);
}
