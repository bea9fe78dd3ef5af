// The platform layer: the only place that touches the file system, drives, the desktop shell,
// the trash and other processes. Paths are QStrings with "/" separators; file names that are
// not valid UTF-8 on disk carry their bytes as escapes (FileNameCodec.h), so every function here
// reaches the same file with a name it listed.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <ctime>
#include <vector>

// Attribute bits of a folder entry.
enum FileAttribute : uint32_t {
    AttrReadOnly = 0x01, // no write bit for anyone
    AttrHidden = 0x02,   // name starts with "."
    AttrSystem = 0x04,   // FIFO, socket or device
    AttrDirectory = 0x10,
    AttrArchive = 0x20, // regular file
    AttrLink = 0x400,   // symbolic link, never followed
};

struct FolderEntry {
    QString name;
    uint32_t attributes = 0;
    uint64_t size = 0;        // apparent size; for a link, the length of the link text
    std::time_t modified = 0; // modification time, seconds since the epoch
    uint64_t device = 0;      // file system the entry lives on (a scan never crosses it)
};

// Lists a folder without "." and "..", sorted by case-folded name then bytes, so the result never
// depends on the file system's hash order. Links are reported, not followed. False when the folder
// cannot be read. Cost: one stat per entry, O(n log n) sort.
bool listFolder(const QString& folder, std::vector<FolderEntry>& entries);

// A folder held open by its descriptor, for walks that must never leave the tree they started in:
// a child is opened relative to its parent, refusing links, so no path length limit applies and a
// folder swapped for a link while the walk runs is never entered. Not copyable; closes itself.
class FolderHandle {
public:
    FolderHandle() = default;
    // Opens a start folder by path (a link given as the start is followed, as the user named it).
    explicit FolderHandle(const QString& path);
    ~FolderHandle();
    FolderHandle(FolderHandle&& other) noexcept;
    FolderHandle& operator=(FolderHandle&& other) noexcept;
    FolderHandle(const FolderHandle&) = delete;
    FolderHandle& operator=(const FolderHandle&) = delete;

    bool ok() const { return fd_ >= 0; }
    // The folder `name` inside this one; not ok() when it is missing, unreadable, not a folder or
    // a link (never followed). Cost: one system call.
    FolderHandle openChild(const QString& name) const;
    // The folder's own entry (as statPath gives it). False when it cannot be read.
    bool stat(FolderEntry& self) const;
    // The entries, as listFolder gives them. False when the folder cannot be read.
    // Cost: getdents64 in 64 KiB pieces, one statx per entry asking only for type, mode, size and
    // modification time, O(n log n) sort.
    bool list(std::vector<FolderEntry>& entries) const;

private:
    explicit FolderHandle(int fd) : fd_(fd) {}
    int fd_ = -1;
};

// Stat of one path without following a final link. False when it does not exist.
bool statPath(const QString& path, FolderEntry& entry);

// A local location made absolute against the working directory, so that a program or home folder
// given relative to it keeps meaning the same place ("" is the working directory itself, a final
// "/" stays). An absolute path, a drive path or an http location comes back as it is. Cost: one
// system call.
QString absoluteLocation(const QString& location);

bool fileExists(const QString& path);  // a file (not a folder) exists
bool dirExists(const QString& path);   // a folder exists; never shows a system box
bool makeFolders(const QString& path); // creates the folder and missing parents; true if it exists afterwards
// A path that does not start with "/" joined to the current folder, with "." and ".." resolved
// by text; a rooted path only cleaned. O(length).
QString absolutePath(const QString& path);

// Renames; never replaces an existing target (false then). Works for folders too; across file
// systems it fails (movePath copies instead). Cost: one system call (two on old file systems).
bool renameNoReplace(const QString& from, const QString& to);

// Why a file cannot be read. Only regular files are read: a FIFO, a device or a folder is refused
// on the open descriptor (opened without blocking) before anything waits on it.
enum class FileFault { None, Missing, Denied, NotRegular, TooLarge, Unreadable };

// The size past which a whole-file read refuses a file.
inline constexpr qint64 kMaxReadBytes = qint64(1) << 31;

// What stands in the way of reading `path` whole (None when nothing does). Opens and closes it
// without blocking. Cost: three system calls.
FileFault readableFault(const QString& path, qint64 maxBytes = kMaxReadBytes);
// The message text of a fault; `missingText`, when given, words Missing the reader's own way.
QString fileFaultText(FileFault fault, const QString& missingText = {});

// Whole-file reads; false / empty on failure (a file that is not regular or past maxBytes fails
// too; *fault says why). readFileHead reads at most `count` bytes. Cost: linear in the bytes read.
bool readFileBytes(const QString& path, QByteArray& bytes, qint64 maxBytes = kMaxReadBytes, FileFault* fault = nullptr);
QByteArray readFileHead(const QString& path, qint64 count);

// Writes the bytes to a temporary file in the same folder and renames it over the target, so a
// failed write never leaves a half-written target. A replaced file keeps its mode; a link is
// followed and its target written. False on any failure (the target unchanged). Cost: linear
// in the bytes, plus one fsync.
bool writeFileAtomic(const QString& path, const QByteArray& bytes);

// A local file read a piece at a time, so that a large file never has to be in memory whole.
class FileChunkReader {
public:
    // Opens the file; ok() tells whether that worked (only a regular file opens). Cost: four calls.
    explicit FileChunkReader(const QString& path);
    ~FileChunkReader();
    FileChunkReader(const FileChunkReader&) = delete;
    FileChunkReader& operator=(const FileChunkReader&) = delete;

    bool ok() const { return fd_ >= 0; }
    // Why it did not open (None when it did).
    FileFault fault() const { return fault_; }
    // The file's size when it was opened.
    qint64 size() const { return size_; }
    // Appends up to `count` bytes (fewer only at the end): the number appended, 0 at the end,
    // -1 on a read error. Cost: linear in the bytes.
    qint64 readInto(QByteArray& bytes, qint64 count);

private:
    int fd_ = -1;
    qint64 size_ = 0;
    FileFault fault_ = FileFault::None;
};

// writeFileAtomic for data made a piece at a time: pieces go to a temporary file next to the
// target (a link followed as there), and commit() renames it over the target. Dropping the writer
// without a commit removes the temporary file and leaves the target as it was.
class AtomicFileWriter {
public:
    // Opens the temporary file; ok() tells whether that worked. Cost: a few system calls.
    explicit AtomicFileWriter(const QString& path);
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    // False once anything failed.
    bool ok() const { return fd_ >= 0 && !failed_; }
    // Appends bytes (one write call for a large piece). False on failure.
    bool append(QByteArrayView bytes);
    // Drops everything appended so far, to start over. False on failure.
    bool restart();
    // Keeps a replaced file's mode, syncs and renames over the target, syncs the folder and
    // removes temporary files of the target's name that an interrupted save left. False on any
    // failure (the target unchanged). Cost: two fsyncs and a listing of the folder.
    bool commit();

private:
    void settleFolder() const;

    QByteArray target_;
    QByteArray temp_;
    int fd_ = -1;
    bool failed_ = false;
    bool replaces_ = false;
    uint32_t mode_ = 0;
};

// Copy and move of a file or a whole folder (recursive); never replace an existing target, never
// follow links (a link is copied as a link), keep modes and modification times. A folder is never
// copied or moved into itself. Return 0 when done, else an errno value; a failed copy removes
// the partial target it made, a failed move leaves the source whole. Cost: linear in the data.
int copyPath(const QString& from, const QString& to);
int movePath(const QString& from, const QString& to);

// Moves a file or folder to the trash (freedesktop.org trash: the home trash under
// $XDG_DATA_HOME/Trash for files on the home's file system, else $topdir/.Trash/$uid or
// $topdir/.Trash-$uid), with a unique name and its .trashinfo. Returns 0 when done, an errno value
// when it could not go to the trash; it never deletes for good instead. Cost: a rename.
int recycleFile(const QString& path);
// Deletes a file or folder (recursively, links not followed) for good. Returns 0 when done, else
// the errno value of the first failure. Cost: linear in the entries.
int eraseFile(const QString& path);

// Drive kinds as the chooser shows them.
enum class DriveKind { Unknown, Removable, Fixed, Remote, CdRom, RamDisk };
struct DriveInfo {
    QString root;   // mount point ending with "/" ("/" first in the list)
    QString device; // what is mounted there
    QString fsType;
    DriveKind kind = DriveKind::Unknown;
};
// Mounted real file systems from /proc/self/mountinfo, pseudo file systems left out, "/" first,
// and only those whose root is a folder (bind-mounted single files are not drives).
std::vector<DriveInfo> listDrives();
// The drives named by a mountinfo text: pseudo file systems and the kernel's own trees (/proc,
// /sys, /dev, /run except /run/media) left out, a mount point mounted over keeps its last entry,
// "/" first, then by mount point. Cost: linear in the text, O(n log n) sort.
std::vector<DriveInfo> parseMountInfo(const QByteArray& text);
// The kind of a file-system type name ("nfs" -> Remote, "iso9660" -> CdRom, "tmpfs" -> RamDisk, ...).
DriveKind driveKindOf(const QString& fsType);

// Opens a file, folder or URL ("scheme:..." with a scheme of two or more letters) with the
// desktop's handler. False for a local path that does not exist or when no handler took it.
bool openWithSystem(const QString& pathOrUrl);

// Starts a program with an argument list (never through a shell) and waits until it runs.
// "iexplore.exe" stands for the system's web browser ($BROWSER, x-www-browser or xdg-open),
// "notepad.exe" for the desktop's plain text editor (the first one installed, else xdg-open).
// Returns a handle > 0, or 0 when it could not start. Programs still running when the
// application object ends are ended then.
int startProcess(const QString& program, const QStringList& arguments);
// Ends a process started by startProcess (and only such a process): asks it to end (SIGTERM),
// after a second forces it; releases the handle. An unknown handle is ignored.
void endProcess(int handle);
// True while the process of the handle runs.
bool processRunning(int handle);
