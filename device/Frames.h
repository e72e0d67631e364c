#pragma once
// Request and reply frames of the serial link.
//
// Assumptions of the reply parser: a reply starts at the first byte received
// after the request (the accumulator is cleared before every request); byte 0
// is 0x7E (short frame, total length in byte 1) or 0x14 (long frame, total
// length big-endian in bytes 2..3); the last byte is Crc8 over all before it.
// Requests write only their own bytes: bytes of TxBuffer they do not name go
// out as the buffer holds them.
#include <cstdint>
#include <optional>

namespace device {

inline constexpr std::uint8_t FRAME_SHORT = 0x7E;
inline constexpr std::uint8_t FRAME_LONG = 0x14;

inline constexpr std::uint8_t CMD_READ_PAGE = 2;
inline constexpr std::uint8_t CMD_READ_STATS = 3;
inline constexpr std::uint8_t CMD_READ_SECTOR = 4;
inline constexpr std::uint8_t CMD_IDENTIFY = 0x52;
inline constexpr std::uint8_t CMD_WRITE_CONFIG = 0x57;

inline constexpr std::uint8_t FW_ACK = 0x11;
inline constexpr std::uint8_t FW_RETRY = 0x22;
inline constexpr std::uint8_t FW_WRONG_DEVICE = 0x40;

inline constexpr int IdentifyRequestLength = 10;
inline constexpr int LongRequestLength = 9;
inline constexpr int DeviceConfigSize = 150;
inline constexpr int WriteConfigRequestLength = 3 + DeviceConfigSize + 1;  // 154
// The least lengths of the replies whose length the instrument may choose:
// identification up to the end of the settings block and its companion word,
// statistics up to the last field read (42..43); each with its check byte.
inline constexpr int IdentifyReplyLength = 159;
inline constexpr int StatsReplyLength = 45;
inline constexpr int PageReplyLength = 261;
inline constexpr int SectorReplyLength = 4101;
inline constexpr int ShortAnswerLength = 4;  // header, length, command, check byte

// Writes bytes 0..4 and the check byte 9 (over 0..8 as the buffer holds them).
void BuildIdentifyRequest(std::uint8_t* tx);
// Writes bytes 0..7 of a long request with a 32-bit little-endian parameter.
void BuildAddressRequest(std::uint8_t* tx, std::uint8_t command, std::uint32_t address);
// Writes bytes 0..4 of the statistics request.
void BuildStatsRequest(std::uint8_t* tx, std::uint8_t flightIndex);
// Writes the whole settings-write frame (short frame, command 0x57, the 150
// bytes, check byte); returns its length.
int BuildWriteConfigRequest(std::uint8_t* tx, const std::uint8_t* config);

// Length field of a received frame: -1 when byte 0 is no frame header.
int FrameLength(const std::uint8_t* rx);
// True when Crc8 over bytes 0..length-2 equals byte length-1.
bool FrameCheckOk(const std::uint8_t* rx, int length);
// What answers a request: a frame of this kind and a length in this range.
// The instrument may put anything in byte 1 of a long reply, so no command is
// looked for there; only the settings write's short answer names its command
// (byte 2). What no shape tells apart, such as a late identification reply at
// a statistics request, the worker keeps off the line by waiting for it to
// fall quiet.
struct TReplyShape {
    std::uint8_t header = 0;  // FRAME_SHORT or FRAME_LONG
    int minLength = 0;
    int maxLength = 0;
    int shortCommand = -1;  // byte 2 of a short frame; -1: not examined
};
inline constexpr int MaxShortLength = 255;
inline constexpr int MaxLongLength = 65535;
inline constexpr TReplyShape IdentifyReply{FRAME_LONG, IdentifyReplyLength, MaxLongLength};
// Any sound short frame answers identification; it names no model.
inline constexpr TReplyShape IdentifyShortReply{FRAME_SHORT, 1, MaxShortLength};
inline constexpr TReplyShape StatsReply{FRAME_LONG, StatsReplyLength, MaxLongLength};
inline constexpr TReplyShape PageReply{FRAME_LONG, PageReplyLength, PageReplyLength};
inline constexpr TReplyShape SectorReply{FRAME_LONG, SectorReplyLength, SectorReplyLength};
inline constexpr TReplyShape WriteConfigReply{FRAME_SHORT, ShortAnswerLength, ShortAnswerLength,
                                              CMD_WRITE_CONFIG};

// True when the whole frame in rx (its length already checked against what
// arrived) has that shape.
bool ReplyHasShape(const std::uint8_t* rx, const TReplyShape& shape);
// True when the frame in rx answers the request in tx: identification, the
// long requests and the settings write each take their own shape only. A
// prepared frame of any other command takes any frame, as it always has.
bool ReplyAnswers(const std::uint8_t* tx, const std::uint8_t* rx);

// Model number of an identification reply, 0 when unknown or not a long frame.
std::uint16_t ReplyModel(const std::uint8_t* rx);
// The model number the reply names, known to the table or not; none in a
// short reply.
std::optional<std::uint16_t> ReplyModelNumber(const std::uint8_t* rx);

// Firmware images are a chain of blocks, each a 16-bit big-endian count and
// that many bytes. True when the blocks of image[0..length) end exactly at
// length.
bool BlockChainIsWhole(const std::uint8_t* image, int length);

inline std::uint16_t LE16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
inline std::uint32_t LE32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

}  // namespace device
