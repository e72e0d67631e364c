#pragma once
// A recorded session played back: the requests the program sent and what the
// instrument answered to each, read from a transcript (the program's own
// --transcript record, or the simulator's). Played by TSimulator::SetReplay,
// it lets a pilot's report of a real instrument's traffic be run again
// against today's program.
#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

namespace sim {

struct TExchange {
    std::vector<std::uint8_t> request;  // a request frame or firmware block
    std::vector<std::uint8_t> reply;    // every byte received until the next request
};

// Lines "[TIME ]> HEX" start an exchange (those that follow it before any
// reply add to its request), "[TIME ]< HEX" add to its reply;
// "!" lines (input the simulator dropped), blank lines and bytes received
// before the first request are skipped. Empty result and `error` set when a
// line is neither, or its hex does not read.
std::optional<std::vector<TExchange>> ReadTranscript(const QByteArray& text, QString* error);

}  // namespace sim
