#include "models/UnitFileIO.h"

#include <QCoreApplication>
#include <algorithm>

#include "device/AppError.h"
#include "device/FileStore.h"
#include "device/Frames.h"
#include "models/ModelTable.h"
#include "serial/BCC.h"

namespace models {

namespace {
constexpr int HeaderSize = 3;  // version byte and 16-bit model

QString Damaged() { return QCoreApplication::translate("models", "Файл поврежден"); }
}  // namespace

TFileIOSaver::TFileIOSaver(std::uint8_t model) : Model(model) {
    Data[1] = ConfigFileVersion;
    Data[2] = 0;  // the model is one byte, so its high byte is always 0
    Data[3] = model;
    Pos = HeaderSize + 1;
}

std::uint8_t TFileIOSaver::LoadFile(const QString& fileName) {
    // Closed before any check can fail; a folder, FIFO or device is refused.
    return LoadBytes(device::ReadRegularFile(fileName, MaxConfigFileSize));
}

std::uint8_t TFileIOSaver::LoadBytes(const QByteArray& bytes) {
    // Checked in a copy so that a refused file leaves this saver untouched;
    // positions past the bytes read stay 0.
    const int n = static_cast<int>(std::min<qsizetype>(bytes.size(), MaxConfigFileSize));
    if (n < HeaderSize + 2) throw device::TAppError(Damaged());
    std::array<std::uint8_t, MaxConfigFileSize + 1> data{};
    std::copy_n(reinterpret_cast<const std::uint8_t*>(bytes.constData()), n, data.begin() + 1);

    // Before the check byte, so that a newer format is named as such.
    if (data[1] != ConfigFileVersion) {
        throw device::TAppError(
            QCoreApplication::translate("models", "Версия файла не поддерживается"));
    }
    if (serial::Crc8(&data[1], MaxConfigFileSize - 1, n - 1) != data[static_cast<std::size_t>(n)]) {
        throw device::TAppError(Damaged());
    }
    const int model = data[2] * 256 + data[3];
    if (model == 0 || model > MaxModelId) throw device::TAppError(Damaged());

    Data = data;
    Pos = HeaderSize + 1;
    return static_cast<std::uint8_t>(model);
}

int TFileIOSaver::ReadBlock(std::uint8_t* dest, int expected) {
    // The length field itself must lie inside Data.
    if (Pos < 1 || Pos > MaxConfigFileSize - 1) return 0;
    const int length =
        Data[static_cast<std::size_t>(Pos)] * 256 + Data[static_cast<std::size_t>(Pos) + 1];
    Pos += 2;
    if (expected != 0 && length != expected) return 0;
    // A block may run past the bytes of a short file (those read as 0), but
    // never past the buffer.
    if (Pos - 1 + length > MaxConfigFileSize) return 0;
    std::copy_n(Data.begin() + Pos, length, dest);
    Pos += length;
    return length;
}

QByteArray BuildConfigFile(std::uint8_t model, const std::uint8_t* config) {
    constexpr int size = HeaderSize + 2 + device::DeviceConfigSize + 1;
    QByteArray file(size, '\0');
    auto* out = reinterpret_cast<std::uint8_t*>(file.data());
    out[0] = ConfigFileVersion;
    out[1] = 0;
    out[2] = model;
    out[3] = static_cast<std::uint8_t>(device::DeviceConfigSize / 256);
    out[4] = static_cast<std::uint8_t>(device::DeviceConfigSize % 256);
    std::copy_n(config, device::DeviceConfigSize, out + 5);
    out[size - 1] = serial::Crc8(out, size - 1, size - 1);
    return file;
}

void SaveConfigFile(const QString& fileName, std::uint8_t model, const std::uint8_t* config) {
    device::WriteFileSafely(fileName, BuildConfigFile(model, config));
}

QString ConfigFileName(const QString& chosen) {
    return chosen.contains(QLatin1String(".bcf")) ? chosen : chosen + QStringLiteral(".bcf");
}

}  // namespace models
