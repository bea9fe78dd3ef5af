// Byte-path helpers shared by the platform layer's own files (not for other subsystems): paths
// as the file system stores them, so that names which are not valid UTF-8 survive.
#pragma once

#include <QByteArray>
#include <QString>

// The on-disk bytes of a path.
QByteArray nativePath(const QString& path);
// folder + "/" + name (no doubled "/").
QByteArray joinNative(const QByteArray& folder, const QByteArray& name);
// Rename that never replaces; 0 or an errno value (EXDEV across file systems).
int renameNative(const QByteArray& from, const QByteArray& to);
// Recursive delete without following links; 0 or the first errno value.
int eraseNative(const QByteArray& path);
// Recursive copy to a target that must not exist; 0 or the first errno value (partial target left).
int copyNative(const QByteArray& from, const QByteArray& to);
