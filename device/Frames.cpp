#include "device/Frames.h"

#include "models/ModelTable.h"
#include "serial/BCC.h"

namespace device {

void BuildIdentifyRequest(std::uint8_t* tx) {
    tx[0] = FRAME_SHORT;
    tx[1] = IdentifyRequestLength;
    tx[2] = CMD_IDENTIFY;
    tx[3] = 0x01;
    tx[4] = 0x00;
    tx[9] = serial::Crc8(tx, IdentifyRequestLength - 1, IdentifyRequestLength - 1);
}

void BuildAddressRequest(std::uint8_t* tx, std::uint8_t command, std::uint32_t address) {
    tx[0] = FRAME_LONG;
    tx[1] = command;
    tx[2] = 0x00;
    tx[3] = LongRequestLength;
    tx[4] = static_cast<std::uint8_t>(address);
    tx[5] = static_cast<std::uint8_t>(address >> 8);
    tx[6] = static_cast<std::uint8_t>(address >> 16);
    tx[7] = static_cast<std::uint8_t>(address >> 24);
}

void BuildStatsRequest(std::uint8_t* tx, std::uint8_t flightIndex) {
    tx[0] = FRAME_LONG;
    tx[1] = CMD_READ_STATS;
    tx[2] = 0x00;
    tx[3] = LongRequestLength;
    tx[4] = flightIndex;
}

int BuildWriteConfigRequest(std::uint8_t* tx, const std::uint8_t* config) {
    tx[0] = FRAME_SHORT;
    tx[1] = WriteConfigRequestLength;
    tx[2] = CMD_WRITE_CONFIG;
    for (int i = 0; i < DeviceConfigSize; ++i) tx[3 + i] = config[i];
    tx[WriteConfigRequestLength - 1] =
        serial::Crc8(tx, WriteConfigRequestLength - 1, WriteConfigRequestLength - 1);
    return WriteConfigRequestLength;
}

int FrameLength(const std::uint8_t* rx) {
    if (rx[0] == FRAME_SHORT) return rx[1];
    if (rx[0] == FRAME_LONG) return rx[2] * 256 + rx[3];
    return -1;
}

bool FrameCheckOk(const std::uint8_t* rx, int length) {
    if (length < 1) return false;
    return serial::Crc8(rx, length - 1, length - 1) == rx[length - 1];
}

bool ReplyHasShape(const std::uint8_t* rx, const TReplyShape& shape) {
    const int length = FrameLength(rx);
    if (rx[0] != shape.header || length < shape.minLength || length > shape.maxLength) return false;
    return shape.shortCommand < 0 || rx[2] == shape.shortCommand;
}

bool ReplyAnswers(const std::uint8_t* tx, const std::uint8_t* rx) {
    if (tx[0] == FRAME_SHORT && tx[2] == CMD_IDENTIFY)
        return ReplyHasShape(rx, IdentifyReply) || ReplyHasShape(rx, IdentifyShortReply);
    if (tx[0] == FRAME_SHORT && tx[2] == CMD_WRITE_CONFIG)
        return ReplyHasShape(rx, WriteConfigReply);
    if (tx[0] == FRAME_LONG) {
        switch (tx[1]) {
            case CMD_READ_STATS:
                return ReplyHasShape(rx, StatsReply);
            case CMD_READ_PAGE:
                return ReplyHasShape(rx, PageReply);
            case CMD_READ_SECTOR:
                return ReplyHasShape(rx, SectorReply);
            default:
                break;
        }
    }
    return true;
}

std::optional<std::uint16_t> ReplyModelNumber(const std::uint8_t* rx) {
    if (rx[0] != FRAME_LONG) return std::nullopt;
    return LE16(rx + 4);
}

std::uint16_t ReplyModel(const std::uint8_t* rx) {
    const std::uint16_t model = ReplyModelNumber(rx).value_or(0);
    return model != 0 && models::IsKnownModel(model) ? model : 0;
}

bool BlockChainIsWhole(const std::uint8_t* image, int length) {
    if (length < 0) return false;
    long long pos = 0;
    while (pos < length) {
        if (pos + 2 > length) return false;  // a count cut in half
        const int count = image[pos] * 256 + image[pos + 1];
        pos += 2 + count;
    }
    return pos == length;
}

}  // namespace device
