// Program entry: keeps the command line for the setting lookup, installs the message window and
// opens the gallery on the home folder (the bundled one unless home= names another).
#include "atelier/MemoMetadataEditor.h"
#include "common/DesktopSinks.h"
#include "common/InstallPaths.h"
#include "common/Settings.h"
#include "gallery/GallerySettings.h"
#include "gallery/TfVimora.h"

#include <QApplication>
#include <QDirIterator>
#include <QIcon>
#include <QStringList>
#include <QTimer>

#include <cstdio>

// Where the installed program's home is, relative to its folder (set by the install rules).
#ifndef VIMORA_INSTALLED_HOME
#define VIMORA_INSTALLED_HOME "../share/vimora/home"
#endif

namespace {

const char kUsage[] =
    "vimora [home=FOLDER] [wide=1|0] [wide] [alldisp=N]\n"
    "  home=FOLDER  home folder with url.txt, group.txt and the works (default: the bundled home,\n"
    "               home/ next to the program, else " VIMORA_INSTALLED_HOME ")\n"
    "  wide=1|0     start maximised (1) or in a normal window (0); wide alone starts maximised\n"
    "  alldisp=N    initial display mode: 0 one work, 1 all works of the first group in rows,\n"
    "               2 as 1 with all works animating, 3 or more as 2 with all programs running\n";

// Ends the program once the window it watches has been drawn for the first time: the start-up
// benchmark (bench/startup.sh) times `vimora` from launch to its first picture this way.
class ExitAfterFirstPaint : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
        return false;
    }
};

// The program's icon from its resources (every size drawn at build, else the SVG). Cost: the
// listing of the resource folder; the pictures are read when the window system asks for them.
QIcon programIcon() {
    QIcon icon;
    QDirIterator files(QStringLiteral(":/icon"), QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) icon.addFile(files.next());
    return icon;
}

} // namespace

int main(int argc, char** argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i) {
        const QString word = QString::fromLocal8Bit(argv[i]);
        if (word == "--help" || word == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        arguments << word;
    }
    setCommandLine(arguments);
    QApplication app(argc, argv);
    // The installed desktop entry and icon carry this name; the window manager matches them.
    QGuiApplication::setDesktopFileName(QStringLiteral("vimora"));
    QApplication::setWindowIcon(programIcon());
    DesktopSinks sinks;
    installMemoMetadataEditor();

    const BundledHome bundled = findBundledHome(QCoreApplication::applicationDirPath(), QStringLiteral(VIMORA_INSTALLED_HOME));
    const std::optional<QString> homeWord = findSetting(QStringLiteral("home="));
    if (bundled.folder.isEmpty() && (!homeWord || homeWord->isEmpty())) {
        // Without a home the catalog read would end the program with a memory-error message.
        reportMissingHome(bundled);
        return 1;
    }
    GallerySettings settings = GallerySettings::read(QCoreApplication::applicationFilePath(), bundled.folder);
    const bool wide = settings.startWide;
    TfVimora gallery(std::move(settings));
    ExitAfterFirstPaint exitAfterFirstPaint;
    if (qEnvironmentVariableIsSet("VIMORA_EXIT_AFTER_FIRST_PAINT")) gallery.installEventFilter(&exitAfterFirstPaint);
    if (wide)
        gallery.showMaximized();
    else
        gallery.show();
    return app.exec();
}
