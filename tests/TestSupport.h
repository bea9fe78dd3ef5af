// Helpers shared by the tests: temporary folders and small file writers.
#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QString>
#include <QTemporaryDir>
#include <QThread>

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

// Lets the event loop and its timers run until `done` holds or `ms` milliseconds pass; returns
// whether it held.
template <typename Done>
bool pumpUntil(Done done, int ms = 10000) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(2);
    }
    return done();
}
