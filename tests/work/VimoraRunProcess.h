// Runs the built vimora-run as a separate process, as a user or a script would, and reads the
// state it wrote.
#pragma once

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStringList>

struct VimoraRunOutcome {
    int exitCode = -1;
    QString out;
};

// Runs vimora-run with the arguments, in `workingDirectory` when one is given, and waits for it
// (5 minutes at most). A crash gives -1.
inline VimoraRunOutcome vimoraRun(const QStringList& arguments, const QString& workingDirectory = {}) {
    QProcess p;
    if (!workingDirectory.isEmpty()) p.setWorkingDirectory(workingDirectory);
    p.start(QStringLiteral(VIMORA_RUN_PATH), arguments);
    p.waitForFinished(300000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput())};
}

// The JSON state written by --state FILE; empty when the file is missing or malformed.
inline QJsonObject readRunState(const QString& file) {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QJsonDocument::fromJson(f.readAll()).object();
}

// The "game" object of the first character that has one.
inline QJsonObject firstGame(const QJsonObject& state) {
    for (const QJsonValue& c : state[QStringLiteral("characters")].toArray())
        if (c.toObject().contains(QStringLiteral("game"))) return c.toObject()[QStringLiteral("game")].toObject();
    return {};
}
