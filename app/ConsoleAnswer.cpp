#include <QString>
#include <QStringList>

#include "app/Console.h"

namespace app {

namespace {

// The Russian letters of the two 8-bit code pages a Russian Windows console
// may have; Qt without ICU has neither, and the answers need only these.
QChar Cp866(uchar byte) {
    if (byte >= 0x80 && byte <= 0xAF) return QChar(0x0410 + (byte - 0x80));  // А..п
    if (byte >= 0xE0 && byte <= 0xEF) return QChar(0x0440 + (byte - 0xE0));  // р..я
    if (byte == 0xF0) return QChar(0x0401);                                  // Ё
    if (byte == 0xF1) return QChar(0x0451);                                  // ё
    return QChar::ReplacementCharacter;
}

QChar Cp1251(uchar byte) {
    if (byte >= 0xC0) return QChar(0x0410 + (byte - 0xC0));  // А..я
    if (byte == 0xA8) return QChar(0x0401);                  // Ё
    if (byte == 0xB8) return QChar(0x0451);                  // ё
    return QChar::ReplacementCharacter;
}

QString Decode(const QByteArray& bytes, unsigned codePage) {
    if (codePage == 65001) return QString::fromUtf8(bytes);
    QString text;
    for (const char c : bytes) {
        const uchar byte = uchar(c);
        if (byte < 0x80)
            text += QLatin1Char(c);
        else if (codePage == 866)
            text += Cp866(byte);
        else if (codePage == 1251)
            text += Cp1251(byte);
        else
            text += QChar::ReplacementCharacter;
    }
    return text;
}

}  // namespace

std::optional<bool> ConsoleAnswer(const QByteArray& line, unsigned codePage) {
    static const QStringList yes{QStringLiteral("да"), QStringLiteral("д"), QStringLiteral("y"),
                                 QStringLiteral("yes")};
    static const QStringList no{QStringLiteral("нет"), QStringLiteral("н"), QStringLiteral("n"),
                                QStringLiteral("no")};
    const QString answer = Decode(line, codePage).trimmed().toLower();
    if (yes.contains(answer)) return true;
    if (no.contains(answer)) return false;
    return std::nullopt;
}

}  // namespace app
