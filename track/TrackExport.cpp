#include "track/TrackExport.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <pugixml.hpp>

#include "device/AppError.h"
#include "device/FileStore.h"
#include "track/TrackFileReader.h"

namespace track {

namespace {

// Longest coordinate text: "-0." and 44 zeros before the 15 digits of the
// smallest subnormal single; the largest single has 39 integer digits.
constexpr std::size_t CoordinateBufferSize = 80;

// Writes the coordinate text of `value` into `out` and returns its length.
std::size_t FormatCoordinate(float value, char* out) {
    const double v = value;
    if (std::isnan(v)) {
        std::memcpy(out, "nan", 3);
        return 3;
    }
    if (std::isinf(v)) {
        if (v < 0) {
            std::memcpy(out, "-inf", 4);
            return 4;
        }
        std::memcpy(out, "inf", 3);
        return 3;
    }
    if (v == 0) {  // -0 too: a signed zero means nothing on a map
        out[0] = '0';
        return 1;
    }

    // Rounding to 15 significant digits is left to to_chars (exact and
    // locale-independent); its scientific form "d.dddddddddddddde±x" is then
    // laid out in fixed notation, since xsd:decimal has no exponent.
    char sci[40];
    const auto res = std::to_chars(sci, sci + sizeof sci, v, std::chars_format::scientific, 14);
    const char* p = sci;
    const bool negative = *p == '-';
    if (negative) ++p;
    char digits[15];
    int count = 0;
    for (; *p != 'e'; ++p) {
        if (*p != '.') digits[count++] = *p;
    }
    int exponent = 0;
    std::from_chars(p + (p[1] == '+' ? 2 : 1), res.ptr, exponent);
    while (count > 1 && digits[count - 1] == '0') --count;

    char* o = out;
    if (negative) *o++ = '-';
    if (exponent >= 0) {
        const int integerDigits = exponent + 1;
        for (int i = 0; i < integerDigits; ++i) *o++ = i < count ? digits[i] : '0';
        if (count > integerDigits) {
            *o++ = '.';
            for (int i = integerDigits; i < count; ++i) *o++ = digits[i];
        }
    } else {
        *o++ = '0';
        *o++ = '.';
        for (int i = 1; i < -exponent; ++i) *o++ = '0';
        for (int i = 0; i < count; ++i) *o++ = digits[i];
    }
    return static_cast<std::size_t>(o - out);
}

// GPX 1.1 allows latitudes -90..90 and longitudes -180 (inclusive) to 180
// (exclusive). A value outside, or not a number at all, is a corrupt record;
// the point is left out so the file stays valid.
bool ValidPosition(float lat, float& lon) {
    if (!std::isfinite(lat) || !std::isfinite(lon)) return false;
    if (lat < -90.0f || lat > 90.0f || lon < -180.0f || lon > 180.0f) return false;
    if (lon == 180.0f) lon = -180.0f;  // the same meridian, in the allowed range
    return true;
}

// pugixml writes LF line ends and "<name />" for empty elements; the file
// wants CR LF and "<name/>". pugixml escapes '>' in text, and the attribute
// values of this document are numbers and fixed names, so " />" is always
// the end of an empty element.
class TGpxWriter : public pugi::xml_writer {
  public:
    explicit TGpxWriter(std::string& out) : out_(out) {}

    void write(const void* data, std::size_t size) override {
        const char* p = static_cast<const char*>(data);
        const char* end = p + size;
        while (p < end) {
            const char* special =
                std::find_if(p, end, [](char c) { return c == '\n' || c == '>'; });
            out_.append(p, special);
            if (special == end) break;
            if (*special == '\n') {
                out_ += "\r\n";
            } else if (out_.size() >= 2 && out_.back() == '/' && out_[out_.size() - 2] == ' ') {
                out_.resize(out_.size() - 2);
                out_ += "/>";
            } else {
                out_ += '>';
            }
            p = special + 1;
        }
    }

  private:
    std::string& out_;
};

template <typename Int>
void AppendNumber(std::string& out, Int value) {
    char buf[24];
    const auto res = std::to_chars(buf, buf + sizeof buf, value);
    out.append(buf, res.ptr);
}

constexpr const char* kTrackExtensions[] = {".gpx", ".enx", ".igc"};

QString TrackFilePath(const QString& folder, const QString& base, const char* extension) {
    const QString name = base + QLatin1String(extension);
    return folder.isEmpty() ? name : QDir(folder).filePath(name);
}

bool SetExists(const QString& folder, const QString& base) {
    return std::any_of(
        std::begin(kTrackExtensions), std::end(kTrackExtensions),
        [&](const char* ext) { return QFileInfo::exists(TrackFilePath(folder, base, ext)); });
}

// Whether `base` names the files of a flight that started at another time
// than the one `lists` hold: the first point of its GPX (or IGC) file against
// the first GPS record, or the first line of its ENX file against the first
// sensor record. A set whose start cannot be read is replaced as before.
bool OtherFlightsSet(const QString& folder, const QString& base,
                     const device::TrackSnapshot& lists) {
    bool link = false;
    const auto file = [&](const char* ext) {
        const QFileInfo info(TrackFilePath(folder, base, ext));
        link = link || info.isSymLink();
        return info.isFile() ? info.filePath() : QString();
    };
    const QString gpx = file(".gpx"), enx = file(".enx"), igc = file(".igc");
    // Not read through: the file store refuses to write through it as well.
    if (link) return false;
    const QString points = gpx.isEmpty() ? igc : gpx;
    if (!points.isEmpty() && !lists.gps.empty()) {
        try {
            // The first fix as written, before any check leaves it out.
            const std::vector<TCheckedTrack> flights = ReadTrackFileDetails(points).flights;
            const std::vector<TFlightFix>* fixes =
                flights.empty() ? nullptr : &flights.front().recorded;
            if (fixes && !fixes->empty() && fixes->front().hasTime)
                return fixes->front().time != lists.gps.front().time;
        } catch (const device::TAppError&) {
        }
    }
    QFile samples(enx);
    if (enx.isEmpty() || lists.eng.empty() || !samples.open(QIODevice::ReadOnly)) return false;
    const QByteArray line = samples.readLine(64);
    const QDateTime time =
        QDateTime::fromString(QString::fromLatin1(line.left(line.indexOf(';'))), Qt::ISODate);
    return time.isValid() && time.toSecsSinceEpoch() != lists.eng.front().time;
}

// The time of the first record read: the lists are each in memory order.
std::optional<device::TrackTime> ListsStart(const device::TrackSnapshot& lists) {
    if (lists.gps.empty() && lists.eng.empty()) return std::nullopt;
    if (lists.gps.empty()) return lists.eng.front().time;
    if (lists.eng.empty()) return lists.gps.front().time;
    return std::min(lists.gps.front().time, lists.eng.front().time);
}

// "Track12" (or the name asked for), or for a partial save the first of
// "Track12-partial", "Track12-partial-2", ... of which no file exists yet.
// Where "Track12" holds the files of a flight that started at another time,
// a complete set is named with its start time instead.
QString TrackBaseName(const QString& folder, int flightNumber, const QString& asked, bool partial,
                      const device::TrackSnapshot& lists) {
    const QString plain = QStringLiteral("Track") + QString::number(flightNumber);
    QString track = asked.isEmpty() ? plain : asked;
    const std::optional<device::TrackTime> start = ListsStart(lists);
    // Partial sets never replace one, whichever flight it holds.
    if (!partial && track == plain && start && OtherFlightsSet(folder, track, lists))
        track = DatedTrackBaseName(flightNumber, *start);
    if (!partial) return track;
    for (int n = 1;; ++n) {
        const QString base = track + QStringLiteral("-partial") +
                             (n == 1 ? QString() : QStringLiteral("-%1").arg(n));
        if (!SetExists(folder, base)) return base;
    }
}

}  // namespace

namespace {
QString UnfinishedText(int count, bool bySector, std::size_t gps, std::size_t eng,
                       const QString& files) {
    return QCoreApplication::translate("track",
                                       "Трек прочитан не до конца: %1 %2, GPS %3, ENG %4. %5")
        .arg(count)
        .arg(bySector ? QCoreApplication::translate("track", "сект.")
                      : QCoreApplication::translate("track", "стр."))
        .arg(gps)
        .arg(eng)
        .arg(files);
}
}  // namespace

QString DatedTrackBaseName(int flightNumber, device::TrackTime start) {
    return QStringLiteral("Track%1").arg(flightNumber) +
           QDateTime::fromSecsSinceEpoch(start, Qt::UTC)
               .toString(QStringLiteral("-yyyy-MM-dd-HHmm"));
}

QString UnfinishedDownloadText(int count, bool bySector, std::size_t gps, std::size_t eng) {
    return UnfinishedText(count, bySector, gps, eng,
                          QCoreApplication::translate("track", "Прочитанное в файлы не записано"));
}

QString UnfinishedDownloadSavedText(int count, bool bySector, std::size_t gps, std::size_t eng) {
    return UnfinishedText(
        count, bySector, gps, eng,
        QCoreApplication::translate("track", "Прочитанное записано в отдельные файлы"));
}

std::string CoordinateText(float value) {
    char buf[CoordinateBufferSize];
    return std::string(buf, FormatCoordinate(value, buf));
}

std::string GpxText(const std::vector<device::GpsListEntry>& gps) {
    pugi::xml_document doc;
    pugi::xml_node decl = doc.append_child(pugi::node_declaration);
    decl.append_attribute("version").set_value("1.0");
    decl.append_attribute("encoding").set_value("utf-8");

    pugi::xml_node root = doc.append_child("gpx");
    root.append_attribute("xmlns").set_value("http://www.topografix.com/GPX/1/1");
    root.append_attribute("creator").set_value("Nomtrack");
    root.append_attribute("version").set_value("1.1");
    root.append_attribute("xmlns:xsi").set_value("http://www.w3.org/2001/XMLSchema-instance");

    pugi::xml_node trk = root.append_child("trk");
    trk.append_child("name").text().set("Track 4");
    trk.append_child("desc").text().set("Track 4");
    pugi::xml_node seg = trk.append_child("trkseg");

    char buf[CoordinateBufferSize];
    for (const device::GpsListEntry& entry : gps) {
        const float lat = entry.Latitude();
        float lon = entry.Longitude();
        if (!ValidPosition(lat, lon)) continue;
        pugi::xml_node pt = seg.append_child("trkpt");
        buf[FormatCoordinate(lat, buf)] = '\0';
        pt.append_attribute("lat").set_value(buf);
        buf[FormatCoordinate(lon, buf)] = '\0';
        pt.append_attribute("lon").set_value(buf);
        *std::to_chars(buf, buf + sizeof buf, static_cast<int>(entry.Altitude())).ptr = '\0';
        pt.append_child("ele").text().set(buf);
        pt.append_child("time").text().set(device::TimeText(entry.time).c_str());
    }

    std::string out;
    out.reserve(256 + gps.size() * 136);
    TGpxWriter writer(out);
    doc.save(writer, "\t", pugi::format_indent, pugi::encoding_utf8);
    return out;
}

std::vector<TFlightFix> FlightFixes(const std::vector<device::GpsListEntry>& gps) {
    std::vector<TFlightFix> fixes;
    fixes.reserve(gps.size());
    for (const device::GpsListEntry& entry : gps) {
        const float lat = entry.Latitude();
        float lon = entry.Longitude();
        if (!ValidPosition(lat, lon)) continue;
        fixes.push_back({lat, lon, double(entry.Altitude()), true, entry.time});
    }
    return fixes;
}

TCheckedTrack CheckedDownload(const std::vector<device::GpsListEntry>& gps) {
    return CheckFixes(AsRecorded(FlightFixes(gps)), QString());
}

std::string EnxText(const std::vector<device::EngListEntry>& eng) {
    std::string out;
    out.reserve(eng.size() * 40);
    for (const device::EngListEntry& entry : eng) {
        out += device::TimeText(entry.time);
        out += ';';
        AppendNumber(out, entry.Value1());
        out += ';';
        AppendNumber(out, entry.Value2());
        out += ';';
        AppendNumber(out, entry.Value3());
        out += "\r\n";
    }
    return out;
}

QStringList WriteTrackFiles(int flightNumber, const device::TrackSnapshot& lists, TMemoSink& memo,
                            const QString& folder, const TTrackFileOptions& options) {
    const bool igc = options.igc && !lists.gps.empty();
    return WriteTrackFiles(flightNumber, lists,
                           igc ? FlightFixes(lists.gps) : std::vector<TFlightFix>(), memo, folder,
                           options);
}

QStringList WriteTrackFiles(int flightNumber, const device::TrackSnapshot& lists,
                            const std::vector<TFlightFix>& recorded, TMemoSink& memo,
                            const QString& folder, const TTrackFileOptions& options) {
    memo.Clear();
    memo.AddLine(QCoreApplication::translate("track", "Всего GPS %1").arg(lists.gps.size()));
    memo.AddLine(QCoreApplication::translate("track", "Всего ENG %1").arg(lists.eng.size()));
    // One set: a new GPX file never stands beside the ENX file of an older
    // download because the second write failed.
    const QString base =
        TrackBaseName(folder, flightNumber, options.baseName, options.partial, lists);
    std::vector<device::TFileToWrite> files;
    if (!lists.gps.empty())
        files.push_back(
            {TrackFilePath(folder, base, ".gpx"), QByteArray::fromStdString(GpxText(lists.gps))});
    if (!lists.eng.empty())
        files.push_back(
            {TrackFilePath(folder, base, ".enx"), QByteArray::fromStdString(EnxText(lists.eng))});
    if (options.igc && !lists.gps.empty())
        files.push_back({TrackFilePath(folder, base, ".igc"),
                         IgcText(recorded, options.instrument, options.pilot)});
    if (!files.empty()) device::WriteFilesSafely(files);
    memo.AddLine(QCoreApplication::translate("track", "___ Файлы созданы ____"));
    QStringList written;
    for (const device::TFileToWrite& file : files)
        written.append(QFileInfo(file.path).absoluteFilePath());
    return written;
}

}  // namespace track
