#include "logbook/Logbook.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QThread>
#include <algorithm>
#include <atomic>
#include <cmath>
#include <functional>
#include <map>
#include <thread>
#include <tuple>
#include <utility>

#include "device/AppError.h"
#include "device/FileStore.h"
#include "device/UserTexts.h"
#include "scoring/Optimizer.h"
#include "track/FlightPhases.h"
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

QString Metres(double value) { return QStringLiteral("%1 м").arg(std::lround(value)); }
QString Rate(double value) { return QStringLiteral("%1 м/с").arg(value, 0, 'f', 1); }

}  // namespace

QString FactsText(const TFlightEntry& e) {
    QStringList lines;
    // Local time beside UTC where the instrument's zone is known.
    auto when = [&e](device::TrackTime utc) {
        if (!e.utcOffsetMinutes) return TimeOfDayText(utc) + QStringLiteral(" UTC");
        const int hours = *e.utcOffsetMinutes / 60;
        return QStringLiteral("%1 (UTC%2%3), %4 UTC")
            .arg(TimeOfDayText(utc + *e.utcOffsetMinutes * 60),
                 hours < 0 ? QStringLiteral("-") : QStringLiteral("+"))
            .arg(std::abs(hours))
            .arg(TimeOfDayText(utc));
    };
    lines << QStringLiteral("Дата: %1").arg(DateText(e.LocalTakeoff()));
    lines << QStringLiteral("Взлёт: %1").arg(when(e.takeoffUtc));
    lines << QStringLiteral("Посадка: %1").arg(when(e.landingUtc));
    lines << QStringLiteral("Время полёта: %1").arg(DurationText(e.durationSeconds));
    lines << QStringLiteral("Место взлёта: %1 (%2, %3), %4")
                 .arg(e.site.isEmpty() ? QStringLiteral("не названо") : e.site)
                 .arg(e.takeoffLatitude, 0, 'f', 5)
                 .arg(e.takeoffLongitude, 0, 'f', 5)
                 .arg(Metres(e.takeoffAltitude));
    lines << QStringLiteral("Посадка: %1, %2, %3")
                 .arg(e.landingLatitude, 0, 'f', 5)
                 .arg(e.landingLongitude, 0, 'f', 5)
                 .arg(Metres(e.landingAltitude));
    lines << QStringLiteral("Высота: наибольшая %1, наименьшая %2")
                 .arg(Metres(e.highestAltitude), Metres(e.lowestAltitude));
    lines << QStringLiteral("Набор: %1 за 1 с, %2 за 10 с").arg(Rate(e.climb1s), Rate(e.climb10s));
    lines << QStringLiteral("Снижение: %1 за 1 с, %2 за 10 с").arg(Rate(e.sink1s), Rate(e.sink10s));
    lines << QStringLiteral("Трек: %1 км, по прямой %2 км, %3 точек")
                 .arg(KilometresText(e.trackLengthMetres), KilometresText(e.straightMetres))
                 .arg(e.fixCount);
    if (e.score) lines << QStringLiteral("XContest: %1").arg(ScoreText(e.score, e.scoreKind));
    if (!e.pilot.isEmpty()) lines << QStringLiteral("Пилот: %1").arg(e.pilot);
    if (!e.glider.isEmpty()) lines << QStringLiteral("Крыло: %1").arg(e.glider);
    if (!e.instrumentModel.isEmpty())
        lines << QStringLiteral("Прибор: %1%2")
                     .arg(e.instrumentModel,
                          e.firmwareVersion
                              ? QStringLiteral(", прошивка %1").arg(*e.firmwareVersion)
                              : QString());
    if (!e.notes.isEmpty()) lines << QStringLiteral("Заметки: %1").arg(e.notes);
    return lines.join(QLatin1Char('\n'));
}

QString DateText(device::TrackTime t) {
    return QString::fromStdString(device::TimeText(t).substr(0, 10));
}

QString TimeOfDayText(device::TrackTime t) {
    return QString::fromStdString(device::TimeText(t).substr(11, 8));
}

QString DurationText(std::int64_t seconds) {
    return QStringLiteral("%1:%2")
        .arg(seconds / 3600)
        .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'));
}

QString NoSuchFlightText(std::int64_t id) {
    return QStringLiteral("Полёта %1 нет в журнале").arg(id);
}

QString KilometresText(double metres) { return QString::number(metres / 1000.0, 'f', 1); }

QString ScoreText(const std::optional<double>& score, const QString& kind) {
    if (!score) return {};
    const scoring::TFlightKind* known = scoring::KindById(scoring::XContestRules(), kind);
    const QString number = QString::number(*score, 'f', 2);
    return known ? number + QLatin1Char(' ') + known->name : number;
}

namespace {
// The logbook's scores: XContest rules, and a bound on the search so that no
// odd track holds an import up (the best found by then is kept).
constexpr double ScoreTimeLimitSeconds = 30;
}  // namespace

namespace {
// The score and its kind as the logbook keeps them (0 and no kind when
// nothing scores).
std::pair<double, QString> ScoreOf(const std::vector<track::TFlightFix>& fixes) {
    scoring::TScoreOptions options;
    options.timeLimitSeconds = ScoreTimeLimitSeconds;
    const scoring::TScoreResult result =
        scoring::ScoreFlight(fixes, scoring::XContestRules(), options);
    return {result.found ? result.score : 0, result.found ? result.kindId : QString()};
}

void ScoreEntry(TFlightEntry& entry, const std::vector<track::TFlightFix>& fixes) {
    std::tie(entry.score, entry.scoreKind) = ScoreOf(fixes);
}
}  // namespace

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

QString TLogbook::FilesFolder() const {
    return QFileInfo(store_.Path()).absolutePath() + QStringLiteral("/logbook-files");
}

QString TLogbook::StoredFilePath(const TFlightEntry& entry) const {
    return entry.storedFile.isEmpty() ? QString()
                                      : FilesFolder() + QLatin1Char('/') + entry.storedFile;
}

QString TLogbook::SiteAt(double latitude, double longitude) {
    QString name;
    double nearest = SiteRadiusMetres;
    for (const TSite& site : store_.Sites()) {
        const double d =
            track::QuickDistance(At(latitude, longitude), At(site.latitude, site.longitude));
        if (d <= nearest) {
            nearest = d;
            name = site.name;
        }
    }
    return name;
}

TRecordOutcome TLogbook::Record(TFlightEntry entry, const QByteArray& trackFile,
                                const QString& suffix,
                                const std::function<void(TFlightEntry&)>& score) {
    TRecordOutcome outcome;
    try {
        if (const auto found = store_.FindIdentity(entry.identity)) {
            outcome.result = TRecordResult::AlreadyKept;
            outcome.id = *found;
            return outcome;
        }
        // Scored before it is written: the entry is kept with its score in
        // one transaction.
        if (score) score(entry);
        // Said before the copy, which would be left without its entry.
        store_.CheckWritable();
        if (entry.site.isEmpty())
            entry.site = SiteAt(entry.takeoffLatitude, entry.takeoffLongitude);
        // The copy first: a process killed in between leaves a spare file,
        // never an entry without its track.
        const QString local = DateText(entry.LocalTakeoff());
        entry.storedFile = local.left(4) + QLatin1Char('/') + local + QLatin1Char('_') +
                           TimeOfDayText(entry.takeoffUtc).remove(QLatin1Char(':')) +
                           QLatin1Char('_') + entry.identity.left(12) + suffix;
        const QString target = FilesFolder() + QLatin1Char('/') + entry.storedFile;
        if (!QDir().mkpath(QFileInfo(target).absolutePath()))
            throw device::TAppError(
                device::FolderNotMadeText(Shown(QFileInfo(target).absolutePath())));
        device::WriteFileSafely(target, trackFile);
        try {
            outcome.id = store_.Insert(entry);
        } catch (const device::TAppError&) {
            // Another program may have kept the same flight meanwhile.
            if (const auto found = store_.FindIdentity(entry.identity)) {
                outcome.result = TRecordResult::AlreadyKept;
                outcome.id = *found;
                return outcome;
            }
            // No entry names the copy: it would only mislead.
            QFile::remove(target);
            throw;
        }
        outcome.result = TRecordResult::Added;
    } catch (const device::TAppError& error) {
        outcome.result = TRecordResult::LogbookFailed;
        outcome.error = error.Text();
    }
    return outcome;
}

TRecordOutcome TLogbook::RecordDownload(const TDownloadedFlight& download,
                                        const track::TPilotProfile& profile) {
    const std::vector<track::TFlightFix> fixes = track::FlightFixes(download.lists.gps);
    TFlightEntry entry;
    if (!MeasureFlight(fixes, entry))
        return {TRecordResult::NoFlight, 0,
                QStringLiteral("В скачанном полёте нет точек со временем")};
    if (download.timeZoneByte)
        entry.utcOffsetMinutes = int(std::int8_t(*download.timeZoneByte)) * 60;
    if (download.model) entry.instrumentModel = models::GetModelName(*download.model);
    if (download.firmwareVersion) entry.firmwareVersion = *download.firmwareVersion;
    entry.pilot = profile.pilot;
    entry.glider = profile.gliderType;
    entry.gliderId = profile.gliderId;
    entry.source = QStringLiteral("download");
    entry.downloadFiles = download.files;

    QByteArray igc;
    for (const QString& file : download.files) {
        if (!file.endsWith(QLatin1String(".igc"), Qt::CaseInsensitive)) continue;
        try {
            igc = device::ReadRegularFile(file, MaxTrackFileBytes);
            entry.sourcePath = file;
        } catch (const device::TAppError&) {
            igc.clear();  // gone already: written anew below
        }
    }
    if (igc.isEmpty()) {
        track::TIgcInstrument instrument;
        instrument.model = download.model;
        instrument.firmwareVersion = download.firmwareVersion;
        igc = track::IgcText(fixes, instrument, profile);
    }
    // Scored from the track kept, whose coordinates the IGC file rounds: the
    // same figure a later rescore or an import of the file gives.
    std::vector<track::TFlightFix> kept;
    try {
        kept = track::ParseIgc(igc, entry.sourcePath).fixes;
    } catch (const device::TAppError&) {
        // Written by this program from these fixes: scored from them instead.
    }
    return Record(std::move(entry), igc, QStringLiteral(".igc"),
                  [&](TFlightEntry& e) { ScoreEntry(e, kept.empty() ? fixes : kept); });
}

namespace {

// A file of an import read, parsed and measured: work that needs no
// logbook, done on several threads at once.
struct TPrepared {
    bool read = false;
    TRecordOutcome failure;  // when not read
    TFlightEntry entry;
    QByteArray bytes;
    QString suffix;
    std::vector<track::TFlightFix> fixes;
};

TPrepared Prepare(const QString& path, const track::TPilotProfile& profile) {
    TPrepared p;
    try {
        // Read once: parsed, and kept as it is.
        p.bytes = device::ReadRegularFile(path, MaxTrackFileBytes + 1);
        if (p.bytes.size() > MaxTrackFileBytes)
            throw device::TAppError(device::TrackFileTooLargeText(Shown(path)));
        track::TTrackFile file = track::ParseTrackFile(p.bytes, path);
        if (!MeasureFlight(file.fixes, p.entry)) {
            p.failure = {
                TRecordResult::NoFlight, 0,
                QStringLiteral("Файл \"%1\": в треке нет точек со временем").arg(Shown(path))};
            return p;
        }
        TFlightEntry& entry = p.entry;
        entry.pilot = file.pilot.isEmpty() ? profile.pilot : file.pilot;
        entry.glider = file.gliderType.isEmpty() ? profile.gliderType : file.gliderType;
        entry.gliderId = file.gliderId.isEmpty() ? profile.gliderId : file.gliderId;
        entry.source = QStringLiteral("import");
        entry.sourcePath = QFileInfo(path).absoluteFilePath();
        p.suffix = file.format == track::TTrackFormat::Igc ? QStringLiteral(".igc")
                                                           : QStringLiteral(".gpx");
        p.fixes = std::move(file.fixes);
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

TRecordOutcome TLogbook::ImportFile(const QString& path, const track::TPilotProfile& profile) {
    TPrepared p = Prepare(path, profile);
    if (!p.read) return p.failure;
    return Record(std::move(p.entry), p.bytes, p.suffix,
                  [&p](TFlightEntry& entry) { ScoreEntry(entry, p.fixes); });
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
                    *skipped << QStringLiteral(
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
            std::vector<bool> fresh(prepared.size(), false);
            for (int k = 0; k < count; ++k) {
                try {
                    fresh[k] = prepared[k].read && !store_.FindIdentity(prepared[k].entry.identity);
                } catch (const device::TAppError&) {
                    // Recording it says why.
                }
            }
            RunParallel(count, [&](int k) {
                if (fresh[k]) ScoreEntry(prepared[k].entry, prepared[k].fixes);
            });
        }
        TPrepared& p = prepared[std::size_t(i - first)];
        const TRecordOutcome outcome =
            p.read ? Record(std::move(p.entry), p.bytes, p.suffix, {}) : p.failure;
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
    if (progress) progress(int(files.size()), int(files.size()), QString());
    return report;
}

std::vector<TFlightEntry> TLogbook::Flights(std::optional<int> year) {
    return store_.Flights(year);
}

TLogbookTotals TLogbook::Totals(const std::vector<TFlightEntry>& flights) {
    TLogbookTotals totals;
    std::map<int, TTotals> years;
    std::map<QString, TTotals> gliders;
    auto add = [](TTotals& t, const TFlightEntry& e) {
        ++t.flights;
        t.seconds += e.durationSeconds;
        t.metres += e.trackLengthMetres;
    };
    for (const TFlightEntry& e : flights) {
        add(totals.all, e);
        add(years[DateText(e.LocalTakeoff()).left(4).toInt()], e);
        add(gliders[e.glider.trimmed()], e);
    }
    for (auto it = years.rbegin(); it != years.rend(); ++it)
        totals.byYear.push_back({QString::number(it->first), it->second});
    for (const auto& [glider, t] : gliders)
        totals.byGlider.push_back(
            {glider.isEmpty() ? QStringLiteral("(крыло не указано)") : glider, t});
    std::stable_sort(totals.byGlider.begin(), totals.byGlider.end(),
                     [](const TTotalsRow& a, const TTotalsRow& b) {
                         return a.totals.seconds > b.totals.seconds;
                     });
    return totals;
}

QByteArray TLogbook::CsvText(const std::vector<TFlightEntry>& flights) {
    QByteArray out =
        "\"Дата\",\"Взлёт\",\"Посадка\",\"Взлёт UTC\",\"Посадка UTC\",\"Продолжительность\","
        "\"Место\",\"Наибольшая высота, м\",\"Наименьшая высота, м\",\"Длина трека, км\","
        "\"Взлёт - посадка, км\",\"Набор 10 с, м/с\",\"Снижение 10 с, м/с\",\"Точек\","
        "\"Крыло\",\"Пилот\",\"Прибор\",\"Заметки\"\r\n";
    for (const TFlightEntry& e : flights) {
        const QList<QByteArray> fields = {
            DateText(e.LocalTakeoff()).toUtf8(),
            TimeOfDayText(e.LocalTakeoff()).toUtf8(),
            TimeOfDayText(e.LocalLanding()).toUtf8(),
            TimeOfDayText(e.takeoffUtc).toUtf8(),
            TimeOfDayText(e.landingUtc).toUtf8(),
            DurationText(e.durationSeconds).toUtf8(),
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
        };
        out += fields.join(',') + "\r\n";
    }
    return out;
}

void TLogbook::ExportCsv(const std::vector<TFlightEntry>& flights, const QString& path) {
    device::WriteFileSafely(path, CsvText(flights));
}

std::vector<track::TFlightFix> TLogbook::FlightFixes(const TFlightEntry& entry) {
    const QString path = StoredFilePath(entry);
    if (path.isEmpty()) throw device::TAppError(QStringLiteral("У полёта нет файла трека"));
    return track::ReadTrackFile(path);
}

void TLogbook::ExportKml(std::int64_t id, const QString& path) {
    const std::optional<TFlightEntry> entry = store_.Flight(id);
    if (!entry) throw device::TAppError(NoSuchFlightText(id));
    track::TKmlFlight flight;
    flight.fixes = FlightFixes(*entry);
    flight.name = DateText(entry->LocalTakeoff()) +
                  (entry->site.isEmpty() ? QString() : QStringLiteral(" ") + entry->site);
    flight.facts = track::FlightFacts(flight.fixes);
    if (!entry->pilot.isEmpty()) flight.facts.emplace_back(QStringLiteral("Пилот"), entry->pilot);
    if (!entry->glider.isEmpty()) flight.facts.emplace_back(QStringLiteral("Крыло"), entry->glider);
    if (!entry->site.isEmpty()) flight.facts.emplace_back(QStringLiteral("Место"), entry->site);
    track::WriteKmlFile(path, flight);
}

void TLogbook::Edit(std::int64_t id, const QString& site, const QString& glider,
                    const QString& notes) {
    const std::optional<TFlightEntry> entry = store_.Flight(id);
    if (!entry) return;
    const QString name = site.trimmed();
    store_.UpdateTexts(id, name, glider.trimmed(), notes);
    if (name.isEmpty() || name == entry->site) return;
    if (SiteAt(entry->takeoffLatitude, entry->takeoffLongitude) != name)
        store_.AddSite(name, entry->takeoffLatitude, entry->takeoffLongitude);
    const track::TFlightFix here = At(entry->takeoffLatitude, entry->takeoffLongitude);
    std::vector<std::int64_t> near;
    for (const TFlightEntry& other : store_.Flights())
        if (other.site.isEmpty() &&
            track::QuickDistance(here, At(other.takeoffLatitude, other.takeoffLongitude)) <=
                SiteRadiusMetres)
            near.push_back(other.id);
    if (!near.empty()) store_.NameSites(near, name);
}

}  // namespace logbook
