// Other programs: the desktop's handler for files and addresses, and programs started with an
// argument list that the program may end later.
#include "Platform.h"

#include "FileNameCodec.h"
#include "PlatformNative.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QUrl>

#include <cstdlib>
#include <map>
#include <memory>
#include <unistd.h>

namespace {

constexpr int kStartWaitMs = 5000;
constexpr int kEndWaitMs = 1000;

struct Started {
    std::map<int, std::unique_ptr<QProcess>> processes;
    int nextHandle = 1;
    bool endsWithApplication = false;
};

Started& started() {
    static Started s;
    return s;
}

void endNow(QProcess& p) {
    if (p.state() == QProcess::NotRunning) return;
    p.terminate(); // the polite request, as a window's close would be
    if (p.waitForFinished(kEndWaitMs)) return;
    p.kill();
    p.waitForFinished(kEndWaitMs);
}

// Runs while the application object ends: a QProcess must not outlive it.
void endAllStarted() {
    for (auto& [handle, process] : started().processes)
        endNow(*process);
    started().processes.clear();
}

// The program that stands for the Windows browser "iexplore.exe": the first entry of $BROWSER
// (when it is a plain program name), else Debian's x-www-browser, else the desktop's opener.
QString programFor(const QString& program) {
    const QString name = QFileInfo(program).fileName();
    if (name.compare(QLatin1String("notepad.exe"), Qt::CaseInsensitive) == 0 ||
        name.compare(QLatin1String("notepad"), Qt::CaseInsensitive) == 0) {
        // The desktop's plain text editors, the first one installed; else the desktop's opener.
        for (const char* editor : {"gnome-text-editor", "gedit", "mousepad", "kate", "kwrite", "pluma", "xed", "featherpad", "leafpad"}) {
            const QString path = QStringLiteral("/usr/bin/") + QLatin1String(editor);
            if (fileExists(path)) return path;
        }
        return QStringLiteral("xdg-open");
    }
    if (name.compare(QLatin1String("iexplore.exe"), Qt::CaseInsensitive) != 0 &&
        name.compare(QLatin1String("iexplore"), Qt::CaseInsensitive) != 0)
        return program;
    const QString browser = qEnvironmentVariable("BROWSER").section(u':', 0, 0).trimmed();
    if (!browser.isEmpty() && !browser.contains(u'%') && !browser.contains(u' ')) return browser;
    if (fileExists(QStringLiteral("/usr/bin/x-www-browser"))) return QStringLiteral("/usr/bin/x-www-browser");
    return QStringLiteral("xdg-open");
}

// The address of a local file made from its bytes: a name that is not UTF-8 travels as %XX,
// which the desktop's opener turns back into the same bytes.
QUrl localFileUrl(QByteArray native) {
    if (!native.startsWith('/')) {
        char* cwd = ::getcwd(nullptr, 0);
        if (cwd) native = joinNative(QByteArray(cwd), native);
        std::free(cwd);
    }
    return QUrl::fromEncoded("file://" + native.toPercentEncoding("/"));
}

} // namespace

bool openWithSystem(const QString& pathOrUrl) {
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
    const bool fileUrl = pathOrUrl.startsWith(QLatin1String("file:"), Qt::CaseInsensitive);
    if (scheme.match(pathOrUrl).hasMatch() && !fileUrl) {
        const QUrl url(pathOrUrl, QUrl::TolerantMode);
        return url.isValid() && QDesktopServices::openUrl(url);
    }
    const QByteArray native =
        fileUrl ? QByteArray::fromPercentEncoding(QUrl(pathOrUrl).path(QUrl::FullyEncoded).toLatin1())
                : nativePath(pathOrUrl);
    const QString local = decodeFileName(native);
    if (native.isEmpty() || (!fileExists(local) && !dirExists(local))) return false;
    const QUrl url = localFileUrl(native);
    return url.isValid() && QDesktopServices::openUrl(url);
}

int startProcess(const QString& program, const QStringList& arguments) {
    if (program.isEmpty()) return 0;
    Started& s = started();
    if (!s.endsWithApplication && QCoreApplication::instance()) {
        qAddPostRoutine(endAllStarted);
        s.endsWithApplication = true;
    }
    auto process = std::make_unique<QProcess>();
    process->setProgram(programFor(program));
    process->setArguments(arguments);
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    process->setStandardInputFile(QProcess::nullDevice());
    process->start();
    if (!process->waitForStarted(kStartWaitMs)) return 0;
    const int handle = s.nextHandle++;
    s.processes.emplace(handle, std::move(process));
    return handle;
}

void endProcess(int handle) {
    auto& processes = started().processes;
    const auto it = processes.find(handle);
    if (it == processes.end()) return;
    endNow(*it->second);
    processes.erase(it);
}

bool processRunning(int handle) {
    auto& processes = started().processes;
    const auto it = processes.find(handle);
    if (it == processes.end()) return false;
    // Without an event loop the end of the process is noticed only when asked for.
    if (it->second->state() == QProcess::Running) it->second->waitForFinished(0);
    return it->second->state() == QProcess::Running;
}
