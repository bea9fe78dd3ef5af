#include "Platform.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <sys/stat.h>

bool fileExists(const QString& path) {
    struct stat st{};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool dirExists(const QString& path) {
    struct stat st{};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool makeFolders(const QString& path) { return QDir().mkpath(path) && dirExists(path); }

bool readFileBytes(const QString& path, QByteArray& bytes, qint64 maxBytes) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return false;
    if (f.size() > maxBytes) return false;
    QByteArray data = f.readAll();
    if (f.error() != QFile::NoError) return false;
    bytes = std::move(data);
    return true;
}

QByteArray readFileHead(const QString& path, qint64 count) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.read(count);
}

bool writeFileAtomic(const QString& path, const QByteArray& bytes) {
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly)) return false;
    if (f.write(bytes) != bytes.size()) {
        f.cancelWriting();
        return false;
    }
    return f.commit();
}
