#pragma once
// A record of the traffic on the port for a bug report: every byte sent and
// every batch received, one line each, in the simulator's transcript form
// preceded by the local time:
//   2025-06-01T10:15:30.123 > 7E 0A 00 00 00 00 00 00 00 5C
//   2025-06-01T10:15:30.245 < 14 00 00 9E ...
// The file is opened once and each line is flushed as it is written, so that
// the record survives a crash of the program.
#include <QFile>
#include <QString>
#include <cstdint>
#include <mutex>

namespace serial {

class TTranscript {
  public:
    enum TDirection : char { Sent = '>', Received = '<' };

    TTranscript() = default;
    TTranscript(const TTranscript&) = delete;
    TTranscript& operator=(const TTranscript&) = delete;

    // Appends to `path`, creating it; false (with the reason in Error()) when
    // the file cannot be opened or is not a regular file (a FIFO would block
    // the program, a device would swallow the record).
    bool Open(const QString& path);
    bool IsOpen() const;
    QString Error() const;
    // True once a line could not be written whole; Error() then says why.
    bool Incomplete() const;
    QString FileName() const;

    // Safe from any thread: sends come from the worker, batches from the
    // polling thread.
    void Record(TDirection direction, const std::uint8_t* data, std::uint32_t size);

    // One line without its line end, for the given time stamp text.
    static QByteArray Line(const QByteArray& time, TDirection direction, const std::uint8_t* data,
                           std::uint32_t size);

  private:
    mutable std::mutex m_;
    QFile file_;
    QString error_;
    bool incomplete_ = false;
};

}  // namespace serial
