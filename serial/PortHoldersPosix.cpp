#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "serial/PortHolders.h"

namespace serial {

QStringList PortHolders(const QString& path) {
    const QString device = QFileInfo(path).canonicalFilePath();
    QStringList holders;
    if (device.isEmpty()) return holders;
    const QDir proc(QStringLiteral("/proc"));
    for (const QString& pid : proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool numeric = false;
        pid.toUInt(&numeric);
        if (!numeric) continue;
        // Another user's descriptors are hidden without privileges: skipped.
        const QDir fds(proc.filePath(pid + QStringLiteral("/fd")));
        bool holds = false;
        for (const QFileInfo& fd : fds.entryInfoList(QDir::Files | QDir::System)) {
            if (fd.symLinkTarget() == device) {
                holds = true;
                break;
            }
        }
        if (!holds) continue;
        QFile comm(proc.filePath(pid + QStringLiteral("/comm")));
        if (!comm.open(QIODevice::ReadOnly)) continue;
        const QString name = QString::fromLocal8Bit(comm.readAll()).trimmed();
        if (!name.isEmpty() && !holders.contains(name)) holders << name;
    }
    return holders;
}

}  // namespace serial
