// Program entry: keeps the command line for the setting lookup, installs the message window and
// opens the gallery on the home folder (the bundled one unless home= names another).
#include "common/Settings.h"
#include "common/WidgetCheckSink.h"
#include "gallery/GallerySettings.h"
#include "gallery/TfVimora.h"

#include <QApplication>
#include <QDir>
#include <QStringList>

#include <cstdio>

namespace {

const char kUsage[] =
    "vimora [home=FOLDER] [wide=1|0] [wide] [alldisp=N]\n"
    "  home=FOLDER  home folder with url.txt, group.txt and the works (default: the bundled home)\n"
    "  wide=1|0     start maximised (1) or in a normal window (0); wide alone starts maximised\n"
    "  alldisp=N    initial display mode: 0 one work, 1 list, 2 list animating all, 3 running all\n";

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
    WidgetCheckSink messages;
    ScopedCheckSink installed(&messages);

    // In a build tree the program sits in build/<tree>/src/app, four levels below the sources.
    const QString bundledHome = QDir(QCoreApplication::applicationDirPath()).filePath("../../../../home");
    GallerySettings settings = GallerySettings::read(QCoreApplication::applicationFilePath(),
                                                     QDir(bundledHome).exists() ? QDir(bundledHome).absolutePath() : QString());
    const bool wide = settings.startWide;
    TfVimora gallery(std::move(settings));
    if (wide)
        gallery.showMaximized();
    else
        gallery.show();
    return app.exec();
}
