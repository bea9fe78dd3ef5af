// Byte-path helpers shared by the platform layer's own files (not for other subsystems): paths
// as the file system stores them, so that names which are not valid UTF-8 survive.
#pragma once

#include <QByteArray>
#include <QString>

// The on-disk bytes of a path (encodeFileName: escaped bytes go back as they were).
QByteArray nativePath(const QString& path);
// Splits a path into its folder ("." for a bare name, "/" at the top) and last name; trailing
// "/" are ignored. Cost: linear.
void splitNative(const QByteArray& path, QByteArray& folder, QByteArray& name);
// Creates the folder and its missing parents; true when it is a folder afterwards.
bool makeFoldersNative(const QByteArray& path);
// folder + "/" + name (no doubled "/").
QByteArray joinNative(const QByteArray& folder, const QByteArray& name);
// Rename that never replaces; 0 or an errno value (EXDEV across file systems).
int renameNative(const QByteArray& from, const QByteArray& to);
// Recursive delete without following links; 0 or the first errno value.
int eraseNative(const QByteArray& path);
// Recursive copy to a target that must not exist; 0 or the first errno value (partial target left).
int copyNative(const QByteArray& from, const QByteArray& to);
