#pragma once
// The calls the file store needs from the operating system, one file per
// platform (FileSystemPosix.cpp, FileSystemWin.cpp), chosen by the build.
// Not for other users: everything else goes through FileStore.h.
#include <QByteArray>
#include <QString>
#include <cstdint>

#include "device/AppError.h"
#include "device/FileStore.h"

namespace device::filesystem {

// Each returns a descriptor, a count or 0 on success, and -1 with the
// system's reason on failure.
std::intptr_t SystemCreate(const QString& path, QString& reason);
long long SystemWrite(std::intptr_t file, const char* data, long long size, QString& reason);
int SystemSync(std::intptr_t file, QString& reason);
int SystemClose(std::intptr_t file, QString& reason);
int SystemReplace(const QString& from, const QString& to, QString& reason);
// A second name for an existing file: a hard link, or a copy where the file
// system has no links.
int SystemKeep(const QString& existing, const QString& second, QString& reason);

// Gives the new file `temporary` the permissions of the file `existing` it
// will replace, and its owner when the program may (run as root), so that
// a replaced file stays the user's. Nothing is changed on `existing`.
void TakeOwnerAndMode(const QString& existing, const QString& temporary);

// The file that writing to `path` replaces: `path` itself, or the file a
// symbolic link there leads to when the link and that file both belong to
// the user running the program. A dangling link, a link to a link, a link
// of another user, a folder, a special file and a file the user may not
// write are refused with WriteError naming `path`.
QString WriteTarget(const QString& path);

// Up to `maxBytes` of a regular file, refused without blocking when `path`
// is anything else. Throws TAppError.
QByteArray ReadRegular(const QString& path, qint64 maxBytes);

// See FileStore.h.
QByteArray EncodeName(const QString& path);
QString DecodeName(const QByteArray& name);
std::vector<TFolderEntry> FolderEntries(const QString& path);
bool IsFolder(const QString& path);

// This process's id, written into the names of its temporary files, and
// whether the process of such an id has ended.
std::int64_t CurrentProcess();
bool ProcessGone(std::int64_t id);

// Between the two calls the signals that end a program from a terminal or
// a session (interrupt, terminate, hang-up) wait; the release delivers one
// that came meanwhile. Calls of several threads take turns.
void HoldEndSignals();
void ReleaseEndSignals();

// The texts of the store, shared by its platform files.
TAppError OpenError(const QString& path, const QString& reason);
TAppError ReadError(const QString& path, const QString& reason);
TAppError WriteError(const QString& path, const QString& reason);
QString FolderReason();
QString NotRegularReason();
QString DanglingLinkReason();
QString LinkChainReason();
QString ForeignLinkReason();
QString ReadOnlyReason();
QString ErrnoReason(int code);

}  // namespace device::filesystem
