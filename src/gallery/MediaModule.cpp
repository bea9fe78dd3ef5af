#include "MediaBackend.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>

namespace {

using Maker = MediaBackend* (*)();

QStringList modulePlaces() {
    QStringList places;
#ifdef VIMORA_MUSIC_MODULE_BUILD
    places << QStringLiteral(VIMORA_MUSIC_MODULE_BUILD);
#endif
#ifdef VIMORA_MUSIC_MODULE_INSTALLED
    places << QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral(VIMORA_MUSIC_MODULE_INSTALLED));
#endif
    return places;
}

} // namespace

std::unique_ptr<MediaBackend> makeMediaBackend(QString* why) {
    static Maker maker = nullptr;
    static QString failure;
    if (!maker && failure.isEmpty()) {
        for (const QString& place : modulePlaces()) {
            QLibrary module(place); // never unloaded: its players live on
            maker = reinterpret_cast<Maker>(module.resolve("vimoraMakeMediaBackend"));
            if (maker) break;
            failure = module.errorString();
        }
        if (!maker && failure.isEmpty()) failure = QStringLiteral("no music module");
        if (maker) failure.clear();
    }
    if (!maker) {
        if (why) *why = failure;
        return nullptr;
    }
    return std::unique_ptr<MediaBackend>(maker());
}
