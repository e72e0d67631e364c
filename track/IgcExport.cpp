#include "track/IgcExport.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace track {

namespace {

// A B record: "B", hhmmss, DDMMmmmN, DDDMMmmmE, validity, pressure altitude,
// GNSS altitude, CR LF.
constexpr int BRecordSize = 1 + 6 + 8 + 9 + 1 + 5 + 5 + 2;
constexpr std::int64_t SecondsPerDay = 86400;
// Five characters with the sign: lower values are no real altitude.
constexpr int LowestAltitude = -9999;
constexpr int HighestAltitude = 99999;

char* PutDigits(char* out, std::int64_t value, int width) {
    for (int i = width - 1; i >= 0; --i) {
        out[i] = static_cast<char>('0' + value % 10);
        value /= 10;
    }
    return out + width;
}

// Degrees as whole degrees and minutes to the thousandth; the minutes are
// rounded as one number with the degrees, so 59.9996' becomes the next degree
// rather than 60.000'. A value that rounds to zero counts as north or east.
char* PutAngle(char* out, double degrees, int degreeDigits, char positive, char negative) {
    const auto thousandths = static_cast<std::int64_t>(std::llround(std::fabs(degrees) * 60000.0));
    out = PutDigits(out, thousandths / 60000, degreeDigits);
    out = PutDigits(out, thousandths % 60000, 5);
    *out++ = degrees < 0 && thousandths != 0 ? negative : positive;
    return out;
}

char* PutAltitude(char* out, double metres) {
    if (std::isnan(metres)) metres = 0;
    const auto m = static_cast<int>(
        std::lround(std::clamp(metres, double(LowestAltitude), double(HighestAltitude))));
    if (m < 0) {
        *out++ = '-';
        return PutDigits(out, -m, 4);
    }
    return PutDigits(out, m, 5);
}

// IGC files are printable ASCII; a name in another script is left out.
QByteArray AsciiField(const QString& text) {
    QByteArray out;
    for (const QChar c : text)
        if (c.unicode() >= 0x20 && c.unicode() < 0x7F) out += static_cast<char>(c.unicode());
    return out.trimmed();
}

void AddLine(QByteArray& out, const QByteArray& line) {
    out += line;
    out += "\r\n";
}

}  // namespace

QByteArray IgcText(const std::vector<TFlightFix>& fixes, const TIgcInstrument& instrument) {
    QByteArray out;
    out.reserve(512 + qsizetype(fixes.size()) * BRecordSize);

    // "XTK": the code range of recorders without an approved manufacturer
    // code; the logger id is the model number.
    char id[3];
    PutDigits(id, instrument.model.value_or(0), 3);
    AddLine(out, QByteArray("AXTK") + QByteArray(id, 3));

    const device::TrackTime first =
        fixes.empty() || !fixes.front().hasTime ? device::FallbackTrackTime() : fixes.front().time;
    const std::string stamp = device::TimeText(first);  // yyyy-mm-ddThh:mm:ssZ
    AddLine(out, QByteArray("HFDTE") +
                     QByteArray::fromStdString(stamp.substr(8, 2) + stamp.substr(5, 2) +
                                               stamp.substr(2, 2)));
    AddLine(out, "HFPLTPILOT:");
    AddLine(out, "HFGTYGLIDERTYPE:");
    QByteArray recorder = "HFFTYFRTYPE:Tolmarik";
    if (instrument.model) {
        const QByteArray name = AsciiField(models::GetModelName(*instrument.model));
        if (!name.isEmpty()) recorder += ',' + name;
    }
    AddLine(out, recorder);
    if (instrument.firmwareVersion)
        AddLine(out, "HFRFWFIRMWAREVERSION:" + QByteArray::number(*instrument.firmwareVersion));
    AddLine(out, "HFDTM100GPSDATUM:WGS-1984");

    char line[BRecordSize];
    for (const TFlightFix& fix : fixes) {
        char* p = line;
        *p++ = 'B';
        const std::int64_t t = fix.hasTime ? fix.time : 0;
        const std::int64_t ofDay = ((t % SecondsPerDay) + SecondsPerDay) % SecondsPerDay;
        p = PutDigits(p, ofDay / 3600 * 10000 + ofDay / 60 % 60 * 100 + ofDay % 60, 6);
        p = PutAngle(p, fix.latitude, 2, 'N', 'S');
        p = PutAngle(p, fix.longitude, 3, 'E', 'W');
        *p++ = 'A';
        p = PutDigits(p, 0, 5);
        p = PutAltitude(p, fix.altitude);
        *p++ = '\r';
        *p++ = '\n';
        out.append(line, BRecordSize);
    }
    return out;
}

}  // namespace track
