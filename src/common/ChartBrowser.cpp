#include "ChartBrowser.h"

#include "ShowCheck.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>

#if defined(__SANITIZE_ADDRESS__)
// The web engine's own code frees some objects with a size that AddressSanitizer's sized delete
// check takes for a mismatch; every program that can show a page links this file, so the check
// is off there (and only there). Flags given in ASAN_OPTIONS still win.
extern "C" const char* __asan_default_options() { return "new_delete_type_mismatch=0"; }
#endif

namespace {

using Maker = ChartBrowser* (*)(QWidget*);

// The module beside the build's programs, else where the installation puts it.
QStringList modulePlaces() {
    QStringList places;
#ifdef VIMORA_WEB_MODULE_BUILD
    places << QStringLiteral(VIMORA_WEB_MODULE_BUILD);
#endif
#ifdef VIMORA_WEB_MODULE_INSTALLED
    places << QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral(VIMORA_WEB_MODULE_INSTALLED));
#endif
    return places;
}

} // namespace

std::unique_ptr<ChartBrowser> makeChartBrowser(QWidget* parent) {
    static Maker maker = nullptr;
    static QString failure;
    if (!maker && failure.isEmpty()) {
        for (const QString& place : modulePlaces()) {
            QLibrary module(place); // never unloaded: its widgets live on
            maker = reinterpret_cast<Maker>(module.resolve("vimoraMakeChartBrowser"));
            if (maker) break;
            failure = module.errorString();
        }
        if (!maker && failure.isEmpty()) failure = QStringLiteral("no browser module");
        if (maker) failure.clear();
    }
    if (!maker) {
        showCheck(failure, QStringLiteral("ブラウザを用意できません！"), 0);
        return nullptr;
    }
    return std::unique_ptr<ChartBrowser>(maker(parent));
}
