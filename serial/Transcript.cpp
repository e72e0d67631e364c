#include "serial/Transcript.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>

namespace serial {

bool TTranscript::Open(const QString& path) {
    std::lock_guard lock(m_);
    file_.close();
    file_.setFileName(path);
    incomplete_ = false;
    // Links are followed: only what they lead to counts.
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) {
        error_ = QCoreApplication::translate("serial", "не обычный файл");
        return false;
    }
    // Appended, as the simulator does, so that an earlier record is never lost.
    if (file_.open(QIODevice::WriteOnly | QIODevice::Append)) {
        error_.clear();
        return true;
    }
    error_ = file_.errorString();
    return false;
}

bool TTranscript::IsOpen() const {
    std::lock_guard lock(m_);
    return file_.isOpen();
}

QString TTranscript::Error() const {
    std::lock_guard lock(m_);
    return error_;
}

bool TTranscript::Incomplete() const {
    std::lock_guard lock(m_);
    return incomplete_;
}

QString TTranscript::FileName() const {
    std::lock_guard lock(m_);
    return file_.fileName();
}

QByteArray TTranscript::Line(const QByteArray& time, TDirection direction, const std::uint8_t* data,
                             std::uint32_t size) {
    QByteArray line;
    line.reserve(time.size() + 2 + 3 * qsizetype(size));
    line += time;
    line += ' ';
    line += char(direction);
    static const char digits[] = "0123456789ABCDEF";
    for (std::uint32_t i = 0; i < size; ++i) {
        line += ' ';
        line += digits[data[i] >> 4];
        line += digits[data[i] & 15];
    }
    return line;
}

void TTranscript::Record(TDirection direction, const std::uint8_t* data, std::uint32_t size) {
    if (size == 0) return;
    const QByteArray time =
        QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzz")).toLatin1();
    const QByteArray line = Line(time, direction, data, size) + '\n';
    std::lock_guard lock(m_);
    if (!file_.isOpen() || incomplete_) return;
    // A record with a hole in it would mislead: it stops at the first failure.
    if (file_.write(line) != line.size() || !file_.flush()) {
        incomplete_ = true;
        error_ = file_.errorString();
    }
}

}  // namespace serial
