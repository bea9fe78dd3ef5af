#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

QString TempFolder::write(const QString& name, const QByteArray& bytes) const {
    const QString full = file(name);
    QDir().mkpath(QFileInfo(full).path());
    QFile f(full);
    if (!f.open(QIODevice::WriteOnly)) return {};
    f.write(bytes);
    return full;
}
