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

// The Russian (and Ukrainian, Belarusian) letters as passports write them.
struct TLatinOf {
    char16_t cyrillic;
    const char* latin;
};
constexpr TLatinOf kLatinOf[] = {
    {u'а', "a"},  {u'б', "b"},  {u'в', "v"},    {u'г', "g"}, {u'д', "d"},  {u'е', "e"},
    {u'ё', "e"},  {u'ж', "zh"}, {u'з', "z"},    {u'и', "i"}, {u'й', "i"},  {u'к', "k"},
    {u'л', "l"},  {u'м', "m"},  {u'н', "n"},    {u'о', "o"}, {u'п', "p"},  {u'р', "r"},
    {u'с', "s"},  {u'т', "t"},  {u'у', "u"},    {u'ф', "f"}, {u'х', "kh"}, {u'ц', "ts"},
    {u'ч', "ch"}, {u'ш', "sh"}, {u'щ', "shch"}, {u'ъ', ""},  {u'ы', "y"},  {u'ь', ""},
    {u'э', "e"},  {u'ю', "iu"}, {u'я', "ia"},   {u'і', "i"}, {u'ї', "i"},  {u'є', "ie"},
    {u'ґ', "g"},  {u'ў', "u"},
};

const char* LatinOf(char16_t lower) {
    for (const TLatinOf& row : kLatinOf)
        if (row.cyrillic == lower) return row.latin;
    return nullptr;
}

// A model name in another script is a placeholder ("По умолчанию"), not a
// recorder type: left out rather than transliterated.
QByteArray AsciiOnly(const QString& text) {
    QByteArray out;
    for (const QChar c : text)
        if (c.unicode() >= 0x20 && c.unicode() < 0x7F) out += static_cast<char>(c.unicode());
    return out.trimmed();
}

void AddLine(QByteArray& out, const QByteArray& line) {
    out += line;
    out += "\r\n";
}

std::function<TPilotProfile()>& PilotProfileSource() {
    static std::function<TPilotProfile()> source;
    return source;
}

}  // namespace

TPilotProfile CurrentPilotProfile() {
    return PilotProfileSource() ? PilotProfileSource()() : TPilotProfile{};
}

void SetPilotProfileSource(std::function<TPilotProfile()> source) {
    PilotProfileSource() = std::move(source);
}

QByteArray IgcAscii(const QString& text) {
    QByteArray out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        const char16_t u = c.unicode();
        if (u >= 0x20 && u < 0x7F) {
            out += static_cast<char>(u);
        } else if (const char* latin = LatinOf(c.toLower().unicode())) {
            QByteArray word(latin);
            if (c.isUpper() && !word.isEmpty()) {
                // "Жуков" gives "Zhukov", "ЖУКОВ" gives "ZHUKOV".
                const bool capitals = (i + 1 < text.size() && text[i + 1].isUpper()) ||
                                      (i > 0 && text[i - 1].isUpper());
                word = capitals ? word.toUpper() : word.left(1).toUpper() + word.mid(1);
            }
            out += word;
        } else if (c.decompositionTag() != QChar::NoDecomposition) {
            const QString base = c.decomposition();
            if (!base.isEmpty() && base[0].unicode() >= 0x20 && base[0].unicode() < 0x7F)
                out += static_cast<char>(base[0].unicode());
        } else if (c.isSpace()) {
            out += ' ';
        }
    }
    return out.trimmed();
}

QByteArray IgcText(const std::vector<TFlightFix>& fixes, const TIgcInstrument& instrument,
                   const TPilotProfile& pilot) {
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
    AddLine(out, "HFPLTPILOTINCHARGE:" + IgcAscii(pilot.pilot));
    AddLine(out, "HFGTYGLIDERTYPE:" + IgcAscii(pilot.gliderType));
    if (const QByteArray id = IgcAscii(pilot.gliderId); !id.isEmpty())
        AddLine(out, "HFGIDGLIDERID:" + id);
    if (const QByteArray id = IgcAscii(pilot.competitionId); !id.isEmpty())
        AddLine(out, "HFCIDCOMPETITIONID:" + id);
    // The format has no record for it: a code of our own, in the form of the
    // pilot's other lines, which readers pass over.
    if (const QByteArray id = IgcAscii(pilot.civlId); !id.isEmpty())
        AddLine(out, "HFCIVCIVLID:" + id);
    QByteArray recorder = "HFFTYFRTYPE:Tolmarik";
    if (instrument.model) {
        const QByteArray name = AsciiOnly(models::GetModelName(*instrument.model));
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
