#include "app/cli/CliSession.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <cstdio>

#include "app/SetupAPI.h"
#include "app/cli/ChangeCommands.h"
#include "app/cli/CliPlatform.h"
#include "device/AppError.h"
#include "device/FileStore.h"
#include "device/UserTexts.h"
#include "flow/ConfigFile.h"
#include "flow/DeviceChain.h"
#include "flow/FirmwareUpdate.h"
#include "flow/StatsFlightDownload.h"
#include "flow/TrackDownload.h"
#include "models/ModelTable.h"
#include "models/UnitFileIO.h"
#include "serial/OpenFailure.h"
#include "serial/PortPlatform.h"
#include "track/FlightPlot.h"
#include "track/FlightStats.h"
#include "track/GpxReader.h"
#include "track/TrackExport.h"
#include "track/TrackFileReader.h"

namespace cli {

using namespace device;
using flow::TOutcome;

namespace {

// The track memory's reports, printed.
class TTrackPrinter : public flow::TTrackReports {
  public:
    explicit TTrackPrinter(TCliSession& session, std::function<void(int)> progress = {})
        : session_(session), progress_(std::move(progress)) {}
    std::optional<flow::TReport> finished;
    std::optional<track::TFlightStatsReply> stats;
    QString unfinished;
    bool printStats = false;

    void StatsRead(const track::TFlightStatsReply& read) override {
        stats = read;
        if (printStats)
            for (const QString& line : track::FlightStatsLines(read)) session_.Print(line);
    }
    void Progress(int count) override {
        if (progress_) progress_(count);
    }
    void PageRead(const QStringList& lines) override {
        for (const QString& line : lines) session_.Print(line);
    }
    void FilesWritten(const track::TExportResult& result, bool, int) override {
        // Only the files of the operation's last word are printed (Finished).
        last_ = result;
    }
    void Unfinished(const QString& text, bool) override { unfinished = text; }
    void Failed(const flow::TReport&) override {}
    void Finished(const flow::TReport& outcome) override {
        // A failed write's memo lacks the line that says the files were made.
        if (last_)
            for (const QString& line : last_->memo) session_.Print(line);
        last_.reset();
        finished = outcome;
        session_.Wake();
    }

  private:
    TCliSession& session_;
    std::function<void(int)> progress_;
    std::optional<track::TExportResult> last_;
};

// The firmware update's reports printed, its questions answered from the
// options.
class TFirmwarePrinter : public flow::TFirmwareReports, public flow::TFirmwareQuestions {
  public:
    TFirmwarePrinter(TCliSession& session, bool noBackup, bool yes, QString portText)
        : session_(session), noBackup_(noBackup), yes_(yes), portText_(std::move(portText)) {}
    std::optional<flow::TReport> finished;
    std::function<void(int)> progress;

    void Info(const QString& line) override { session_.Print(line); }
    void Progress(int percent) override {
        if (percent < 100) progress(percent);
    }
    void Outcome(const flow::TReport& report) override {
        if (report.Good()) {
            session_.Print(report.text);
            return;
        }
        session_.Fail(report.text);
        if (!report.reason.isEmpty()) session_.Fail(report.reason);
    }
    void Finished(const flow::TReport& outcome) override {
        finished = outcome;
        session_.Wake();
    }
    bool ConfirmUpdate(const QString& text) override { return ConfirmChange(session_, text, yes_); }
    bool UpdateWithoutBackup(const QString& reason) override {
        if (noBackup_) return true;
        session_.Fail(QCoreApplication::translate(
                          "cli",
                          "Настройки прибора не сохранены: %1. Чтобы обновить прошивку "
                          "без их копии, добавьте --no-backup")
                          .arg(reason));
        return false;
    }
    bool RestoreSettings(const QString& backupPath) override {
        session_.Print(QCoreApplication::translate(
                           "cli", "Вернуть сохраненные настройки: tolmarik-cli %1 write %2")
                           .arg(portText_, backupPath));
        return false;
    }

  private:
    TCliSession& session_;
    bool noBackup_;
    bool yes_;
    QString portText_;
};

// The question before a settings write, asked as every change's is.
class TWriteQuestions : public flow::TSettingsWriteQuestions {
  public:
    TWriteQuestions(TCliSession& session, bool yes) : session_(session), yes_(yes) {}
    bool ConfirmChanges(const QString& summary, const std::vector<models::TByteChange>&) override {
        return ConfirmChange(session_, summary, yes_);
    }

  private:
    TCliSession& session_;
    bool yes_;
};

}  // namespace

// The console has no window to keep answering, so it reads the line as often
// as the port allows, twenty times as often as the window program: a flight
// list of 301 sector headers takes seconds instead of half a minute.
constexpr int CliPollingDelayMs = 5;

TCliSession::TCliSession(bool terminal) : terminal_(terminal) {
    link_.comport.SetPollingDelay(CliPollingDelayMs);
    app::ApplyAdapterGapFromEnvironment(link_);
}

void TCliSession::Print(const QString& line) {
    EndProgress();
    std::fputs(line.toUtf8().constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void TCliSession::Fail(const QString& line) {
    EndProgress();
    std::fputs(line.toUtf8().constData(), stderr);
    std::fputc('\n', stderr);
}

bool TCliSession::SetPort(const QString& text) {
    const QString path = serial::platform::PortPathFromText(text);
    if (path.isEmpty()) {
        Fail(QCoreApplication::translate("cli", "Не порт: %1").arg(text));
        return false;
    }
    link_.comport.SetPortName(path);
    portText_ = text;
    return true;
}

flow::TChainOutcome TCliSession::RunChain(const std::function<void(flow::TDeviceChain&)>& start) {
    flow::TDeviceChain chain(link_);
    flow::TChainOutcome outcome;
    QEventLoop loop;
    chain.OnFinished = [&](const flow::TChainOutcome& o) {
        outcome = o;
        loop.quit();
    };
    start(chain);
    if (chain.Running()) loop.exec();
    return outcome;
}

bool TCliSession::RecordTranscript(const QString& path) {
    if (!transcript_.Open(path)) {
        Fail(QCoreApplication::translate("cli", "Не удалось открыть файл протокола обмена %1: %2")
                 .arg(QDir::toNativeSeparators(path), transcript_.Error()));
        return false;
    }
    link_.comport.SetTranscript(&transcript_);
    return true;
}

namespace {
QString UsbId(const std::optional<quint16>& id) {
    return id ? QStringLiteral("%1").arg(*id, 4, 16, QLatin1Char('0')).toUpper()
              : QStringLiteral("????");
}
}  // namespace

TOutcome TCliSession::ListPorts() {
    const std::vector<app::TPresentPort> ports = app::PresentPorts();
    if (ports.empty())
        Fail(QCoreApplication::translate("cli", "Последовательные порты не найдены"));
    for (const app::TPresentPort& port : ports) {
        const QString usb = port.vendorId || port.productId
                                ? UsbId(port.vendorId) + QLatin1Char(':') + UsbId(port.productId)
                                : QStringLiteral("-");
        Print(QStringList{
            port.port, port.description, usb,
            port.adapter ? QCoreApplication::translate("cli", "адаптер") : QStringLiteral("-")}
                  .join(QLatin1Char('\t')));
    }
    return TOutcome::Done;
}

std::optional<TOutcome> TCliSession::FindInstrumentPort() {
    const std::vector<app::TPresentPort> ports = app::PresentPorts();
    QStringList candidates;
    for (const app::TPresentPort& port : ports)
        if (port.adapter) candidates << port.port;
    // The extra ports come after the adapters the system knows.
    for (const app::TPresentPort& port : ports)
        if (port.extra && !port.adapter) candidates << port.port;
    if (candidates.isEmpty()) {
        Fail(QCoreApplication::translate("cli", "Нет портов с адаптером прибора"));
        return TOutcome::PortFailed;
    }
    for (const QString& candidate : candidates) {
        if (!SetPort(candidate)) continue;
        const flow::TChainOutcome outcome =
            RunChain([](flow::TDeviceChain& chain) { chain.Identify(); });
        if (outcome.result == flow::TChainResult::Done) {
            Fail(QCoreApplication::translate("cli", "Прибор найден на порту %1").arg(candidate));
            return std::nullopt;
        }
        const flow::TReport failed = flow::ChainReport(outcome, 0, link_);
        const QString reason = outcome.result == flow::TChainResult::PortFailed
                                   ? serial::OpenFailureReason(link_.comport.LastOpenError())
                                   : QString();
        Fail(reason.isEmpty() ? candidate + QStringLiteral(": ") + failed.text : reason);
    }
    Fail(QCoreApplication::translate("cli", "Прибор не найден ни на одном порту"));
    return TOutcome::NoDevice;
}

void TCliSession::WaitFor(const std::function<bool()>& done) {
    if (done()) return;
    QEventLoop loop;
    loop_ = &loop;
    loop.exec();
    loop_ = nullptr;
}

void TCliSession::Wake() {
    if (loop_) loop_->quit();
}

TOutcome TCliSession::Finish(const flow::TReport& report) {
    if (report.Good()) {
        if (!report.text.isEmpty()) Print(report.text);
        return report.outcome;
    }
    if (!report.text.isEmpty()) Fail(report.text);
    if (!report.reason.isEmpty()) Fail(report.reason);
    return report.outcome;
}

void TCliSession::ShowProgress(int percent, const QString& label) {
    if (!terminal_) return;
    percent = std::clamp(percent, 0, 100);
    const int filled = percent * 30 / 100;
    std::fprintf(stdout, "\r[%s%s] %3d%% %s", std::string(std::size_t(filled), '#').c_str(),
                 std::string(std::size_t(30 - filled), ' ').c_str(), percent,
                 label.toUtf8().constData());
    std::fflush(stdout);
    progressShown_ = true;
}

void TCliSession::EndProgress() {
    if (!progressShown_) return;
    std::fputc('\n', stdout);
    progressShown_ = false;
}

void TCliSession::PrintSettings(std::uint8_t model, const models::TDeviceConfig& config) {
    PrintSettings(config, QCoreApplication::translate("cli", "Модель: %1 (%2)")
                              .arg(model)
                              .arg(models::GetModelName(model)));
}

void TCliSession::PrintSettings(const models::TDeviceConfig& config, const QString& modelLine) {
    Print(modelLine);
    Print(models::TimeZoneLine(config));
    // The settings as the window's settings tab shows them.
    Print(QCoreApplication::translate("cli", "Настройки:"));
    for (const QString& line : models::ConfigHexLines(config)) Print(line);
}

std::optional<TOutcome> TCliSession::ReadInstrument(models::TInstrument& instrument) {
    const flow::TChainOutcome outcome =
        RunChain([](flow::TDeviceChain& chain) { chain.Identify(); });
    if (outcome.result != flow::TChainResult::Done)
        return Finish(flow::IdentifyReport(outcome, link_));
    instrument = *outcome.instrument;
    return std::nullopt;
}

TOutcome TCliSession::Identify() {
    models::TInstrument instrument;
    if (const std::optional<TOutcome> failed = ReadInstrument(instrument)) return *failed;
    if (instrument.KnownModel())
        PrintSettings(instrument.model, instrument.config);
    else
        PrintSettings(instrument.config,
                      QCoreApplication::translate("cli", "Модель: %1")
                          .arg(device::UnknownModelReadOnlyText(instrument.reportedModel)));
    Print(QCoreApplication::translate("cli", "Версия: %1").arg(instrument.firmwareVersion));
    return TOutcome::Done;
}

TOutcome TCliSession::SaveConfig(const QString& fileName) {
    models::TInstrument instrument;
    if (const std::optional<TOutcome> failed = ReadInstrument(instrument)) return *failed;
    return Finish(flow::SaveConfigFile(fileName, instrument.model, instrument.config));
}

TOutcome TCliSession::Stats(std::uint8_t flightIndex, bool print) {
    TTrackPrinter printer(*this);
    printer.printStats = print;
    flow::TTrackDownload track(link_, printer);
    track.ReadStats(flightIndex);
    WaitFor([&] { return printer.finished.has_value(); });
    return Finish(*printer.finished);
}

bool TCliSession::FolderMissing(const QString& folder) {
    if (QDir(folder).exists()) return false;
    Fail(device::NoFolderText(folder));
    return true;
}

TOutcome TCliSession::Download(std::uint8_t flightIndex, bool bySector, const QString& folder,
                               bool igc, bool keepPartial) {
    if (FolderMissing(folder)) return TOutcome::BadUsage;
    const QString unit = bySector ? QCoreApplication::translate("cli", "сект.")
                                  : QCoreApplication::translate("cli", "стр.");
    TTrackPrinter printer(*this, [&](int count) {
        const std::uint16_t minutes = printer.stats ? printer.stats->durationMinutes : 0;
        ShowProgress(track::TrackProgressPosition(count, minutes, bySector),
                     QStringLiteral("%1 %2").arg(count).arg(unit));
    });
    printer.printStats = true;
    flow::TStatsFlightDownload download(link_, printer);
    download.KeepPartial = keepPartial;
    flow::TTrackDownload& track = download.Track();
    track.Folder = [folder] { return folder; };
    track.Igc = igc;
    if (igc) {
        models::TInstrument instrument;
        if (const std::optional<TOutcome> failed = ReadInstrument(instrument)) return *failed;
        track.SetInstrument({instrument.model, instrument.firmwareVersion},
                            instrument.config[models::TimeZoneByte]);
    }
    if (download.Start(flightIndex, bySector))
        WaitFor([&] { return printer.finished.has_value(); });
    EndProgress();
    if (!printer.unfinished.isEmpty()) Fail(printer.unfinished);
    return Finish(printer.finished.value_or(flow::Report(TOutcome::Done)));
}

TOutcome TCliSession::Page(int page) {
    TTrackPrinter printer(*this);
    flow::TTrackDownload track(link_, printer);
    track.ReadPage(static_cast<std::int32_t>(static_cast<std::uint32_t>(page) << 8));
    WaitFor([&] { return printer.finished.has_value(); });
    return Finish(*printer.finished);
}

TOutcome TCliSession::ShowConfigFile(const QString& fileName) {
    flow::TOpenedConfig file;
    if (const std::optional<flow::TReport> refused = flow::OpenConfigFile(fileName, file))
        return Finish(*refused);
    PrintSettings(file.model, file.config);
    return TOutcome::Done;
}

TOutcome TCliSession::Plot(const QString& gpxFile, const QString& pngFile, QSize size) {
    std::vector<track::TFlightFix> fixes;
    std::size_t flights = 0;
    try {
        fixes = track::ReadTrackFile(gpxFile, &flights);
    } catch (const device::TAppError& error) {
        return Finish(flow::Report(TOutcome::BadFile, error.Text()));
    }
    if (flights > 1)
        Fail(track::FirstFlightTakenText(gpxFile, flights));  // a note beside the output
    if (fixes.empty())
        return Finish(flow::Report(TOutcome::BadFile,
                                   device::NoTrackPointsText(QDir::toNativeSeparators(gpxFile))));
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!track::RenderFlightPlot(fixes, size).save(&buffer, "PNG"))
        return Finish(flow::Report(
            TOutcome::Failed, QCoreApplication::translate("cli", "Не удалось построить рисунок")));
    try {
        device::WriteFileSafely(pngFile, png);
    } catch (const device::TAppError& error) {
        return Finish(flow::Report(TOutcome::FileNotWritten, error.Text()));
    }
    Print(device::FileSavedText + pngFile);
    return TOutcome::Done;
}

TOutcome TCliSession::WriteConfig(const QString& fileName, bool yes) {
    flow::TOpenedConfig file;
    if (const std::optional<flow::TReport> refused = flow::OpenConfigFile(fileName, file))
        return Finish(*refused);
    return WriteSettings(
        [&](flow::TSettingsWrite& write) { return write.Start(file.model, file.config); }, yes);
}

TOutcome TCliSession::SetTimeZone(int hours, bool yes) {
    return WriteSettings(
        [hours](flow::TSettingsWrite& write) {
            return write.StartEdit([hours](models::TDeviceConfig& config) {
                config[models::TimeZoneByte] = models::TimeZoneValue(hours);
            });
        },
        yes);
}

TOutcome TCliSession::WriteSettings(const std::function<bool(flow::TSettingsWrite&)>& start,
                                    bool yes) {
    TWriteQuestions questions(*this, yes);
    flow::TSettingsWrite write(link_, questions);
    std::optional<flow::TReport> finished;
    write.OnFinished = [&](const flow::TReport& report) {
        finished = report;
        Wake();
    };
    if (!start(write)) return Finish(flow::Report(TOutcome::PortBusy));
    WaitFor([&] { return finished.has_value(); });
    return Finish(*finished);
}

TOutcome TCliSession::Firmware(const QString& fileName, const QString& backupFolder, bool noBackup,
                               bool yes) {
    TFirmwarePrinter printer(*this, noBackup, yes, portText_);
    // Only once blocks are on their way may the instrument hold half an image.
    std::optional<TInterruptNotice> interrupted;
    printer.progress = [this, &interrupted](int percent) {
        if (!interrupted) interrupted.emplace(device::FirmwareInterruptedText);
        ShowProgress(percent, QString());
    };
    flow::TFirmwareUpdate update(link_, printer, printer);
    update.BackupFolder = backupFolder;
    if (const std::optional<flow::TReport> refused = update.Start(fileName))
        return Finish(*refused);
    WaitFor([&] { return printer.finished.has_value(); });
    EndProgress();
    return printer.finished->outcome;
}

TOutcome UsageError(const QString& text) {
    std::fprintf(stderr, "tolmarik-cli: %s %s\n", text.toUtf8().constData(),
                 QCoreApplication::translate("cli", "См. --help.").toUtf8().constData());
    return TOutcome::BadUsage;
}

}  // namespace cli
