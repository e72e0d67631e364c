#include "track/IgcReader.h"

#include <QCoreApplication>
#include <QDir>
#include <QRegularExpression>
#include <QStringDecoder>
#include <cmath>
#include <cstdlib>

#include "device/AppError.h"
#include "device/FileStore.h"
#include "device/UserTexts.h"

namespace track {

namespace {

// A day of one-second fixes is about 3 MB; anything far larger is no track.
constexpr qint64 MaxIgcBytes = 256LL * 1024 * 1024;
constexpr device::TrackTime SecondsPerDay = 86400;

// The position, validity and both altitudes: "B" hhmmss DDMMmmmN DDDMMmmmE V PPPPP GGGGG.
constexpr qsizetype BRecordCore = 35;

QString Shown(const QString& path) { return device::ShownName(path); }

[[noreturn]] void Refuse(const QString& name, const QString& reason) {
    throw device::TAppError(
        QCoreApplication::translate("track", "Файл \"%1\" не прочитан как IGC: %2")
            .arg(Shown(name), reason));
}

bool Digits(const char* p, int count, int& out) {
    out = 0;
    for (int i = 0; i < count; ++i) {
        if (p[i] < '0' || p[i] > '9') return false;
        out = out * 10 + (p[i] - '0');
    }
    return true;
}

// "-1234" or "01234".
bool Altitude(const char* p, int& out) {
    if (p[0] == '-') {
        if (!Digits(p + 1, 4, out)) return false;
        out = -out;
        return true;
    }
    return Digits(p, 5, out);
}

bool Angle(const char* p, int degreeDigits, char positive, char negative, double limit,
           double& out) {
    int degrees = 0, thousandths = 0;
    if (!Digits(p, degreeDigits, degrees) || !Digits(p + degreeDigits, 5, thousandths) ||
        thousandths >= 60000)
        return false;
    const char hemisphere = p[degreeDigits + 5];
    if (hemisphere != positive && hemisphere != negative) return false;
    out = degrees + thousandths / 60000.0;
    if (out > limit) return false;
    if (hemisphere == negative) out = -out;
    return true;
}

struct TBRecord {
    int timeOfDay = 0;
    TRecordedFix fix;
};

bool ReadBRecord(const QByteArray& line, TBRecord& out) {
    if (line.size() < BRecordCore) return false;
    const char* p = line.constData();
    int h, m, s;
    if (!Digits(p + 1, 2, h) || !Digits(p + 3, 2, m) || !Digits(p + 5, 2, s) || h > 23 || m > 59 ||
        s > 59)
        return false;
    out.timeOfDay = h * 3600 + m * 60 + s;
    if (!Angle(p + 7, 2, 'N', 'S', 90, out.fix.latitude) ||
        !Angle(p + 15, 3, 'E', 'W', 180, out.fix.longitude))
        return false;
    const char validity = p[24];
    if (validity != 'A' && validity != 'V') return false;
    int pressure = 0, gnss = 0;
    if (!Altitude(p + 25, pressure) || !Altitude(p + 30, gnss)) return false;
    out.fix.valid = validity == 'A';
    out.fix.pressureAltitude = pressure;
    // Loggers without a GNSS altitude write zero beside a pressure one.
    if (!(gnss == 0 && pressure != 0)) out.fix.gnssAltitude = gnss;
    return true;
}

// "HFDTE" then "DATE:" or ":" or nothing, then ddmmyy.
bool ReadDate(const QByteArray& upper, device::TrackTime& midnight) {
    QByteArray rest = upper.mid(5);
    if (rest.startsWith("DATE")) rest = rest.mid(4);
    if (rest.startsWith(':')) rest = rest.mid(1);
    rest = rest.trimmed();
    int d, mo, y;
    if (rest.size() < 6 || !Digits(rest.constData(), 2, d) ||
        !Digits(rest.constData() + 2, 2, mo) || !Digits(rest.constData() + 4, 2, y))
        return false;
    // Two-digit years: the first flight recorders date from the 1980s.
    return device::MakeTrackTime(y < 80 ? 2000 + y : 1900 + y, mo, d, 0, 0, 0, midnight);
}

// Header texts are ASCII by the format; other programs write UTF-8 or Latin-1.
QString HeaderText(const QByteArray& raw) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(raw);
    if (utf8.hasError()) text = QString::fromLatin1(raw);
    // By code point: a character beyond the first plane (an emoji) is two
    // surrogates, neither of them printable alone.
    QString printable;
    for (const char32_t c : text.toUcs4())
        if (QChar::isPrint(c)) printable += QString::fromUcs4(&c, 1);
    return printable.trimmed();
}

// "HFPLTPILOTINCHARGE:Name" and the like: the text after the first ':'.
QString HeaderValue(const QByteArray& line) {
    const qsizetype colon = line.indexOf(':');
    return colon < 0 ? QString() : HeaderText(line.mid(colon + 1));
}

// What recorders write for a name nobody entered: the format's own "NKN"
// (not known) and "NIL", and the defaults of flight programs. Shown as no
// name, so that totals by glider do not list "None" as a wing.
QString NamedOrEmpty(QString value) {
    static const QStringList placeholders{QStringLiteral("nkn"),     QStringLiteral("nil"),
                                          QStringLiteral("none"),    QStringLiteral("not set"),
                                          QStringLiteral("notset"),  QStringLiteral("unknown"),
                                          QStringLiteral("default"), QStringLiteral("n/a"),
                                          QStringLiteral("-"),       QStringLiteral("?")};
    return placeholders.contains(value, Qt::CaseInsensitive) ? QString() : value;
}

// "HFTZNTIMEZONE:3", "+3.00", "-3:30", "UTC+5.5h": hours east of UTC, in
// minutes; none for a value that is no zone on Earth.
std::optional<int> ZoneMinutes(const QString& value) {
    static const QRegularExpression pattern(
        QStringLiteral("^(?:UTC)?\\s*([+-]?)(\\d{1,2})(?:([.:])(\\d{1,2}))?\\s*H?$"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = pattern.match(value.trimmed());
    if (!m.hasMatch()) return std::nullopt;
    int minutes = m.captured(2).toInt() * 60;
    if (!m.captured(4).isEmpty())
        minutes += m.captured(3) == QLatin1String(":")
                       ? m.captured(4).toInt()
                       : int(std::lround(60 * (QStringLiteral("0.") + m.captured(4)).toDouble()));
    if (m.captured(1) == QLatin1String("-")) minutes = -minutes;
    if (minutes < -12 * 60 || minutes > 14 * 60) return std::nullopt;
    return minutes;
}

// Header lines come from the flight recorder (F), another source (O) or the
// pilot (P): "H" + source + three-letter code.
bool IsHeader(const QByteArray& upper, const char* code) {
    return upper.size() >= 5 && upper[0] == 'H' &&
           (upper[1] == 'F' || upper[1] == 'O' || upper[1] == 'P') && upper.mid(2, 3) == code;
}

}  // namespace

TIgcFlight ParseIgc(const QByteArray& text, const QString& name) {
    TIgcFlight flight;
    bool dated = false, anyRecord = false;
    device::TrackTime day = 0;
    int lastTimeOfDay = -1;
    std::vector<TBRecord> records;
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = text.indexOf('\n', start);
        if (end < 0) end = text.size();
        QByteArray line = text.mid(start, end - start);
        start = end + 1;
        while (line.endsWith('\r')) line.chop(1);
        if (line.isEmpty()) continue;
        const char kind = line[0];
        if (kind == 'A') anyRecord = true;
        if (kind == 'H' || kind == 'h') {
            const QByteArray upper = line.toUpper();
            if (upper.size() >= 5 && (upper[1] == 'F' || upper[1] == 'O' || upper[1] == 'P'))
                anyRecord = true;
            if (IsHeader(upper, "DTE")) {
                // Only the first date counts: a later one belongs to no fix.
                if (!dated) dated = ReadDate(upper, day);
            } else if (IsHeader(upper, "PLT")) {
                flight.pilot = NamedOrEmpty(HeaderValue(line));
            } else if (IsHeader(upper, "GTY")) {
                flight.gliderType = NamedOrEmpty(HeaderValue(line));
            } else if (IsHeader(upper, "GID")) {
                flight.gliderId = NamedOrEmpty(HeaderValue(line));
            } else if (IsHeader(upper, "CIV")) {
                flight.civlId = NamedOrEmpty(HeaderValue(line));
            } else if (IsHeader(upper, "FTY")) {
                flight.recorder = HeaderValue(line);
            } else if (IsHeader(upper, "SIT")) {
                flight.site = NamedOrEmpty(HeaderValue(line));
            } else if (IsHeader(upper, "TZN") || IsHeader(upper, "TZO")) {
                flight.utcOffsetMinutes = ZoneMinutes(HeaderValue(line));
            }
        } else if (kind == 'B') {
            TBRecord record;
            if (ReadBRecord(line, record)) {
                records.push_back(record);
                anyRecord = true;
            }
        }
    }
    if (!anyRecord) Refuse(name, QCoreApplication::translate("track", "в нём нет записей IGC"));
    if (records.empty())
        Refuse(name, QCoreApplication::translate("track", "в нём нет ни одной точки трека (B)"));
    if (!dated) Refuse(name, QCoreApplication::translate("track", "в нём нет даты полёта (HFDTE)"));

    std::vector<TRecordedFix> fixes;
    fixes.reserve(records.size());
    device::TrackTime last = 0;
    for (TBRecord& record : records) {
        if (record.timeOfDay == lastTimeOfDay) continue;  // a repeat
        // Records carry only the time of day: each takes the day that puts
        // it nearest the one before. 23:59 to 00:01 is two minutes on, not a
        // day back; 17:00 to 10:00 is the same day out of order (the fixes
        // are sorted), not a 17-hour flight; a glitch back over midnight
        // returns to the day before.
        device::TrackTime time = day + record.timeOfDay;
        if (!fixes.empty()) {
            for (const device::TrackTime other : {time - SecondsPerDay, time + SecondsPerDay})
                if (std::llabs(other - last) < std::llabs(time - last)) time = other;
            day = time - record.timeOfDay;
        }
        lastTimeOfDay = record.timeOfDay;
        last = time;
        record.fix.hasTime = true;
        record.fix.time = time;
        fixes.push_back(record.fix);
    }
    static_cast<TCheckedTrack&>(flight) = CheckFixes(fixes, name);
    return flight;
}

TIgcFlight ReadIgcFile(const QString& path) {
    const QByteArray data = device::ReadRegularFile(path, MaxIgcBytes + 1);
    if (data.size() > MaxIgcBytes)
        throw device::TAppError(device::TrackFileTooLargeText(Shown(path)));
    return ParseIgc(data, path);
}

}  // namespace track
