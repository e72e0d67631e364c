#include "logbook/Logbook.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QThread>
#include <QUuid>
#include <algorithm>
#include <atomic>
#include <climits>
#include <cmath>
#include <functional>
#include <map>
#include <thread>
#include <tuple>
#include <utility>

#include "device/AppError.h"
#include "device/FileStore.h"
#include "device/TimeTexts.h"
#include "device/UserTexts.h"
#include "scoring/FlightAnalysis.h"
#include "scoring/Optimizer.h"
#include "track/FlightPhases.h"
#include "track/Geodesy.h"
#include "track/IgcReader.h"
#include "track/KmlExport.h"
#include "track/TrackExport.h"
#include "track/TrackFileReader.h"

namespace logbook {

namespace {

// The largest track file the logbook copies; far beyond a day's flight.
constexpr qint64 MaxTrackFileBytes = 512LL * 1024 * 1024;

QString Shown(const QString& path) { return device::ShownName(path); }

track::TFlightFix At(double latitude, double longitude) {
    track::TFlightFix fix;
    fix.latitude = latitude;
    fix.longitude = longitude;
    return fix;
}

// A text of a CSV row: quoted, quotes doubled; a text from a file that
// begins like a formula gets a leading apostrophe so that a spreadsheet
// shows it as text.
QByteArray CsvField(const QString& text) {
    QString value = text;
    if (!value.isEmpty() && QStringLiteral("=+-@\t\r").contains(value[0]))
        value.prepend(QLatin1Char('\''));
    value.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return '"' + value.toUtf8() + '"';
}

QByteArray CsvNumber(double value, int decimals) {
    return QByteArray::number(value, 'f', decimals);
}

}  // namespace

namespace {

QString Metres(double value) {
    return QCoreApplication::translate("logbook", "%1 м").arg(std::lround(value));
}
QString Rate(double value) {
    return QCoreApplication::translate("logbook", "%1 м/с").arg(value, 0, 'f', 1);
}
// The lines of FactsText measured from the track, and those the pilot wrote.
void AddTrackFacts(QStringList& lines, const TFlightEntry& e, const track::TCheckedTrack* checked);
void AddTextFacts(QStringList& lines, const TFlightEntry& e);

}  // namespace

QString SameFlightText(std::int64_t number) {
    return QCoreApplication::translate("logbook", "тот же полёт, что № %1").arg(number);
}

QString ZoneText(std::optional<int> minutes) {
    if (!minutes) return QStringLiteral("UTC");
    const int m = std::abs(*minutes);
    return QStringLiteral("UTC%1%2%3")
        .arg(*minutes < 0 ? QLatin1Char('-') : QLatin1Char('+'))
        .arg(m / 60)
        .arg(m % 60 ? QStringLiteral(":%1").arg(m % 60, 2, 10, QLatin1Char('0')) : QString());
}

QString ZoneSourceText(TZoneSource source) {
    switch (source) {
        case TZoneSource::Instrument:
            return QCoreApplication::translate("logbook", "по прибору");
        case TZoneSource::FileHeader:
            return QCoreApplication::translate("logbook", "из файла IGC (HFTZN)");
        case TZoneSource::Longitude:
            return QCoreApplication::translate("logbook", "по долготе места взлёта");
        case TZoneSource::Site:
            return QCoreApplication::translate("logbook", "по другому полёту с этого места");
        case TZoneSource::Computer:
            return QCoreApplication::translate("logbook", "по часам компьютера");
        case TZoneSource::Unknown:
            break;
    }
    return QCoreApplication::translate("logbook", "неизвестно");
}

TShownTime ShownTime(const TFlightEntry& e, device::TrackTime utc, bool inUtc) {
    if (inUtc || !e.utcOffsetMinutes) return {utc, ZoneText(std::nullopt)};
    return {utc + *e.utcOffsetMinutes * 60, ZoneText(e.utcOffsetMinutes)};
}

bool SiteRadiusAllowed(double metres) {
    return metres >= MinSiteRadiusMetres && metres <= MaxSiteRadiusMetres;
}

QString NoTrackText() { return QCoreApplication::translate("logbook", "без трека"); }

QString SiteRadiusRangeText() {
    return QCoreApplication::translate("logbook", "Радиус места взлёта: от %1 до %2 м")
        .arg(MinSiteRadiusMetres)
        .arg(MaxSiteRadiusMetres);
}

QString RenameOthersQuestion(const QString& site, double radiusMetres,
                             const std::vector<TFlightEntry>& others) {
    QStringList lines{
        QCoreApplication::translate(
            "logbook", "Назвать место \"%1\" и у этих полётов в пределах %2 м от взлёта (%3)?")
            .arg(site)
            .arg(std::lround(radiusMetres))
            .arg(FlightCountText(std::int64_t(others.size())))};
    for (const TFlightEntry& e : others)
        lines << QCoreApplication::translate("logbook", "  № %1  %2  %3")
                     .arg(e.number)
                     .arg(device::DateText(e.LocalTakeoff()),
                          e.site.isEmpty()
                              ? QCoreApplication::translate("logbook", "(место не названо)")
                              : e.site);
    return lines.join(QLatin1Char('\n'));
}

QString FactsText(const TFlightEntry& e, const track::TCheckedTrack* checked, bool inUtc) {
    QStringList lines;
    // Local time with its zone, and UTC beside it.
    auto when = [&e, inUtc](device::TrackTime utc) {
        const TShownTime shown = ShownTime(e, utc, inUtc);
        const QString text = device::TimeOfDayText(shown.time) + QLatin1Char(' ') + shown.zone;
        if (shown.time == utc && shown.zone == ZoneText(std::nullopt)) return text;
        return QStringLiteral("%1, %2 UTC").arg(text, device::TimeOfDayText(utc));
    };
    if (e.number > 0) lines << QCoreApplication::translate("logbook", "№ %1").arg(e.number);
    lines << QCoreApplication::translate("logbook", "Дата: %1")
                 .arg(device::DateText(ShownTime(e, e.takeoffUtc, inUtc).time));
    lines << QCoreApplication::translate("logbook", "Взлёт: %1").arg(when(e.takeoffUtc));
    lines << QCoreApplication::translate("logbook", "Посадка: %1").arg(when(e.landingUtc));
    if (e.utcOffsetMinutes)
        lines << QCoreApplication::translate("logbook", "Часовой пояс: %1, %2")
                     .arg(ZoneText(e.utcOffsetMinutes), ZoneSourceText(e.zoneSource));
    lines << QCoreApplication::translate("logbook", "Время полёта: %1")
                 .arg(device::DurationText(e.durationSeconds));
    const QString site =
        e.site.isEmpty() ? QCoreApplication::translate("logbook", "не названо") : e.site;
    if (e.Manual()) {
        lines << QCoreApplication::translate("logbook", "Место взлёта: %1").arg(site);
        lines << QCoreApplication::translate("logbook", "Трек: %1").arg(NoTrackText());
    } else {
        lines << QCoreApplication::translate("logbook", "Место взлёта: %1 (%2, %3), %4")
                     .arg(site)
                     .arg(e.takeoffLatitude, 0, 'f', 5)
                     .arg(e.takeoffLongitude, 0, 'f', 5)
                     .arg(Metres(e.takeoffAltitude));
        AddTrackFacts(lines, e, checked);
    }
    AddTextFacts(lines, e);
    return lines.join(QLatin1Char('\n'));
}

namespace {

void AddTrackFacts(QStringList& lines, const TFlightEntry& e, const track::TCheckedTrack* checked) {
    lines << QCoreApplication::translate("logbook", "Посадка: %1, %2, %3")
                 .arg(e.landingLatitude, 0, 'f', 5)
                 .arg(e.landingLongitude, 0, 'f', 5)
                 .arg(Metres(e.landingAltitude));
    lines << (checked ? QCoreApplication::translate("logbook", "Высота (%1)")
                            .arg(track::AltitudeSourceText(checked->altitude))
                      : QCoreApplication::translate("logbook", "Высота")) +
                 QCoreApplication::translate("logbook", ": наибольшая %1, наименьшая %2")
                     .arg(Metres(e.highestAltitude), Metres(e.lowestAltitude));
    if (checked && checked->leftOut > 0) lines << track::LeftOutText(checked->leftOut);
    lines << QCoreApplication::translate("logbook", "Набор: %1 за 1 с, %2 за 10 с")
                 .arg(Rate(e.climb1s), Rate(e.climb10s));
    lines << QCoreApplication::translate("logbook", "Снижение: %1 за 1 с, %2 за 10 с")
                 .arg(Rate(e.sink1s), Rate(e.sink10s));
    lines << QCoreApplication::translate("logbook", "Трек: %1 км, по прямой %2 км, %n точек",
                                         nullptr, e.fixCount)
                 .arg(KilometresText(e.trackLengthMetres), KilometresText(e.straightMetres));
}

void AddTextFacts(QStringList& lines, const TFlightEntry& e) {
    if (e.score) lines << QStringLiteral("XContest: %1").arg(ScoreText(e.score, e.scoreKind));
    if (!e.pilot.isEmpty())
        lines << QCoreApplication::translate("logbook", "Пилот: %1").arg(e.pilot);
    if (!e.civlId.isEmpty()) lines << QStringLiteral("CIVL ID: %1").arg(e.civlId);
    if (!e.glider.isEmpty())
        lines << QCoreApplication::translate("logbook", "Крыло: %1").arg(e.glider);
    if (!e.instrumentModel.isEmpty())
        lines << QCoreApplication::translate("logbook", "Прибор: %1%2")
                     .arg(e.instrumentModel, e.firmwareVersion ? QCoreApplication::translate(
                                                                     "logbook", ", прошивка %1")
                                                                     .arg(*e.firmwareVersion)
                                                               : QString());
    if (!e.notes.isEmpty())
        lines << QCoreApplication::translate("logbook", "Заметки: %1").arg(e.notes);
    if (e.sameFlightAs)
        lines << QCoreApplication::translate("logbook", "С другого прибора: %1")
                     .arg(SameFlightText(e.sameFlightNumber.value_or(*e.sameFlightAs)));
}

}  // namespace

QString FlightCountText(std::int64_t flights) {
    const int n = int(std::clamp<std::int64_t>(flights, 0, INT_MAX));
    // Russian forms for one, for two to four, and for the rest.
    const char* const forms[] = {QT_TRANSLATE_NOOP("logbook", "полёт"),
                                 QT_TRANSLATE_NOOP("logbook", "полёта"),
                                 QT_TRANSLATE_NOOP("logbook", "полётов")};
    const int tens = n % 100, units = n % 10;
    const bool teen = tens >= 11 && tens <= 14;
    const int form = !teen && units == 1 ? 0 : !teen && units >= 2 && units <= 4 ? 1 : 2;
    const QString counted = QCoreApplication::translate("logbook", "%n полётов", nullptr, n);
    // Without a translation loaded the source comes back with its one form;
    // Russian, the source language, still needs the other two.
    const auto russian = [n](const char* word) {
        return QStringLiteral("%1 %2").arg(n).arg(QString::fromUtf8(word));
    };
    return counted == russian(forms[2]) ? russian(forms[form]) : counted;
}

bool Mentions(const TFlightEntry& flight, const QString& text) {
    const QString wanted = text.trimmed();
    for (const QString* field : {&flight.site, &flight.glider, &flight.notes, &flight.pilot})
        if (field->contains(wanted, Qt::CaseInsensitive)) return true;
    return false;
}

QString NoSuchFlightText(std::int64_t number) {
    return QCoreApplication::translate("logbook", "Полёта %1 нет в журнале").arg(number);
}

QString KilometresText(double metres) { return QString::number(metres / 1000.0, 'f', 1); }

QString KindName(const QString& kind) {
    const scoring::TFlightKind* known = scoring::KindById(scoring::XContestRules(), kind);
    return known ? known->name : QString();
}

QString ScoreText(const std::optional<double>& score, const QString& kind) {
    if (!score) return {};
    const QString number = QString::number(*score, 'f', 2);
    const QString name = KindName(kind);
    return name.isEmpty() ? number : number + QLatin1Char(' ') + name;
}

namespace {
// The logbook's scores: XContest rules, and a bound on the search so that no
// odd track holds an import up (the best found by then is kept).
constexpr double ScoreTimeLimitSeconds = 30;
}  // namespace

namespace {
// The score and its kind as the logbook keeps them (0 and no kind when
// nothing scores).
scoring::TScoreResult BoundedScore(const std::vector<track::TFlightFix>& fixes) {
    scoring::TScoreOptions options;
    options.timeLimitSeconds = ScoreTimeLimitSeconds;
    return scoring::ScoreFlight(fixes, scoring::XContestRules(), options);
}

std::pair<double, QString> ScoreOf(const std::vector<track::TFlightFix>& fixes) {
    const scoring::TScoreResult result = BoundedScore(fixes);
    return {result.found ? result.score : 0, result.found ? result.kindId : QString()};
}

void ScoreEntry(TFlightEntry& entry, const std::vector<track::TFlightFix>& fixes) {
    std::tie(entry.score, entry.scoreKind) = ScoreOf(fixes);
}
}  // namespace

scoring::TFlightReport FlightReport(const std::vector<track::TFlightFix>& fixes) {
    scoring::TFlightReport report;
    report.score = BoundedScore(fixes);
    report.analysis = scoring::AnalyseFlight(fixes);
    return report;
}

void TLogbook::Score(std::int64_t id, const std::vector<track::TFlightFix>& fixes) {
    const auto [score, kind] = ScoreOf(fixes);
    store_.SetScore(id, score, kind);
}

int TLogbook::ScoreUnscored(const std::function<bool(int done, int total)>& progress) {
    const std::vector<std::int64_t> ids = store_.Unscored();
    int scored = 0;
    for (std::size_t i = 0; i < ids.size(); ++i) {
        if (progress && !progress(int(i), int(ids.size()))) break;
        const std::optional<TFlightEntry> entry = store_.Flight(ids[i]);
        if (!entry) continue;  // removed meanwhile
        std::vector<track::TFlightFix> fixes;
        try {
            fixes = FlightFixes(*entry);
        } catch (const device::TAppError&) {
            continue;  // its track file is gone or damaged: it stays unscored
        }
        Score(ids[i], fixes);
        ++scored;
    }
    return scored;
}

TLogbook::TLogbook(const QString& databasePath, int busyTimeoutMs)
    : store_(databasePath, busyTimeoutMs) {}

QString TLogbook::DefaultPath() {
    // Beside the settings backups, named in full so that the window program
    // and the command line share it.
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/Tolmarik/TolmarikProg/logbook.sqlite");
}

QString TLogbook::FilesFolder() const { return FilesFolderOf(store_.Path()); }

TBackupSummary TLogbook::Backup(const QString& target) {
    return WriteBackup(store_.Database(), store_.Path(), target);
}

QString TLogbook::StoredFilePath(const TFlightEntry& entry) const {
    return entry.storedFile.isEmpty() ? QString()
                                      : FilesFolder() + QLatin1Char('/') + entry.storedFile;
}

namespace {
const QString kSiteRadiusSetting = QStringLiteral("site_radius_m");

// The zone given, else that of the take-off's longitude (whole hours).
void SetZone(TFlightEntry& e, std::optional<int> known, TZoneSource source) {
    if (known) {
        e.utcOffsetMinutes = *known;
        e.zoneSource = source;
        return;
    }
    e.utcOffsetMinutes = int(std::lround(e.takeoffLongitude / 15.0)) * 60;
    e.zoneSource = TZoneSource::Longitude;
}
}  // namespace

double TLogbook::SiteRadius() {
    bool ok = false;
    const double stored = store_.Setting(kSiteRadiusSetting).toDouble(&ok);
    return ok && SiteRadiusAllowed(stored) ? stored : DefaultSiteRadiusMetres;
}

void TLogbook::SetSiteRadius(double metres) {
    if (!SiteRadiusAllowed(metres)) throw device::TAppError(SiteRadiusRangeText());
    store_.SetSetting(kSiteRadiusSetting, QString::number(metres));
}

QString TLogbook::SiteAt(double latitude, double longitude) {
    QString name;
    double nearest = SiteRadius();
    for (const TSite& site : store_.Sites()) {
        const double d =
            track::FixDistance(At(latitude, longitude), At(site.latitude, site.longitude));
        if (d <= nearest) {
            nearest = d;
            name = site.name;
        }
    }
    return name;
}

namespace {

// Two recordings of one flight split apart in memory follow each other with
// no more than a few fixes missing between them.
constexpr device::TrackTime JoinedGapSeconds = 60;
// Two recorders on one pilot: their fixes at the same times lie within this
// distance of each other (receivers differ by tens of metres; a phone in a
// pocket by a little more) for almost the whole flight, where pilots who
// took off together spread out within minutes.
constexpr double SameFlightMetres = 300;
constexpr double SameFlightShare = 0.95;
// Share of each flight's time in the air that both recordings must cover.
constexpr double SameFlightOverlap = 0.8;
// A fix of the other recording counts as "at the same time" this close.
constexpr device::TrackTime PairSeconds = 5;
// Fewer fixes at the same times than this tell nothing.
constexpr std::size_t FewestPairs = 30;
constexpr double SameRecordingShare = 0.9;

// As an IGC header holds it (the program writes names transliterated), so
// that "Иван" and "Ivan" are one pilot.
QString PilotName(const QString& pilot) {
    return QString::fromLatin1(track::IgcAscii(pilot.simplified())).toCaseFolded().simplified();
}

bool DifferentPilots(const TFlightEntry& a, const TFlightEntry& b) {
    const QString x = PilotName(a.pilot), y = PilotName(b.pilot);
    return !x.isEmpty() && !y.isEmpty() && x != y;
}

QString PilotKey(const QString& pilot) {
    return QString::fromLatin1(
        QCryptographicHash::hash(PilotName(pilot).toUtf8(), QCryptographicHash::Sha256)
            .toHex()
            .left(16));
}

enum class TSameness { Different, SameRecording, Continues, OtherRecorder };

bool SamePosition(const track::TFlightFix& a, const track::TFlightFix& b) {
    // Thousandths of a minute: what an IGC file keeps of a position.
    return std::llround(a.latitude * 60000) == std::llround(b.latitude * 60000) &&
           std::llround(a.longitude * 60000) == std::llround(b.longitude * 60000);
}

bool Timed(const track::TCheckedTrack& t) {
    return !t.fixes.empty() && t.fixes.front().hasTime && t.fixes.back().hasTime;
}

TSameness Sameness(const track::TCheckedTrack& mine, const TFlightEntry& mineEntry,
                   const track::TCheckedTrack& theirs, const TFlightEntry& theirsEntry) {
    if (!Timed(mine) || !Timed(theirs)) return TSameness::Different;
    const std::vector<track::TFlightFix>&a = mine.fixes, &b = theirs.fixes;
    // The same seconds with the same positions: the same recording again.
    std::size_t shared = 0, same = 0, paired = 0, near = 0;
    const device::TrackTime from = std::max(mineEntry.takeoffUtc, theirsEntry.takeoffUtc);
    const device::TrackTime to = std::min(mineEntry.landingUtc, theirsEntry.landingUtc);
    std::size_t j = 0;
    for (const track::TFlightFix& f : a) {
        while (j + 1 < b.size() && b[j + 1].time <= f.time) ++j;
        std::size_t k = j;
        if (j + 1 < b.size() && b[j + 1].time - f.time < f.time - b[j].time) k = j + 1;
        const device::TrackTime dt = std::llabs(b[k].time - f.time);
        if (dt == 0) {
            ++shared;
            if (SamePosition(f, b[k])) ++same;
        }
        if (dt <= PairSeconds && f.time >= from && f.time <= to) {
            ++paired;
            if (track::FixDistance(f, b[k]) <= SameFlightMetres) ++near;
        }
    }
    if (shared >= std::min<std::size_t>(FewestPairs, std::min(a.size(), b.size())) &&
        double(same) >= SameRecordingShare * double(shared) && shared > 0)
        return TSameness::SameRecording;
    if (shared == 0) {
        const bool after = a.front().time > b.back().time &&
                           a.front().time - b.back().time <= JoinedGapSeconds &&
                           track::Reachable(b.back(), a.front());
        const bool before = b.front().time > a.back().time &&
                            b.front().time - a.back().time <= JoinedGapSeconds &&
                            track::Reachable(a.back(), b.front());
        if (after || before) return TSameness::Continues;
    }
    const auto airborne = [](const TFlightEntry& e) { return double(e.landingUtc - e.takeoffUtc); };
    const double overlap = double(to - from);
    if (paired >= FewestPairs && double(near) >= SameFlightShare * double(paired) &&
        overlap >= SameFlightOverlap * airborne(mineEntry) &&
        overlap >= SameFlightOverlap * airborne(theirsEntry))
        return TSameness::OtherRecorder;
    return TSameness::Different;
}

// Two parts of one recording, one after the other in time, as one flight.
track::TCheckedTrack Joined(const track::TCheckedTrack& a, const track::TCheckedTrack& b) {
    const bool aFirst = a.fixes.front().time < b.fixes.front().time;
    const track::TCheckedTrack& first = aFirst ? a : b;
    const track::TCheckedTrack& second = aFirst ? b : a;
    track::TCheckedTrack joined = first;
    joined.fixes.insert(joined.fixes.end(), second.fixes.begin(), second.fixes.end());
    joined.recorded.insert(joined.recorded.end(), second.recorded.begin(), second.recorded.end());
    joined.leftOut += second.leftOut;
    return joined;
}

}  // namespace

QString TLogbook::StoreTrackFile(const TFlightEntry& entry, const QByteArray& trackFile,
                                 const QString& suffix) {
    const QString local = device::DateText(entry.LocalTakeoff());
    const QString stored = local.left(4) + QLatin1Char('/') + local + QLatin1Char('_') +
                           device::TimeOfDayText(entry.takeoffUtc).remove(QLatin1Char(':')) +
                           QLatin1Char('_') + entry.identity.left(12) + suffix;
    const QString target = FilesFolder() + QLatin1Char('/') + stored;
    if (!QDir().mkpath(QFileInfo(target).absolutePath()))
        throw device::TAppError(device::FolderNotMadeText(Shown(QFileInfo(target).absolutePath())));
    device::WriteFileSafely(target, trackFile);
    return stored;
}

TRecordOutcome TLogbook::Record(TFlightEntry entry, const track::TCheckedTrack& flight,
                                const QByteArray& trackFile, const QString& suffix,
                                const std::function<void(TFlightEntry&)>& score) {
    TRecordOutcome outcome;
    try {
        if (const auto found = store_.FindIdentity(entry.identity)) {
            const std::optional<TFlightEntry> other = store_.Flight(*found);
            if (!other || !DifferentPilots(*other, entry))
                return {TRecordResult::AlreadyKept, *found, {}};
            // The same fixes under another pilot's name (copies handed round
            // in a competition): a flight of its own.
            entry.identity += QLatin1Char(':') + PilotKey(entry.pilot);
            if (const auto again = store_.FindIdentity(entry.identity))
                return {TRecordResult::AlreadyKept, *again, {}};
        }
        std::optional<TFlightEntry> replaced;
        track::TCheckedTrack joined;
        for (const TFlightEntry& other : store_.FlightsWithin(
                 entry.takeoffUtc - JoinedGapSeconds, entry.landingUtc + JoinedGapSeconds)) {
            if (DifferentPilots(other, entry)) continue;
            track::TCheckedTrack theirs;
            try {
                theirs = CheckedFlight(other);
            } catch (const device::TAppError&) {
                continue;  // its track is gone: nothing to compare with
            }
            const TSameness same = Sameness(flight, entry, theirs, other);
            if (same == TSameness::SameRecording) {
                // A rescan or a second import of what is kept: the fuller
                // recording stands in the one entry.
                if (flight.fixes.size() <= theirs.fixes.size())
                    return {TRecordResult::AlreadyKept, other.id, {}};
                replaced = other;
                break;
            }
            if (same == TSameness::Continues) {
                // Two parts of one recording (a flight split by another
                // flight's memory): one entry for the whole flight.
                joined = Joined(theirs, flight);
                replaced = other;
                break;
            }
            if (same == TSameness::OtherRecorder && !entry.sameFlightAs)
                entry.sameFlightAs = other.sameFlightAs.value_or(other.id);
        }
        // Said before the copy, which would be left without its entry.
        store_.CheckWritable();
        if (replaced)
            return Replace(*replaced, std::move(entry), flight, joined, trackFile, suffix);
        // Scored before it is written: the entry is kept with its score in
        // one transaction.
        if (score) score(entry);
        if (entry.site.isEmpty())
            entry.site = SiteAt(entry.takeoffLatitude, entry.takeoffLongitude);
        // The copy first: a process killed in between leaves a spare file,
        // never an entry without its track.
        entry.storedFile = StoreTrackFile(entry, trackFile, suffix);
        try {
            outcome.id = store_.Insert(entry);
        } catch (const device::TAppError&) {
            // Another program may have kept the same flight meanwhile.
            if (const auto found = store_.FindIdentity(entry.identity))
                return {TRecordResult::AlreadyKept, *found, {}};
            // No entry names the copy: it would only mislead.
            QFile::remove(FilesFolder() + QLatin1Char('/') + entry.storedFile);
            throw;
        }
        outcome.result = TRecordResult::Added;
    } catch (const device::TAppError& error) {
        outcome.result = TRecordResult::LogbookFailed;
        outcome.error = error.Text();
    }
    return outcome;
}

TRecordOutcome TLogbook::Replace(const TFlightEntry& kept, TFlightEntry entry,
                                 const track::TCheckedTrack& flight,
                                 const track::TCheckedTrack& joined, const QByteArray& trackFile,
                                 const QString& suffix) {
    // What the pilot wrote stays; what the track gives is measured anew.
    const bool isJoined = !joined.fixes.empty();
    if (isJoined) MeasureFlight(joined, entry);
    for (auto [text, old] : {std::pair{&entry.site, &kept.site},
                             {&entry.glider, &kept.glider},
                             {&entry.gliderId, &kept.gliderId},
                             {&entry.civlId, &kept.civlId},
                             {&entry.notes, &kept.notes},
                             {&entry.pilot, &kept.pilot}})
        if (!old->isEmpty()) *text = *old;
    entry.sameFlightAs = kept.sameFlightAs;
    if (entry.site.isEmpty()) entry.site = SiteAt(entry.takeoffLatitude, entry.takeoffLongitude);
    if (isJoined) {
        track::TPilotProfile pilot;
        pilot.pilot = entry.pilot;
        pilot.gliderType = entry.glider;
        pilot.gliderId = entry.gliderId;
        pilot.civlId = entry.civlId;
        entry.storedFile =
            StoreTrackFile(entry, track::IgcText(joined.fixes, {}, pilot), QStringLiteral(".igc"));
    } else {
        entry.storedFile = StoreTrackFile(entry, trackFile, suffix);
    }
    ScoreEntry(entry, isJoined ? joined.fixes : flight.fixes);
    store_.Replace(kept.id, entry);
    return {TRecordResult::AlreadyKept, kept.id, {}};
}

TRecordOutcome TLogbook::RecordDownload(const TDownloadedFlight& download,
                                        const track::TPilotProfile& profile) {
    static const track::TCheckedTrack nothing;
    const track::TCheckedTrack& downloaded = download.checked ? *download.checked : nothing;
    QByteArray igc;
    QString igcPath;
    for (const QString& file : download.files) {
        if (!file.endsWith(QLatin1String(".igc"), Qt::CaseInsensitive)) continue;
        try {
            igc = device::ReadRegularFile(file, MaxTrackFileBytes);
            igcPath = file;
        } catch (const device::TAppError&) {
            igc.clear();  // gone already: written anew below
        }
    }
    if (igc.isEmpty()) {
        track::TIgcInstrument instrument;
        instrument.model = download.model;
        instrument.firmwareVersion = download.firmwareVersion;
        igc = track::IgcText(downloaded.recorded, instrument, profile);
    }
    // Measured and scored from the logbook's own copy, so that its figures
    // are those of the file a pilot or another program reads.
    track::TCheckedTrack flight;
    try {
        flight = track::ParseIgc(igc, igcPath);
    } catch (const device::TAppError&) {
        flight = downloaded;
    }
    TFlightEntry entry;
    if (!MeasureFlight(flight, entry))
        return {TRecordResult::NoFlight, 0,
                QCoreApplication::translate("logbook", "В скачанном полёте нет точек со временем")};
    SetZone(entry,
            download.timeZoneByte
                ? std::optional<int>(int(std::int8_t(*download.timeZoneByte)) * 60)
                : std::nullopt,
            TZoneSource::Instrument);
    if (download.model) entry.instrumentModel = models::GetModelName(*download.model);
    if (download.firmwareVersion) entry.firmwareVersion = *download.firmwareVersion;
    entry.pilot = profile.pilot;
    entry.glider = profile.gliderType;
    entry.gliderId = profile.gliderId;
    entry.civlId = profile.civlId;
    entry.source = QStringLiteral("download");
    entry.downloadFiles = download.files;
    entry.sourcePath = igcPath;
    return Record(std::move(entry), flight, igc, QStringLiteral(".igc"),
                  [&flight](TFlightEntry& e) { ScoreEntry(e, flight.fixes); });
}

namespace {

// A flight of an import's file, measured and ready to be kept.
struct TPreparedFlight {
    TFlightEntry entry;
    track::TCheckedTrack flight;
};

// A file of an import read, parsed and measured: work that needs no
// logbook, done on several threads at once.
struct TPrepared {
    bool read = false;
    TRecordOutcome failure;  // when not read
    QByteArray bytes;
    QString suffix;
    std::vector<TPreparedFlight> flights;
};

TPrepared Prepare(const QString& path, const track::TPilotProfile& profile) {
    TPrepared p;
    try {
        // Read once: parsed, and kept as it is.
        p.bytes = device::ReadRegularFile(path, MaxTrackFileBytes + 1);
        if (p.bytes.size() > MaxTrackFileBytes)
            throw device::TAppError(device::TrackFileTooLargeText(Shown(path)));
        track::TTrackFile file = track::ParseTrackFile(p.bytes, path);
        for (track::TCheckedTrack& flight : file.flights) {
            TPreparedFlight prepared;
            TFlightEntry& entry = prepared.entry;
            if (!MeasureFlight(flight, entry)) continue;
            entry.pilot = file.pilot.isEmpty() ? profile.pilot : file.pilot;
            entry.glider = file.gliderType.isEmpty() ? profile.gliderType : file.gliderType;
            entry.gliderId = file.gliderId.isEmpty() ? profile.gliderId : file.gliderId;
            // The profile's id only for a file of the profile's pilot.
            const bool ownFile =
                file.pilot.isEmpty() || PilotName(file.pilot) == PilotName(profile.pilot);
            entry.civlId = !file.civlId.isEmpty() ? file.civlId
                           : ownFile              ? profile.civlId
                                                  : QString();
            entry.source = QStringLiteral("import");
            entry.sourcePath = QFileInfo(path).absoluteFilePath();
            entry.site = file.site;
            SetZone(entry, file.utcOffsetMinutes, TZoneSource::FileHeader);
            prepared.flight = std::move(flight);
            p.flights.push_back(std::move(prepared));
        }
        if (p.flights.empty()) {
            p.failure = {
                TRecordResult::NoFlight, 0,
                QCoreApplication::translate("logbook", "Файл \"%1\": в треке нет точек со временем")
                    .arg(Shown(path))};
            return p;
        }
        p.suffix = file.format == track::TTrackFormat::Igc ? QStringLiteral(".igc")
                                                           : QStringLiteral(".gpx");
        p.read = true;
    } catch (const device::TAppError& error) {
        p.failure = {TRecordResult::Failed, 0, error.Text()};
    }
    return p;
}

// Calls work(0) to work(count - 1), each once, on this thread and as many
// others as the processor has cores.
void RunParallel(int count, const std::function<void(int)>& work) {
    std::atomic<int> next{0};
    const auto worker = [&] {
        for (int i = next++; i < count; i = next++) work(i);
    };
    std::vector<std::thread> helpers;
    for (int t = 1; t < std::min(count, QThread::idealThreadCount()); ++t)
        helpers.emplace_back(worker);
    worker();
    for (std::thread& helper : helpers) helper.join();
}

}  // namespace

std::vector<TRecordOutcome> TLogbook::ImportFile(const QString& path,
                                                 const track::TPilotProfile& profile) {
    TPrepared p = Prepare(path, profile);
    if (!p.read) return {p.failure};
    std::vector<TRecordOutcome> outcomes;
    for (TPreparedFlight& f : p.flights) {
        const track::TCheckedTrack& flight = f.flight;
        outcomes.push_back(Record(std::move(f.entry), flight, p.bytes, p.suffix,
                                  [&flight](TFlightEntry& e) { ScoreEntry(e, flight.fixes); }));
    }
    return outcomes;
}

QStringList TLogbook::TrackFilesUnder(const QStringList& paths, QStringList* skipped) {
    QStringList files;
    for (const QString& path : paths) {
        if (!device::IsFolder(path)) {
            files << path;  // a missing or odd file is named by the import
            continue;
        }
        QStringList found;
        QStringList folders{path};
        while (!folders.isEmpty()) {
            const QString folder = folders.takeLast();
            std::vector<device::TFolderEntry> entries;
            try {
                entries = device::FolderEntries(folder);
            } catch (const device::TAppError& error) {
                if (skipped) *skipped << error.Text();
                continue;
            }
            for (const device::TFolderEntry& entry : entries) {
                if (entry.folder)
                    folders << entry.path;
                else if (track::IsTrackFileName(entry.path))
                    found << entry.path;  // an odd one is named by the import
                else if (skipped)
                    *skipped << QCoreApplication::translate(
                                    "logbook",
                                    "Файл \"%1\" пропущен: по имени это не трек IGC или GPX")
                                    .arg(Shown(entry.path));
            }
        }
        found.sort();
        files << found;
    }
    return files;
}

TImportReport TLogbook::Import(const QStringList& paths, const track::TPilotProfile& profile,
                               const TImportProgress& progress) {
    TImportReport report;
    const QStringList files = TrackFilesUnder(paths, &report.skipped);
    // A few files at a time are read and scored on every core; the logbook
    // takes them one by one, in order, on this thread.
    const int batch = 2 * std::max(1, QThread::idealThreadCount());
    std::vector<TPrepared> prepared;
    for (int i = 0; i < files.size(); ++i) {
        if (progress && !progress(i, int(files.size()), files[i])) {
            report.cancelled = true;
            return report;
        }
        const int first = i - i % batch;
        if (i == first) {
            prepared.assign(std::size_t(std::min<qsizetype>(batch, files.size() - first)), {});
            const int count = int(prepared.size());
            RunParallel(count, [&](int k) { prepared[k] = Prepare(files[first + k], profile); });
            // Flights kept already are not scored again.
            std::vector<TPreparedFlight*> fresh;
            for (TPrepared& p : prepared) {
                if (!p.read) continue;
                for (TPreparedFlight& f : p.flights) {
                    try {
                        if (!store_.FindIdentity(f.entry.identity)) fresh.push_back(&f);
                    } catch (const device::TAppError&) {
                        // Recording it says why.
                    }
                }
            }
            RunParallel(int(fresh.size()),
                        [&](int k) { ScoreEntry(fresh[k]->entry, fresh[k]->flight.fixes); });
        }
        TPrepared& p = prepared[std::size_t(i - first)];
        std::vector<TRecordOutcome> outcomes;
        if (!p.read) outcomes.push_back(p.failure);
        for (TPreparedFlight& f : p.flights) {
            const track::TCheckedTrack& flight = f.flight;
            // Scored above, unless the logbook kept it meanwhile and keeps
            // it no longer.
            const bool scored = f.entry.score.has_value();
            outcomes.push_back(Record(std::move(f.entry), flight, p.bytes, p.suffix,
                                      [&flight, scored](TFlightEntry& e) {
                                          if (!scored) ScoreEntry(e, flight.fixes);
                                      }));
        }
        for (const TRecordOutcome& outcome : outcomes) {
            switch (outcome.result) {
                case TRecordResult::Added:
                    ++report.added;
                    break;
                case TRecordResult::AlreadyKept:
                    ++report.alreadyKept;
                    break;
                case TRecordResult::NoFlight:
                case TRecordResult::Failed:
                    ++report.failed;
                    report.errors << outcome.error;
                    break;
                case TRecordResult::LogbookFailed:
                    // Every further file would fail the same way.
                    report.logbookFailed = true;
                    report.errors << outcome.error;
                    return report;
            }
        }
    }
    if (progress) progress(int(files.size()), int(files.size()), QString());
    return report;
}

std::vector<TFlightEntry> TLogbook::Flights(std::optional<int> year) {
    return store_.Flights(year);
}

namespace {
bool Shows(const TFlightFilter& filter, const TFlightEntry& e) {
    const QDate day = QDate::fromString(device::DateText(e.LocalTakeoff()), Qt::ISODate);
    return (filter.text.trimmed().isEmpty() || Mentions(e, filter.text)) &&
           (!filter.from.isValid() || day >= filter.from) &&
           (!filter.to.isValid() || day <= filter.to);
}
}  // namespace

std::vector<TFlightEntry> TLogbook::Flights(const TFlightFilter& filter) {
    std::vector<TFlightEntry> flights = store_.Flights();
    std::erase_if(flights, [&](const TFlightEntry& e) { return !Shows(filter, e); });
    return flights;
}

std::vector<std::int64_t> TLogbook::Matching(const TFlightFilter& filter) {
    std::vector<std::int64_t> ids;
    for (const TFlightEntry& e : store_.SearchRows())
        if (Shows(filter, e)) ids.push_back(e.id);
    return ids;
}

namespace {

void AddTo(TTotals& t, const TFlightEntry& e) {
    ++t.flights;
    t.seconds += e.durationSeconds;
    t.metres += e.trackLengthMetres;
}

}  // namespace

QString TotalsByTitle(TTotalsBy by) {
    switch (by) {
        case TTotalsBy::Year:
            return QCoreApplication::translate("logbook", "По годам");
        case TTotalsBy::Month:
            return QCoreApplication::translate("logbook", "По месяцам");
        case TTotalsBy::Site:
            return QCoreApplication::translate("logbook", "По местам");
        case TTotalsBy::Glider:
            return QCoreApplication::translate("logbook", "По крыльям");
    }
    return {};
}

std::vector<TTotalsRow> TLogbook::TotalsBy(const std::vector<TFlightEntry>& flights, TTotalsBy by) {
    std::map<QString, TTotals> groups;
    for (const TFlightEntry& e : flights) {
        if (e.sameFlightAs) continue;  // counted in the other recorder's entry
        const QString date = device::DateText(e.LocalTakeoff());
        switch (by) {
            case TTotalsBy::Year:
                AddTo(groups[date.left(4)], e);
                break;
            case TTotalsBy::Month:
                AddTo(groups[date.left(7)], e);
                break;
            case TTotalsBy::Site:
                AddTo(groups[e.site.trimmed()], e);
                break;
            case TTotalsBy::Glider:
                AddTo(groups[e.glider.trimmed()], e);
                break;
        }
    }
    std::vector<TTotalsRow> rows;
    if (by == TTotalsBy::Year || by == TTotalsBy::Month) {
        for (auto it = groups.rbegin(); it != groups.rend(); ++it)
            rows.push_back({it->first, it->second});
        return rows;
    }
    for (const auto& [key, t] : groups)
        rows.push_back({!key.isEmpty() ? key
                        : by == TTotalsBy::Site
                            ? QCoreApplication::translate("logbook", "(место не названо)")
                            : QCoreApplication::translate("logbook", "(крыло не указано)"),
                        t});
    std::stable_sort(rows.begin(), rows.end(), [](const TTotalsRow& a, const TTotalsRow& b) {
        return a.totals.seconds > b.totals.seconds;
    });
    return rows;
}

TLogbookTotals TLogbook::Totals(const std::vector<TFlightEntry>& flights) {
    TLogbookTotals totals;
    for (const TFlightEntry& e : flights)
        if (!e.sameFlightAs) AddTo(totals.all, e);
    totals.byYear = TotalsBy(flights, TTotalsBy::Year);
    totals.byGlider = TotalsBy(flights, TTotalsBy::Glider);
    return totals;
}

std::vector<TLogbookRecord> TLogbook::Records(const std::vector<TFlightEntry>& flights) {
    struct TKind {
        TRecordKind kind;
        QString title;
        std::function<std::optional<double>(const TFlightEntry&)> measure;
        std::function<QString(const TFlightEntry&)> shown;
    };
    const TKind kinds[] = {
        {TRecordKind::LongestFlight, QCoreApplication::translate("logbook", "Самый долгий полёт"),
         [](const TFlightEntry& e) { return std::optional<double>(e.durationSeconds); },
         [](const TFlightEntry& e) {
             return device::DurationText(e.durationSeconds) +
                    QCoreApplication::translate("logbook", " ч");
         }},
        {TRecordKind::LongestDistance,
         QCoreApplication::translate("logbook", "Дальше всего от взлёта до посадки"),
         [](const TFlightEntry& e) { return std::optional<double>(e.straightMetres); },
         [](const TFlightEntry& e) {
             return KilometresText(e.straightMetres) +
                    QCoreApplication::translate("logbook", " км");
         }},
        {TRecordKind::BestScore, QCoreApplication::translate("logbook", "Лучшая оценка XContest"),
         [](const TFlightEntry& e) {
             return e.score && !e.scoreKind.isEmpty() ? e.score : std::nullopt;
         },
         [](const TFlightEntry& e) { return ScoreText(e.score, e.scoreKind); }},
        {TRecordKind::HighestAltitude,
         QCoreApplication::translate("logbook", "Самая большая высота"),
         [](const TFlightEntry& e) { return std::optional<double>(e.highestAltitude); },
         [](const TFlightEntry& e) { return Metres(e.highestAltitude); }},
        {TRecordKind::BestClimb, QCoreApplication::translate("logbook", "Лучший набор за 10 с"),
         [](const TFlightEntry& e) { return std::optional<double>(e.climb10s); },
         [](const TFlightEntry& e) { return Rate(e.climb10s); }},
    };
    // Earliest first, so that a tie goes to the flight that set the record.
    std::vector<const TFlightEntry*> counted;
    for (const TFlightEntry& e : flights)
        if (!e.sameFlightAs) counted.push_back(&e);
    std::stable_sort(counted.begin(), counted.end(),
                     [](const TFlightEntry* a, const TFlightEntry* b) {
                         return std::tie(a->takeoffUtc, a->id) < std::tie(b->takeoffUtc, b->id);
                     });
    std::vector<TLogbookRecord> records;
    for (const TKind& kind : kinds) {
        const TFlightEntry* best = nullptr;
        double bestValue = 0;
        for (const TFlightEntry* e : counted) {
            const std::optional<double> value = kind.measure(*e);
            if (value && (!best || *value > bestValue)) {
                best = e;
                bestValue = *value;
            }
        }
        if (best)
            records.push_back({kind.kind, kind.title, kind.shown(*best), best->id, best->number,
                               best->LocalTakeoff()});
    }
    return records;
}

QByteArray TLogbook::CsvText(const std::vector<TFlightEntry>& flights, bool inUtc) {
    // The header follows the language; the columns and their order do not.
    const QString columns[] = {
        QCoreApplication::translate("logbook", "Дата"),
        QCoreApplication::translate("logbook", "Взлёт"),
        QCoreApplication::translate("logbook", "Посадка"),
        QCoreApplication::translate("logbook", "Взлёт UTC"),
        QCoreApplication::translate("logbook", "Посадка UTC"),
        track::DurationTitle(),
        QCoreApplication::translate("logbook", "Место"),
        QCoreApplication::translate("logbook", "Наибольшая высота, м"),
        QCoreApplication::translate("logbook", "Наименьшая высота, м"),
        QCoreApplication::translate("logbook", "Длина трека, км"),
        QCoreApplication::translate("logbook", "Взлёт - посадка, км"),
        QCoreApplication::translate("logbook", "Набор 10 с, м/с"),
        QCoreApplication::translate("logbook", "Снижение 10 с, м/с"),
        QCoreApplication::translate("logbook", "Точек"),
        QCoreApplication::translate("logbook", "Крыло"),
        QCoreApplication::translate("logbook", "Пилот"),
        QCoreApplication::translate("logbook", "Прибор"),
        QCoreApplication::translate("logbook", "Заметки"),
        // Added later: after the columns scripts may count on.
        QCoreApplication::translate("logbook", "№"),
        QCoreApplication::translate("logbook", "Широта взлёта"),
        QCoreApplication::translate("logbook", "Долгота взлёта"),
        QCoreApplication::translate("logbook", "XContest, б"),
        QCoreApplication::translate("logbook", "Вид полёта"),
        // The zone of the date, takeoff and landing columns, and its source.
        QCoreApplication::translate("logbook", "Пояс"),
        QCoreApplication::translate("logbook", "Пояс определён"),
        QCoreApplication::translate("logbook", "Трек"),
    };
    QList<QByteArray> header;
    for (const QString& column : columns) header << CsvField(column);
    QByteArray out = header.join(',') + "\r\n";
    for (const TFlightEntry& e : flights) {
        const TShownTime takeoff = ShownTime(e, e.takeoffUtc, inUtc);
        const QList<QByteArray> fields = {
            device::DateText(takeoff.time).toUtf8(),
            device::TimeOfDayText(takeoff.time).toUtf8(),
            device::TimeOfDayText(ShownTime(e, e.landingUtc, inUtc).time).toUtf8(),
            device::TimeOfDayText(e.takeoffUtc).toUtf8(),
            device::TimeOfDayText(e.landingUtc).toUtf8(),
            device::DurationText(e.durationSeconds).toUtf8(),
            CsvField(e.site),
            CsvNumber(e.highestAltitude, 0),
            CsvNumber(e.lowestAltitude, 0),
            CsvNumber(e.trackLengthMetres / 1000, 2),
            CsvNumber(e.straightMetres / 1000, 2),
            CsvNumber(e.climb10s, 1),
            CsvNumber(e.sink10s, 1),
            QByteArray::number(e.fixCount),
            CsvField(e.glider),
            CsvField(e.pilot),
            CsvField(e.instrumentModel),
            CsvField(e.notes),
            // The number at the time of the export (see TFlightEntry::number).
            QByteArray::number(qint64(e.number)),
            e.Manual() ? QByteArray() : CsvNumber(e.takeoffLatitude, 6),
            e.Manual() ? QByteArray() : CsvNumber(e.takeoffLongitude, 6),
            e.score ? CsvNumber(*e.score, 2) : QByteArray(),
            CsvField(KindName(e.scoreKind)),
            CsvField(takeoff.zone),
            CsvField(inUtc ? QString() : ZoneSourceText(e.zoneSource)),
            CsvField(e.Manual() ? NoTrackText() : QString()),
        };
        out += fields.join(',') + "\r\n";
    }
    return out;
}

void TLogbook::ExportCsv(const std::vector<TFlightEntry>& flights, const QString& path,
                         bool inUtc) {
    device::WriteFileSafely(path, CsvText(flights, inUtc));
}

track::TCheckedTrack TLogbook::CheckedFlight(const TFlightEntry& entry) {
    const QString path = StoredFilePath(entry);
    if (path.isEmpty())
        throw device::TAppError(QCoreApplication::translate("logbook", "У полёта нет файла трека"));
    return ReadEntryFlight(path, entry.takeoffUtc);
}

track::TCheckedTrack ReadEntryFlight(const QString& path, device::TrackTime takeoffUtc) {
    std::vector<track::TCheckedTrack> flights = track::ReadTrackFileDetails(path).flights;
    if (flights.empty()) throw device::TAppError(device::NoTrackPointsText(Shown(path)));
    // A file of several flights is kept once per flight: the entry's is the
    // one in the air at its take-off.
    for (track::TCheckedTrack& flight : flights) {
        const std::vector<track::TFlightFix>& f = flight.fixes;
        if (!f.empty() && f.front().hasTime && f.front().time <= takeoffUtc &&
            f.back().time >= takeoffUtc)
            return std::move(flight);
    }
    return std::move(flights.front());
}

std::vector<track::TFlightFix> TLogbook::FlightFixes(const TFlightEntry& entry) {
    return CheckedFlight(entry).fixes;
}

void TLogbook::Merge(std::int64_t kept, std::int64_t other) {
    if (kept == other) return;
    const std::optional<TFlightEntry> first = store_.Flight(kept);
    if (!first) throw device::TAppError(NoSuchFlightText(kept));
    if (!store_.Flight(other)) throw device::TAppError(NoSuchFlightText(other));
    const std::int64_t root = first->sameFlightAs.value_or(kept);
    if (root == other) {
        // The other way round: `kept` becomes the one that counts.
        store_.SetSameFlight(kept, std::nullopt);
        store_.SetSameFlight(other, kept);
        return;
    }
    store_.SetSameFlight(other, root);
}

void TLogbook::Unmerge(std::int64_t id) {
    if (!store_.Flight(id)) throw device::TAppError(NoSuchFlightText(id));
    store_.SetSameFlight(id, std::nullopt);
}

void TLogbook::ExportKml(std::int64_t id, const QString& path) {
    const std::optional<TFlightEntry> entry = store_.Flight(id);
    if (!entry) throw device::TAppError(NoSuchFlightText(id));
    track::TKmlFlight flight;
    flight.fixes = FlightFixes(*entry);
    flight.name = device::DateText(entry->LocalTakeoff()) +
                  (entry->site.isEmpty() ? QString() : QStringLiteral(" ") + entry->site);
    flight.facts = track::FlightFacts(flight.fixes);
    if (!entry->pilot.isEmpty())
        flight.facts.emplace_back(QCoreApplication::translate("logbook", "Пилот"), entry->pilot);
    if (!entry->glider.isEmpty())
        flight.facts.emplace_back(QCoreApplication::translate("logbook", "Крыло"), entry->glider);
    if (!entry->site.isEmpty())
        flight.facts.emplace_back(QCoreApplication::translate("logbook", "Место"), entry->site);
    track::WriteKmlFile(path, flight);
}

std::vector<TFlightEntry> TLogbook::SitesToRename(std::int64_t id, const QString& site) {
    const std::optional<TFlightEntry> entry = store_.Flight(id);
    if (!entry || entry->Manual()) return {};
    const QString name = site.trimmed();
    const double radius = SiteRadius();
    const track::TFlightFix here = At(entry->takeoffLatitude, entry->takeoffLongitude);
    std::vector<TFlightEntry> near;
    for (TFlightEntry& other : store_.Flights())
        if (other.id != id && !other.Manual() && other.site != name &&
            track::FixDistance(here, At(other.takeoffLatitude, other.takeoffLongitude)) <= radius)
            near.push_back(std::move(other));
    return near;
}

void TLogbook::Edit(std::int64_t id, const QString& site, const QString& glider,
                    const QString& notes, const std::vector<std::int64_t>& alsoNamed) {
    const std::optional<TFlightEntry> entry = store_.Flight(id);
    if (!entry) return;
    const QString name = site.trimmed();
    const bool naming = !name.isEmpty() && name != entry->site;
    std::vector<std::int64_t> others;
    if (!name.isEmpty())
        for (const std::int64_t other : alsoNamed)
            if (other != id) others.push_back(other);
    std::vector<std::int64_t> kept = others;
    kept.push_back(id);
    const std::int64_t change = store_.KeepForUndo(QStringLiteral("edit"), id, kept);
    // The entry's own texts last: an edit cut short (another program's
    // lock) and made again then names the site as the first would have.
    if (naming && !entry->Manual() &&
        SiteAt(entry->takeoffLatitude, entry->takeoffLongitude) != name)
        store_.NoteAddedSite(change,
                             store_.AddSite(name, entry->takeoffLatitude, entry->takeoffLongitude));
    if (!others.empty()) store_.NameSites(others, name);
    store_.UpdateTexts(id, name, glider.trimmed(), notes);
}

namespace {
// `time` on `date` as given, in seconds since the epoch (no zone applied).
std::optional<device::TrackTime> WallClock(const QDate& date, const QTime& time) {
    device::TrackTime t = 0;
    if (!date.isValid() || !time.isValid() ||
        !device::MakeTrackTime(date.year(), date.month(), date.day(), time.hour(), time.minute(),
                               time.second(), t))
        return std::nullopt;
    return t;
}

// The longest flight a pilot may enter by hand.
constexpr std::int64_t MaxManualSeconds = 24 * 3600;
}  // namespace

void TLogbook::EditTakeoff(std::int64_t id, const QDate& date, const QTime& takeoff) {
    std::optional<TFlightEntry> entry = store_.Flight(id);
    const std::optional<device::TrackTime> local = WallClock(date, takeoff);
    if (!entry) return;
    if (!local)
        throw device::TAppError(
            QCoreApplication::translate("logbook", "Неверная дата или время взлёта"));
    const device::TrackTime moved = *local - entry->utcOffsetMinutes.value_or(0) * 60;
    entry->landingUtc += moved - entry->takeoffUtc;
    entry->takeoffUtc = moved;
    store_.KeepForUndo(QStringLiteral("edit"), id, {id});
    store_.Replace(id, *entry);
}

std::int64_t TLogbook::AddManual(const TManualFlight& flight) {
    const std::optional<device::TrackTime> local = WallClock(flight.date, flight.takeoff);
    if (!local)
        throw device::TAppError(
            QCoreApplication::translate("logbook", "Неверная дата или время взлёта"));
    if (flight.durationSeconds <= 0 || flight.durationSeconds > MaxManualSeconds)
        throw device::TAppError(
            QCoreApplication::translate("logbook", "Время полёта: от 0:01 до %1")
                .arg(device::DurationText(MaxManualSeconds)));
    store_.CheckWritable();
    TFlightEntry e;
    e.identity = QStringLiteral("manual:") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    e.source = QStringLiteral("manual");
    e.site = flight.site.trimmed();
    e.glider = flight.glider.trimmed();
    e.notes = flight.notes;
    // The zone of the site where the pilot flew from it before, else this
    // computer's on that day.
    for (const TFlightEntry& other : store_.Flights())
        if (!e.site.isEmpty() && other.utcOffsetMinutes &&
            other.site.compare(e.site, Qt::CaseInsensitive) == 0) {
            e.utcOffsetMinutes = other.utcOffsetMinutes;
            e.zoneSource = TZoneSource::Site;
            break;
        }
    if (!e.utcOffsetMinutes) {
        e.utcOffsetMinutes = QDateTime(flight.date, flight.takeoff).offsetFromUtc() / 60;
        e.zoneSource = TZoneSource::Computer;
    }
    e.takeoffUtc = *local - *e.utcOffsetMinutes * 60;
    e.durationSeconds = flight.durationSeconds;
    e.landingUtc = e.takeoffUtc + flight.durationSeconds;
    const std::int64_t id = store_.Insert(e);
    store_.KeepForUndo(QStringLiteral("add"), id, {});
    return id;
}

void TLogbook::Remove(std::int64_t id) {
    // The entries counted in it count on their own once it is gone; an undo
    // counts them in it again.
    std::vector<std::int64_t> kept{id};
    for (const TFlightEntry& other : store_.Flights())
        if (other.sameFlightAs == id) kept.push_back(other.id);
    store_.KeepForUndo(QStringLiteral("delete"), id, kept);
    store_.Remove(id);
}

std::optional<TUndone> TLogbook::Undo() { return store_.Undo(); }

QString UndoneText(const TUndone& undone) {
    if (undone.kind == QLatin1String("delete"))
        return QCoreApplication::translate("logbook", "Отменено удаление полёта № %1")
            .arg(undone.number);
    if (undone.kind == QLatin1String("add"))
        return QCoreApplication::translate("logbook", "Отменено добавление полёта № %1")
            .arg(undone.number);
    return QCoreApplication::translate("logbook", "Отменено изменение полёта № %1")
        .arg(undone.number);
}

}  // namespace logbook
