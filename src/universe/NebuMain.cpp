// nebu: the file universe on the command line.
//   nebu scan PATH [--depth N] [-o FILE.nebu]   scan a folder; summary to standard output
//   nebu show FILE.nebu [--depth N]              the tree image text to standard output
//   nebu stats FILE.nebu                         galaxy and star counts, total size, deepest level
//   nebu view PATH|FILE.nebu [--depth N] [--png FILE]
//                                                the tree window on its own (scanned on a worker);
//                                                --png writes the window once opened and quits
//   nebu clones PATH|FILE.nebu [--depth N]       the clone groups (same name without case, size
//                                                and hour): "name TAB size TAB time TAB count",
//                                                then "TAB path" for each, in list order
#include "Constellation.h"
#include "NebuClones.h"
#include "ScanProgress.h"
#include "TreeImage.h"
#include "UniverseModel.h"

#include "NebuCommands.h"
#include "TFormNebu.h"

#include "atelier/TFormHelp.h"
#include "common/InstallPaths.h"
#include "journey/TFormX3D.h"

#include "common/BreakPoll.h"
#include "common/DialogChooserSink.h"
#include "common/Platform.h"
#include "common/Settings.h"
#include "common/WidgetCheckSink.h"
#include "common/FileNameCodec.h"
#include "common/ShowCheck.h"
#include "common/Texts.h"

#include <QApplication>
#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTimer>

#include <csignal>
#include <cstring>
#include <cstdio>
#include <unistd.h>

namespace {

void printLine(FILE* out, const QString& text) {
    const QByteArray bytes = encodeFileName(text); // a name that is not UTF-8 prints as its own bytes
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), out);
    std::fputc('\n', out);
}

// Progress on a terminal: one line rewritten in place, at most every tenth of a second.
class TerminalProgress : public ScanProgress {
public:
    void showProgress(bool) override {}
    void setCounterText(const QString& text) override { counter_ = text.trimmed(); }
    void setPathText(const QString& text) override {
        if (clock_.isValid() && clock_.elapsed() < 100) return;
        clock_.restart();
        QString line = counter_ + QStringLiteral("  ") + text.trimmed();
        if (line.size() > 100) line = line.left(48) + QStringLiteral("…") + line.right(51);
        std::fprintf(stderr, "\r\033[K%s", line.toUtf8().constData());
        std::fflush(stderr);
    }
    void showStopping(const QString& text) override { printLine(stderr, text.trimmed()); }
    void hideProgress() override {
        std::fprintf(stderr, "\r\033[K");
        std::fflush(stderr);
    }

private:
    QString counter_;
    QElapsedTimer clock_;
};

// Ctrl-C during a scan breaks it as the 中断 panel would.
FlagBreakPoll interruption;
void interrupt(int) { interruption.flag.store(true); }

int usage() {
    std::fprintf(stderr, "usage: nebu scan PATH [--depth N] [-o FILE.nebu]\n"
                         "       nebu show FILE.nebu [--depth N]\n"
                         "       nebu stats FILE.nebu\n"
                         "       nebu view PATH|FILE.nebu [--depth N] [--png FILE]\n"
                         "       nebu clones PATH|FILE.nebu [--depth N]\n");
    return 2;
}

QString absolute(const QString& path) {
    return QDir::cleanPath(path.startsWith(u'/') ? path : QDir::currentPath() + u'/' + path);
}

// The clone groups of the whole tree; a galaxy's path ends with the separator.
int printClones(treeInfo& tree) {
    if (!countCloneRuns(tree, tree.root(), &interruption, nullptr)) return 130;
    for (const std::vector<fileInfo*>& group : cloneGroups(tree, tree.root())) {
        const fileInfo* first = group.front();
        printLine(stdout, first->name() + u'\t' + QString::number(first->size) + u'\t' + dateText(first->stamp) + u'\t' +
                              QString::number(group.size()));
        for (const fileInfo* n : group)
            printLine(stdout, u'\t' + tree.treePath(n) + (n->isGalaxy() ? QString(tree.separator()) : QString()));
    }
    return 0;
}

void printStats(treeInfo& tree) {
    printLine(stdout, QStringLiteral("root: ") + tree.root()->name());
    printLine(stdout, QStringLiteral("galaxies: %1").arg(tree.galaxyCount));
    printLine(stdout, QStringLiteral("stars: %1").arg(tree.starCount));
    printLine(stdout, QStringLiteral("total size: %1 (%2)").arg(tree.root()->size).arg(sizeText(tree.root()->size).trimmed()));
    printLine(stdout, QStringLiteral("deepest level: %1").arg(tree.deepestLevel));
}

// The tree window as a program of its own; with `png` it writes the window once the universe is
// open and ends.
int view(int& argc, char** argv, const QString& target, int depth, const QString& png) {
    QApplication app(argc, argv);
    WidgetCheckSink messages;
    ScopedCheckSink installed(&messages);
    DialogChooserSink choosers;
    ScopedChooserSink choosersInstalled(&choosers);
    auto* window = new TFormNebu(target.contains(u':') ? target : absolute(target), QDir::currentPath() + u'/', QString(), nullptr);
    if (depth > 0) window->model().tree().searchDepth = depth;
    window->setJourneyEntry([window] { TFormX3D::openJourney(*window); });
    // The help viewer of the bundled home, made inside the tree area on first use; it is the
    // window's child, so it goes with the window.
    const QString home = findBundledHome(QCoreApplication::applicationDirPath()).folder;
    if (!home.isEmpty())
        window->commands().setHelpEntry({[home](QWidget* area) {
                                             auto* help = area->findChild<TFormHelp*>(QString(), Qt::FindDirectChildrenOnly);
                                             if (!help) help = new TFormHelp(home, area, HelpUniverse, area);
                                             else help->setPlace(HelpUniverse, area);
                                             help->showHelp();
                                         },
                                         {}});
    window->show();
    QTimer watch;
    int status = 0;
    if (!png.isEmpty()) {
        QObject::connect(&watch, &QTimer::timeout, [&] {
            if (window->opening()) return;
            watch.stop();
            QByteArray bytes;
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::WriteOnly);
            window->grab().save(&buffer, "PNG");
            if (!writeFileAtomic(png, bytes)) {
                printLine(stderr, QStringLiteral("nebu: cannot write ") + png);
                status = 1;
            }
            window->close();
        });
        watch.start(100);
    }
    const int result = QApplication::exec();
    return status ? status : result;
}

} // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && std::strcmp(argv[1], "view") == 0) {
        QString target, png;
        int depth = -1;
        for (int i = 2; i < argc; ++i) {
            const QString a = decodeFileName(argv[i]);
            if (a == u"--depth" && i + 1 < argc) depth = QString::fromLocal8Bit(argv[++i]).toInt();
            else if (a == u"--png" && i + 1 < argc) png = decodeFileName(argv[++i]);
            else if (target.isEmpty() && !a.startsWith(u'-')) target = a;
            else return usage();
        }
        if (target.isEmpty() || (depth != -1 && (depth < 1 || depth > 999))) return usage();
        return view(argc, argv, target, depth, png);
    }
    QCoreApplication app(argc, argv);
    // Straight from argv, so a path that is not UTF-8 keeps its bytes.
    QStringList args;
    for (int i = 1; i < argc; ++i) args.append(decodeFileName(argv[i]));
    if (args.isEmpty()) return usage();
    const QString command = args.takeFirst();

    int depth = -1;
    QString output;
    QString target;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == u"--depth" && i + 1 < args.size()) {
            bool ok = false;
            depth = args[++i].toInt(&ok);
            if (!ok || depth < 1 || depth > 999) {
                std::fprintf(stderr, "nebu: --depth needs a number from 1 to 999\n");
                return 2;
            }
        } else if (a == u"-o" && i + 1 < args.size()) {
            output = args[++i];
        } else if (target.isEmpty() && !a.startsWith(u'-')) {
            target = a;
        } else {
            return usage();
        }
    }
    if (target.isEmpty()) return usage();

    RecordingCheckSink sink;
    sink.echo = [](const RecordingCheckSink::Record& r) { printLine(stderr, QStringLiteral("nebu: ") + r.caption + QStringLiteral(": ") + r.text); };
    ScopedCheckSink installed(&sink);

    UniverseModel model(QStringLiteral("/"), QDir::currentPath() + u'/');
    treeInfo& tree = model.tree();
    TerminalProgress progress;
    if (isatty(STDERR_FILENO)) model.setProgress(&progress);

    if (command == u"clones" && !equalsCaseless(QStringView(target).right(5), u".nebu")) {
        tree.searchDepth = depth > 0 ? depth : 999;
        model.setBreakPoll(&interruption);
        std::signal(SIGINT, interrupt);
        const int result = model.scanUniverse(absolute(target));
        if (result == 0) return 130;
        if (result < 0 || tree.scanState < 0) return 1;
        tree.sumSizes();
        const int status = printClones(tree);
        std::signal(SIGINT, SIG_DFL);
        return status;
    }
    if (command == u"scan") {
        tree.searchDepth = depth > 0 ? depth : 999;
        model.setBreakPoll(&interruption);
        std::signal(SIGINT, interrupt);
        const int result = model.scanUniverse(absolute(target));
        std::signal(SIGINT, SIG_DFL);
        if (result == 0) return 130; // broken: a partial tree is not written
        if (result < 0 || tree.scanState < 0) return 1;
        tree.sumSizes();
        if (!output.isEmpty() && !writeConstellation(tree, output)) return 1;
        printStats(tree);
        return 0;
    }
    if (command != u"show" && command != u"stats" && command != u"clones") return usage();
    if (!readConstellation(tree, target.contains(u':') ? target : absolute(target), nullptr)) return 1;
    const bool clean = sink.records.empty();
    if (command == u"clones") {
        std::signal(SIGINT, interrupt);
        const int status = printClones(tree);
        return status ? status : clean ? 0 : 1;
    }
    if (command == u"stats") {
        printStats(tree);
        return clean ? 0 : 1;
    }
    TreeView view;
    view.displayDepth = depth > 0 ? depth : qMax(1, tree.searchDepth);
    layoutTree(tree, view);
    writeTreeImage(tree, view, TreeImageStyle{}, [](const QString& line) { printLine(stdout, line); });
    return clean ? 0 : 1;
}
