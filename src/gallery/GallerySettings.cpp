#include "GallerySettings.h"

#include "CatalogLine.h"
#include "common/Platform.h"
#include "common/Settings.h"
#include "common/ShowCheck.h"
#include "common/TextFile.h"

#include <algorithm>

namespace {

bool endsWithSeparator(const QString& text) { return text.endsWith(u'/') || text.endsWith(u'\\'); }

// "C:\art\.\" names the same folder as "C:\art\".
QString withoutDotFolder(QString folder) {
    const qsizetype n = folder.size();
    if (n >= 3 && endsWithSeparator(folder) && folder[n - 2] == u'.' && (folder[n - 3] == u'/' || folder[n - 3] == u'\\'))
        folder.truncate(n - 2);
    return folder;
}

// An empty home= value would make the home folder the file-system root; it counts as absent.
std::optional<QString> homeSetting(const QStringList* settingsLines) {
    std::optional<QString> value = findSetting(QStringLiteral("home="), settingsLines);
    if (value && value->trimmed().isEmpty()) return std::nullopt;
    return value;
}

} // namespace

std::optional<QStringList> GallerySettings::readSettingsFile(const QString& path) {
    QStringList lines;
    if (!fileExists(path)) return std::nullopt;
    FileFault fault = FileFault::None;
    if (!readTextLines(path, lines, nullptr, &fault)) {
        // A settings file that is there but cannot be read is said, or its settings would seem ignored.
        showCheck(fileFaultText(fault), path, 0);
        return std::nullopt;
    }
    QStringList kept;
    for (QString line : lines) {
        qsizetype end = line.size();
        while (end > 0 && line[end - 1].unicode() <= 0x20) --end;
        line.truncate(end);
        if (!line.isEmpty()) kept.append(line);
    }
    return kept;
}

GallerySettings GallerySettings::read(const QString& programFile, const QString& defaultHome) {
    GallerySettings s;
    // Plain text work on the path: nothing here asks the file system.
    const qsizetype cut = std::max(programFile.lastIndexOf(u'/'), programFile.lastIndexOf(u'\\')) + 1;
    const QString programFolder = programFile.left(cut);
    QString home;
    if (std::optional<QString> word = homeSetting(nullptr)) {
        home = *word;
    } else {
        home = defaultHome.isEmpty() ? programFolder : defaultHome;
        if (home.isEmpty()) home = QStringLiteral("./"); // a bare program name must not make "/" the home
        if (!endsWithSeparator(home)) home += u'/';
    }
    home = absoluteLocation(withoutDotFolder(home));

    QString envName = programFile.mid(cut);
    const qsizetype dot = envName.indexOf(u'.');
    if (dot >= 0) envName.truncate(dot);
    envName += QStringLiteral(".env");
    // "\" separates folders only on Windows; here the file is looked up with "/".
    const QString envFolder = QString(home).replace(u'\\', u'/');
    s.settingsText = readSettingsFile(envFolder + (envFolder.endsWith(u'/') ? QString() : QStringLiteral("/")) + envName);
    const QStringList* lines = s.settingsText ? &*s.settingsText : nullptr;

    if (std::optional<QString> word = homeSetting(lines)) home = absoluteLocation(withoutDotFolder(*word));
    if (!endsWithSeparator(home)) home += u'/';
    home.replace(u'\\', u'/');
    s.homeFolder = s.chooserFolder = s.workFolder = home;

    if (std::optional<QString> wide = findSetting(QStringLiteral("wide="), lines))
        s.startWide = wide->startsWith(u'1');
    else
        s.startWide = findSetting(QStringLiteral("wide"), lines).has_value();

    if (std::optional<QString> mode = findSetting(QStringLiteral("alldisp="), lines))
        s.autoModeLevel = std::max(0, CatalogLine::flagValue({*mode}, 0, 0));
    return s;
}
