#include "fuzz/FuzzChecks.h"

#include <QByteArray>
#include <algorithm>
#include <cstring>
#include <memory>

#include "device/AppError.h"
#include "device/Frames.h"
#include "firmware/FirmwareImage.h"
#include "models/UnitFileIO.h"
#include "serial/BCC.h"

namespace fuzz {

namespace {
constexpr int kMaxModel = 105;
constexpr std::uint8_t kUntouched = 0xA5;
constexpr int kFirmwareCapacity = 122881;  // the transmit buffer

QByteArray Bytes(const std::uint8_t* data, std::size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

// The file as the saver must see it: its first 4096 bytes, zeros after them.
struct FileView {
    const std::uint8_t* data;
    int read;
    int At(long offset) const { return offset >= 0 && offset < read ? data[offset] : 0; }
};

// One ReadBlock call, checked against the file itself rather than Data.
const char* CheckOneBlock(models::TFileIOSaver& saver, const FileView& file, int expected,
                          std::uint8_t* dest, bool& moved) {
    const std::int32_t before = saver.Pos;
    std::memset(dest, kUntouched, 16);
    const int got = saver.ReadBlock(dest, expected);
    moved = saver.Pos != before;

    if (before < 1 || before > models::MaxConfigFileSize - 1) {
        if (got != 0 || moved) return "a length field outside the buffer was read";
        return nullptr;
    }
    const int length = file.At(before - 1) * 256 + file.At(before);
    const bool wrongLength = expected != 0 && length != expected;
    const bool overruns = before + 1 + length > models::MaxConfigFileSize;
    if (wrongLength || overruns) {
        if (got != 0) return "a refused block was handed out";
        if (saver.Pos != before + 2) return "a refused block moved past its length field wrongly";
        if (std::any_of(dest, dest + 16, [](std::uint8_t b) { return b != kUntouched; }))
            return "a refused block wrote to the destination";
        return nullptr;
    }
    if (got != length) return "a block's length differs from its length field";
    if (saver.Pos != before + 2 + length) return "the position did not move past the block";
    for (int i = 0; i < length; ++i)
        if (dest[i] != file.At(before + 1 + i)) return "a block's bytes differ from the file's";
    return nullptr;
}

const char* CheckRoundTrip(const std::uint8_t* data, std::size_t size) {
    if (size < 1 + device::DeviceConfigSize) return nullptr;
    const auto model = static_cast<std::uint8_t>(1 + data[0] % kMaxModel);
    const std::uint8_t* config = data + 1;
    models::TFileIOSaver saver(0);
    try {
        if (saver.LoadBytes(models::BuildConfigFile(model, config)) != model)
            return "a built file loads as another model";
    } catch (const device::TAppError&) {
        return "a built file is refused";
    }
    std::uint8_t block[device::DeviceConfigSize];
    if (saver.ReadBlock(block, device::DeviceConfigSize) != device::DeviceConfigSize ||
        std::memcmp(block, config, sizeof block) != 0)
        return "a built file does not give its settings back";
    return nullptr;
}

bool IsHex(std::uint8_t c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}
}  // namespace

const char* CheckConfigFile(const std::uint8_t* data, std::size_t size) {
    models::TFileIOSaver saver(0);
    std::uint8_t model = 0;
    try {
        model = saver.LoadBytes(Bytes(data, size));
    } catch (const device::TAppError&) {
        const models::TFileIOSaver fresh(0);
        if (saver.Data != fresh.Data || saver.Pos != fresh.Pos)
            return "a refused file changed the saver";
        return CheckRoundTrip(data, size);
    }

    const FileView file{data,
                        static_cast<int>(std::min<std::size_t>(size, models::MaxConfigFileSize))};
    if (file.read < 5) return "a file under 5 bytes loaded";
    if (data[0] != models::ConfigFileVersion) return "a file of another version loaded";
    if (serial::Crc8(data, file.read - 1, file.read - 1) != data[file.read - 1])
        return "a file with a wrong check byte loaded";
    if (model == 0 || model > kMaxModel || model != data[1] * 256 + data[2])
        return "a file loaded with a wrong model";
    if (saver.Pos != 4) return "the position is not after the header";

    // Heap-allocated at the largest block that can fit, so that a copy past
    // it is caught by the address sanitizer.
    const auto dest = std::make_unique<std::uint8_t[]>(models::MaxConfigFileSize);
    bool moved = false;
    if (const char* broken =
            CheckOneBlock(saver, file, device::DeviceConfigSize, dest.get(), moved))
        return broken;
    // Every call either moves on by at least two bytes or stops.
    for (int calls = 0; calls <= models::MaxConfigFileSize; ++calls) {
        if (const char* broken = CheckOneBlock(saver, file, 0, dest.get(), moved)) return broken;
        if (!moved) return CheckRoundTrip(data, size);
    }
    return "ReadBlock kept moving past the buffer";
}

const char* CheckFirmwareText(const std::uint8_t* data, std::size_t size) {
    using firmware::LoadResult;
    const QByteArray text = Bytes(data, size);
    const bool allHex = std::all_of(data, data + size, IsHex);
    const bool pairs = size % 2 == 0;

    const auto image = std::make_unique<std::uint8_t[]>(kFirmwareCapacity);
    const firmware::LoadOutcome big =
        firmware::ParseFirmwareText(text, image.get(), kFirmwareCapacity);
    switch (big.result) {
        case LoadResult::Ok:
            if (!allHex || !pairs) return "text that is not hex pairs was accepted";
            if (static_cast<std::size_t>(big.length) * 2 != size)
                return "the image length is not half the text";
            if (!device::BlockChainIsWhole(image.get(), big.length))
                return "an accepted image has a broken chain";
            if (std::memcmp(image.get(), QByteArray::fromHex(text).constData(), big.length) != 0)
                return "the image differs from the text's digits";
            break;
        case LoadResult::NotHex:
            if (allHex && pairs) return "hex pairs were refused as not hex";
            break;
        case LoadResult::TooLarge:
            if (size / 2 <= kFirmwareCapacity) return "a fitting image was refused as too large";
            break;
        case LoadResult::BrokenChain:
            if (!allHex || !pairs) return "text that is not hex pairs reached the chain check";
            if (device::BlockChainIsWhole(image.get(), static_cast<int>(size / 2)))
                return "a whole chain was refused";
            break;
        case LoadResult::CannotOpen:
        case LoadResult::Empty:
            return "parsing text reported a file's failure";
    }

    // The same text into a small buffer of exactly its capacity: any write
    // past it is caught by the address sanitizer.
    const int capacity = size > 0 ? data[0] % 64 : 0;
    const auto small = std::make_unique<std::uint8_t[]>(static_cast<std::size_t>(capacity));
    const firmware::LoadOutcome limited = firmware::ParseFirmwareText(text, small.get(), capacity);
    if (size / 2 <= static_cast<std::size_t>(capacity)) {
        if (limited.result != big.result || limited.length != big.length)
            return "the outcome depends on spare capacity";
    } else if (big.result == LoadResult::NotHex) {
        if (limited.result != LoadResult::NotHex && limited.result != LoadResult::TooLarge)
            return "a text that is not hex pairs gave neither refusal in a small buffer";
    } else if (limited.result != LoadResult::TooLarge) {
        return "an image larger than the buffer was not refused as too large";
    }
    return nullptr;
}

}  // namespace fuzz
