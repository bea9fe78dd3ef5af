// Program entry: keeps the command line for the setting lookup, installs the message window and
// opens the first work of the home folder's catalog in a work window and runs it.
#include "common/Settings.h"
#include "common/WidgetCheckSink.h"
#include "gallery/Catalog.h"
#include "gallery/GallerySettings.h"
#include "work/StandInHost.h"
#include "work/TFormKesto.h"

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

// The first work row of the catalog, or an empty entry.
CatalogEntry firstWork(const Catalog& catalog) {
    for (int row = 0; row < catalog.rowCount(); ++row) {
        const CatalogEntry entry = catalog.rowToEntry(row);
        if (entry.work) return entry;
    }
    return {};
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
    WidgetCheckSink messages;
    ScopedCheckSink installed(&messages);

    const QString bundledHome = QDir(QCoreApplication::applicationDirPath()).filePath("../../../home");
    const GallerySettings settings = GallerySettings::read(QCoreApplication::applicationFilePath(),
                                                           QDir(bundledHome).exists() ? QDir(bundledHome).absolutePath() : QString());
    Catalog catalog(settings.homeFolder);
    catalog.readSources();

    StandInHost host;
    TFormKesto window(host);
    host.setWindow(&window);
    const CatalogEntry entry = firstWork(catalog);
    if (!entry.work) return 1;
    const WorkLocation where = Catalog::locateWork(*entry.source, *entry.group, *entry.work);
    if (!window.openWork(where.folder, where.fileName)) return 1;
    if (settings.startWide) window.showMaximized();
    window.runner().runProgram();
    return app.exec();
}
