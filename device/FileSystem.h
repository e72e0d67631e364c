#pragma once
// The calls the file store needs from the operating system, one file per
// platform (FileSystemPosix.cpp, FileSystemWin.cpp), chosen by the build.
// Not for other users: everything else goes through FileStore.h.
#include <QByteArray>
#include <QString>
#include <cstdint>

#include "device/AppError.h"

namespace device::filesystem {

// Each returns a descriptor, a count or 0 on success, and -1 with the
// system's reason on failure.
std::intptr_t SystemCreate(const QString& path, QString& reason);
long long SystemWrite(std::intptr_t file, const char* data, long long size, QString& reason);
int SystemSync(std::intptr_t file, QString& reason);
int SystemClose(std::intptr_t file, QString& reason);
int SystemReplace(const QString& from, const QString& to, QString& reason);

// Up to `maxBytes` of a regular file, refused without blocking when `path`
// is anything else. Throws TAppError.
QByteArray ReadRegular(const QString& path, qint64 maxBytes);

// The texts of the store, shared by its platform files.
TAppError OpenError(const QString& path, const QString& reason);
TAppError ReadError(const QString& path, const QString& reason);
QString FolderReason();
QString NotRegularReason();
QString ErrnoReason(int code);

}  // namespace device::filesystem
