#include "firmware/FirmwareImage.h"

#include "device/AppError.h"
#include "device/FileStore.h"

namespace firmware {

namespace {
int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

LoadOutcome Refused(LoadResult result) {
    LoadOutcome outcome;
    outcome.result = result;
    return outcome;
}
}  // namespace

// Pairs are taken in file order and the first fault found decides the
// outcome, so a file is judged the same whether it is read whole or only up
// to the first pair that no longer fits.
LoadOutcome ParseFirmwareText(const QByteArray& text, std::uint8_t* dest, int capacity) {
    const qsizetype chars = text.size();
    qsizetype n = 0;
    for (qsizetype i = 0; i < chars; i += 2, ++n) {
        if (i + 1 >= chars) return Refused(LoadResult::NotHex);
        const int high = HexDigit(text[i]);
        const int low = HexDigit(text[i + 1]);
        if (high < 0 || low < 0) return Refused(LoadResult::NotHex);
        if (n >= capacity) return Refused(LoadResult::TooLarge);
        dest[n] = static_cast<std::uint8_t>(high * 16 + low);
    }
    const int length = static_cast<int>(n);  // n <= capacity, an int
    if (!device::BlockChainIsWhole(dest, length)) return Refused(LoadResult::BrokenChain);
    LoadOutcome outcome;
    outcome.result = LoadResult::Ok;
    outcome.length = length;
    return outcome;
}

LoadOutcome LoadFirmwareFile(const QString& fileName, std::uint8_t* dest, int capacity) {
    // One pair beyond what fits is enough to tell TooLarge from NotHex; a
    // huge file is never read whole.
    const qint64 wanted = 2 * static_cast<qint64>(capacity > 0 ? capacity : 0) + 2;
    QByteArray text;
    try {
        text = device::ReadRegularFile(fileName, wanted);
    } catch (const device::TAppError& error) {
        LoadOutcome outcome;
        outcome.systemReason = error.Text();
        return outcome;
    }
    // The transfer of an empty image would report success having sent nothing.
    if (text.isEmpty()) return Refused(LoadResult::Empty);
    return ParseFirmwareText(text, dest, capacity);
}

}  // namespace firmware
