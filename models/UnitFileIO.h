#pragma once
// TFileIOSaver: a configuration file (".bcf") in memory.
//
// Layout (big-endian numbers): version byte 1, model as 16 bits, then blocks
// of a 16-bit length and that many bytes, then Crc8 over everything before
// the last byte. Only the first 4096 bytes of a file are read.
#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>

namespace models {

inline constexpr int ConfigFileVersion = 1;
inline constexpr int MaxConfigFileSize = 4096;

class TFileIOSaver {
  public:
    explicit TFileIOSaver(std::uint8_t model);

    std::uint8_t Model;
    // Data[1..4096]; Data[0] is unused so that positions read as in the file
    // format's description (position 1 = file offset 0).
    std::array<std::uint8_t, MaxConfigFileSize + 1> Data{};
    std::int32_t Pos = 4;

    // Loads and checks a file; returns its model. Throws device::TAppError with
    // "Файл поврежден", "Версия файла не поддерживается", or the system's
    // message when the file cannot be opened.
    std::uint8_t LoadFile(const QString& fileName);
    // The checks of LoadFile on bytes already read (only the first 4096 are
    // looked at). On failure the saver is left as it was.
    std::uint8_t LoadBytes(const QByteArray& bytes);
    // Copies the next block into dest when its length equals expected (or
    // expected is 0); returns the length, or 0 when it differs or the block
    // would run past the 4096 bytes.
    int ReadBlock(std::uint8_t* dest, int expected);
};

// The 156-byte settings file for `model` holding `config` (150 bytes).
QByteArray BuildConfigFile(std::uint8_t model, const std::uint8_t* config);
// Writes it atomically; throws device::TAppError naming the file and the reason.
void SaveConfigFile(const QString& fileName, std::uint8_t model, const std::uint8_t* config);
// The name a configuration is saved under: ".bcf" is appended unless it
// occurs anywhere in the name (case-sensitive), as the program always did.
QString ConfigFileName(const QString& chosen);

}  // namespace models
