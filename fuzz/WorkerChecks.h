#pragma once
// Any bytes served as the instrument's replies to the real worker, with the
// port's system calls replaced by a fake instrument that answers every
// request from the input. Shared by the libFuzzer target and the corpus
// replay test, so both check the same things:
//   - the worker always ends and lets go of the port;
//   - the statuses come in a sane order (the port first, nothing after the
//     final one), progress counts rise by one up to the limits, firmware
//     percentages are even and rising;
//   - every list entry carries its own kind byte;
//   - the GPX file the lists lead to parses;
//   - no reply of another kind or length is taken, nor the reply to an
//     earlier request sent again whose sector header names another sector
//     (unless it came twice in a row); the protocol tells replies apart by
//     nothing else, byte 1 of a long reply being free.
//
// Input: byte 0 picks the operation (identify, statistics, page, sector
// download, page download, firmware), bytes 1..2 its parameter; the rest is
// a sequence of replies, each led by a mode byte: raw bytes, a sector or page
// frame built around the request's address (so that the check byte and the
// address can be right), or a frame around raw bytes, each frame with the
// request's command or one from the input; the last reply sent again; or the
// device vanishing instead.
#include <cstddef>
#include <cstdint>

namespace fuzz {

// Needs a QCoreApplication on this thread. Returns nullptr when every
// property held, otherwise what broke.
const char* CheckWorkerReplies(const std::uint8_t* data, std::size_t size);

}  // namespace fuzz
