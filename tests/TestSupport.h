// Helpers shared by the tests: temporary folders and small file writers.
#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// A fresh folder removed at the end of the test; path() ends without "/".
class TempFolder {
public:
    TempFolder() { dir_.setAutoRemove(true); }
    QString path() const { return dir_.path(); }
    QString file(const QString& name) const { return dir_.path() + "/" + name; }
    // Writes raw bytes to name (creating parent folders); returns the full path.
    QString write(const QString& name, const QByteArray& bytes) const;

private:
    QTemporaryDir dir_;
};
