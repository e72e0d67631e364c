#pragma once
// Firmware files (".enc"): hexadecimal digit pairs, nothing else, forming a
// chain of blocks (16-bit big-endian count, then count bytes) that must end
// exactly at the image's end.
#include <QString>
#include <cstdint>

#include "device/Frames.h"

namespace firmware {

enum class LoadResult {
    Ok,
    CannotOpen,   // the file could not be opened or read, or is no regular file
    Empty,        // the file holds nothing at all: nothing would be sent
    NotHex,       // odd digit count, line break, or any non-hex character
    TooLarge,     // more bytes than the transmit buffer holds
    BrokenChain,  // the blocks do not end exactly at the image's end
};

struct LoadOutcome {
    LoadResult result = LoadResult::CannotOpen;
    int length = 0;        // image bytes, valid with Ok
    QString systemReason;  // with CannotOpen: what failed, naming the file
};

// Parses `text` into dest[0..capacity); never writes past capacity. On any
// failure but Ok, dest may hold a prefix of the image and nothing may be sent.
LoadOutcome ParseFirmwareText(const QByteArray& text, std::uint8_t* dest, int capacity);
// Reads a regular file only (a FIFO or device would block) and refuses an
// empty one; the rest as ParseFirmwareText.
LoadOutcome LoadFirmwareFile(const QString& fileName, std::uint8_t* dest, int capacity);
// What the user is told when a file is refused ("Файл не найден" for a file
// that is not hex pairs, as the program has always said).
QString LoadRefusalText(const LoadOutcome& outcome);

}  // namespace firmware
