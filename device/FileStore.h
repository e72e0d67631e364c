#pragma once
// Every file the program reads from a name the user gave, and every file it
// writes, goes through here.
//
// Reading: only a regular file is opened. A folder, a FIFO, a device or a
// socket is refused before anything could block on it, and checked again on
// the open descriptor so that a file swapped in between is refused as well.
//
// Writing: the bytes go to a temporary file beside the target, every write
// checked, then flushed to the disk (fsync); only then does the temporary
// file replace the target by one rename, so that the name always shows the
// old or the new file. Whatever fails, the old file is left as it was and
// the temporary file is removed. Errors are device::TAppError naming the
// file and the system's reason.
//
// A symbolic link at the name is followed only when the link and the file
// it leads to belong to the user running the program; a dangling link, a
// link to a link and a file the user may not write are refused, never
// replaced. While files are put in place, the signals that end a program
// (interrupt, terminate, hang-up) wait for the end. Temporary files that an
// ended program left in a folder are removed at the next write there.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

namespace device {

// Up to `maxBytes` of the regular file at `path` (symbolic links followed).
QByteArray ReadRegularFile(const QString& path, qint64 maxBytes);

// A file name as the system holds it, and back. On POSIX a name is bytes
// that need not be UTF-8 (cp1251 or cp866 names from unzipped Windows
// archives): each byte that is not UTF-8 becomes one of the lone surrogates
// U+DC80 to U+DCFF, so that the name leads back to the same file. On Windows
// these are QFile's own.
QString DecodeName(const QByteArray& name);
QByteArray EncodeName(const QString& path);
// The name for a message: the system's separators, and each byte that is
// not UTF-8 as "\xNN".
QString ShownName(const QString& path);

struct TFolderEntry {
    QString path;  // the folder's path, '/', the entry's name
    bool folder = false;
};
// The entries of the folder `path` (no "." or ".."), by the names the system
// holds; a link to a folder is not taken for a folder. Throws TAppError
// naming the folder when it cannot be read.
std::vector<TFolderEntry> FolderEntries(const QString& path);
// Whether `path` is a folder, links followed.
bool IsFolder(const QString& path);

// Throws the error a write to `path` would end with before any byte is
// written: a link that is not followed, a folder, a special file, a file
// the user may not write.
void CheckWritable(const QString& path);

// Replaces (or creates) the file at `path` with `bytes`.
void WriteFileSafely(const QString& path, QByteArrayView bytes);

struct TFileToWrite {
    QString path;
    QByteArray bytes;
};
// Writes a set of files that belong together: all of them are written to
// temporary files first and put in place only when every one was written,
// each by a rename over its old file. On a failure none of the targets
// changes, and the error names the file that failed.
void WriteFilesSafely(const std::vector<TFileToWrite>& files);

// The process id of the writer that left the file `name` (a name without its
// folder) when it is one of the temporary or old files the writer makes;
// nothing for any other name. A later write removes those whose writer has
// ended.
std::optional<qint64> TemporaryFileWriter(const QString& name);

// The system calls the writer makes, replaceable so that tests can make any
// step fail as a full or broken disk would. Each returns 0 (or the count
// written, or a descriptor) on success and -1 with the system's reason in
// `reason` on failure.
struct TFileCalls {
    // Creates a new file that must not exist yet; returns a descriptor.
    std::intptr_t (*create)(const QString& path, QString& reason);
    long long (*write)(std::intptr_t file, const char* data, long long size, QString& reason);
    int (*sync)(std::intptr_t file, QString& reason);
    int (*close)(std::intptr_t file, QString& reason);
    // Moves `from` over `to`, replacing it.
    int (*replace)(const QString& from, const QString& to, QString& reason);
    // Gives an existing file a second name (the old file of a set, kept
    // until the whole set is in place).
    int (*keep)(const QString& existing, const QString& second, QString& reason);
};
// The calls in use; the system's own unless a test has replaced them.
const TFileCalls& FileCalls();
// Replaces them (nullptr restores the system's); for tests.
void SetFileCalls(const TFileCalls* calls);
// The system's own calls, for a test that fails only some of them.
const TFileCalls& SystemFileCalls();

}  // namespace device
