#include "app/cli/CliSession.h"

#include <QBuffer>
#include <QDir>
#include <QTimer>
#include <cstdio>

#include "app/ExitCodes.h"
#include "app/SetupAPI.h"
#include "device/AppError.h"
#include "device/FileStore.h"
#include "device/Frames.h"
#include "device/PageDump.h"
#include "device/TrackLists.h"
#include "device/UserTexts.h"
#include "firmware/FirmwareImage.h"
#include "models/ModelTable.h"
#include "models/SafeWrite.h"
#include "models/UnitFileIO.h"
#include "serial/OpenFailure.h"
#include "serial/PortPlatform.h"
#include "track/FlightPlot.h"
#include "track/TrackExport.h"
#include "track/TrackFileReader.h"

namespace cli {

using namespace device;

namespace {

class TTerminalMemo : public track::TMemoSink {
  public:
    explicit TTerminalMemo(TCliSession& session) : session_(session) {}
    void Clear() override {}
    void AddLine(const QString& line) override { session_.Print(line); }

  private:
    TCliSession& session_;
};

}  // namespace

TCliSession::TCliSession(bool terminal) : terminal_(terminal) {}

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
        Fail(QStringLiteral("Не порт: %1").arg(text));
        return false;
    }
    link_.comport.SetPortName(path);
    portText_ = text;
    return true;
}

models::TChainOutcome TCliSession::RunChain(
    const std::function<void(models::TDeviceChain&)>& start) {
    models::TDeviceChain chain(link_);
    models::TChainOutcome outcome;
    QEventLoop loop;
    chain.OnFinished = [&](const models::TChainOutcome& o) {
        outcome = o;
        loop.quit();
    };
    start(chain);
    if (chain.Running()) loop.exec();
    return outcome;
}

bool TCliSession::RecordTranscript(const QString& path) {
    if (!transcript_.Open(path)) {
        Fail(QStringLiteral("Не удалось открыть файл протокола обмена %1: %2")
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

int TCliSession::ListPorts() {
    const std::vector<app::TPresentPort> ports = app::PresentPorts();
    if (ports.empty()) Fail(QStringLiteral("Последовательные порты не найдены"));
    for (const app::TPresentPort& port : ports) {
        const QString usb = port.vendorId || port.productId
                                ? UsbId(port.vendorId) + QLatin1Char(':') + UsbId(port.productId)
                                : QStringLiteral("-");
        Print(QStringList{port.port, port.description, usb,
                          port.adapter ? QStringLiteral("адаптер") : QStringLiteral("-")}
                  .join(QLatin1Char('\t')));
    }
    return app::EC_OK;
}

int TCliSession::FindInstrumentPort() {
    const std::vector<app::TPresentPort> ports = app::PresentPorts();
    QStringList candidates;
    for (const app::TPresentPort& port : ports)
        if (port.adapter) candidates << port.port;
    // The extra ports come after the adapters the system knows.
    for (const app::TPresentPort& port : ports)
        if (port.extra && !port.adapter) candidates << port.port;
    if (candidates.isEmpty()) {
        Fail(QStringLiteral("Нет портов с адаптером прибора"));
        return app::EC_PORT;
    }
    for (const QString& candidate : candidates) {
        if (!SetPort(candidate)) continue;
        int final = -1;
        Run(NewWorker(OP_IDENTIFY), [&final](const Status& s) {
            if (s.code == ST_IDENTIFIED || s.code == ST_PORT_FAILED || s.code == ST_NO_LINK)
                final = s.code;
        });
        if (final == ST_IDENTIFIED) {
            Fail(QStringLiteral("Прибор найден на порту %1").arg(candidate));
            return app::EC_OK;
        }
        const QString reason = final == ST_PORT_FAILED
                                   ? serial::OpenFailureReason(link_.comport.LastOpenError())
                                   : QStringLiteral("%1: %2").arg(candidate, device::NoDeviceText);
        Fail(reason.isEmpty() ? candidate + QStringLiteral(": ") + device::PortFailedText : reason);
    }
    Fail(QStringLiteral("Прибор не найден ни на одном порту"));
    return app::EC_NO_LINK;
}

TDeviceIO* TCliSession::NewWorker(std::uint8_t operation) {
    TDeviceIO* worker = TDeviceIO::Create(link_, receiver_.Target());
    worker->Operation = operation;
    return worker;
}

void TCliSession::Run(TDeviceIO* worker, const std::function<void(const Status&)>& onStatus) {
    QEventLoop loop;
    receiver_.OnStatus = [&onStatus](int code, qintptr value) { onStatus({code, value}); };
    // The end step runs after every status the worker posted has been queued,
    // so the loop ends only when they have all been handled.
    worker->OnTerminate = [&loop] { QTimer::singleShot(0, &loop, &QEventLoop::quit); };
    worker->Start();
    loop.exec();
    receiver_.OnStatus = nullptr;
}

int TCliSession::FailFor(int status, const QString& noLinkText) {
    if (status == ST_PORT_FAILED) {
        Fail(device::PortFailedText);
        const QString detail = serial::OpenFailureDetail(link_.comport.LastOpenError());
        if (!detail.isEmpty()) Fail(detail);
        return app::EC_PORT;
    }
    // The port remembers a vanished device until the next operation opens it.
    Fail(link_.comport.DeviceLost() ? LinkLostText() : noLinkText);
    return app::EC_NO_LINK;
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
    Print(QStringLiteral("Модель: %1 (%2)").arg(model).arg(models::GetModelName(model)));
    Print(models::TimeZoneLine(config));
    // The settings as the window's settings tab shows them.
    Print(QStringLiteral("Настройки:"));
    for (const QString& line : models::ConfigHexLines(config)) Print(line);
}

int TCliSession::ReadInstrument(models::TInstrument& instrument) {
    int final = -1;
    qintptr reported = 0;
    Run(NewWorker(OP_IDENTIFY), [&](const Status& s) {
        if (s.code == ST_IDENTIFIED || s.code == ST_PORT_FAILED || s.code == ST_NO_LINK) {
            final = s.code;
            reported = s.value;
        }
    });
    if (final != ST_IDENTIFIED) return FailFor(final, device::NoLinkCheckPortText);
    instrument =
        models::InstrumentOfReply(link_.RxBuffer.data(), static_cast<std::uint16_t>(reported));
    return 0;
}

int TCliSession::Identify() {
    models::TInstrument instrument;
    if (const int failed = ReadInstrument(instrument)) return failed;
    PrintSettings(instrument.model, instrument.config);
    Print(QStringLiteral("Версия: %1").arg(instrument.firmwareVersion));
    return 0;
}

int TCliSession::SaveConfig(const QString& fileName) {
    models::TInstrument instrument;
    if (const int failed = ReadInstrument(instrument)) return failed;
    const QString name = models::ConfigFileName(fileName);
    try {
        models::SaveConfigFile(name, instrument.model, instrument.config.data());
    } catch (const device::TAppError& error) {
        Fail(error.Text());
        return app::EC_WRITE_CHECK;
    }
    Print(device::FileSavedText + name);
    return 0;
}

int TCliSession::Stats(std::uint8_t flightIndex, bool print) {
    int final = -1;
    TDeviceIO* worker = NewWorker(OP_READ_STATS);
    worker->FlightIndex = flightIndex;
    Run(worker, [&](const Status& s) {
        if (s.code == ST_STATS_READ || s.code == ST_PORT_FAILED || s.code == ST_NO_LINK)
            final = s.code;
    });
    if (final != ST_STATS_READ) return FailFor(final, device::NoDeviceText);
    stats_ = track::ParseFlightStats(link_.RxBuffer.data());
    if (print)
        for (const QString& line : track::FlightStatsLines(stats_)) Print(line);
    return 0;
}

int TCliSession::Download(std::uint8_t flightIndex, bool bySector, const QString& folder, bool igc,
                          bool keepPartial) {
    if (!QDir(folder).exists()) {
        Fail(QStringLiteral("Нет папки: %1").arg(folder));
        return app::EC_USAGE;
    }
    track::TTrackFileOptions files;
    files.igc = igc;
    if (igc) {
        models::TInstrument instrument;
        if (const int failed = ReadInstrument(instrument)) return failed;
        files.instrument = {instrument.model, instrument.firmwareVersion};
    }
    if (const int failed = Stats(flightIndex, true)) return failed;
    if (stats_.startSector == 0) {
        Fail(QStringLiteral("У этого полета нет трека"));
        return app::EC_FAILED;
    }
    TDeviceIO* worker = NewWorker(OP_TRACK);
    worker->StartSector = stats_.startSector;
    worker->BySector = bySector;
    int final = -1;
    // The track has ended only when an end report is the last word: in
    // sector mode one for an unknown record is followed by more progress.
    bool ended = false;
    int count = 0;
    QString writeError;
    TTerminalMemo memo(*this);
    const QString unit = bySector ? QStringLiteral("сект.") : QStringLiteral("стр.");
    Run(worker, [&](const Status& s) {
        if (s.code == ST_TRACK_PAGE) {
            count = int(s.value);
            ended = false;
            ShowProgress(
                track::TrackProgressPosition(int(s.value), stats_.durationMinutes, bySector),
                QStringLiteral("%1 %2").arg(s.value).arg(unit));
        } else if (s.code == ST_TRACK_END) {
            // Written at every end report, as the track page does: a later one
            // replaces the files with the fuller lists.
            ended = true;
            try {
                track::WriteTrackFiles(stats_.flightNumber, TrackLists().Snapshot(), memo, folder,
                                       files);
                writeError.clear();
            } catch (const device::TAppError& error) {
                writeError = error.Text();
            }
        } else if (s.code == ST_PORT_FAILED || s.code == ST_NO_LINK) {
            final = s.code;
        }
    });
    EndProgress();
    if (!writeError.isEmpty()) {
        Fail(writeError);
        return app::EC_WRITE_CHECK;
    }
    if (final == ST_PORT_FAILED) return FailFor(final, device::NoDeviceText);
    if (!ended) {
        const TrackSnapshot lists = TrackLists().Snapshot();
        Fail(track::UnfinishedDownloadText(count, bySector, lists.gps.size(), lists.eng.size()));
        if (keepPartial && (!lists.gps.empty() || !lists.eng.empty())) {
            try {
                track::WriteTrackFiles(stats_.flightNumber, lists, memo, folder, files);
            } catch (const device::TAppError& error) {
                Fail(error.Text());
                return app::EC_WRITE_CHECK;
            }
        }
        if (final == ST_NO_LINK) return FailFor(final, device::NoDeviceText);
        return app::EC_FAILED;
    }
    if (final == ST_NO_LINK) return FailFor(final, device::NoDeviceText);
    return 0;
}

int TCliSession::Page(int page) {
    TDeviceIO* worker = NewWorker(OP_READ_PAGE);
    worker->PageAddress = page << 8;
    int final = -1;
    Run(worker, [&](const Status& s) {
        if (s.code == ST_PAGE_READ || s.code == ST_PORT_FAILED) final = s.code;
    });
    if (final != ST_PAGE_READ) return FailFor(final, device::NoDeviceText);
    for (const QString& line : PageDumpLines(link_.RxBuffer.data())) Print(line);
    return 0;
}

namespace {
// The model and settings of a configuration file, as opening it in the
// program would give them.
struct TConfigFile {
    std::uint8_t model = 0;
    models::TDeviceConfig config = models::DefaultConfig();
};

TConfigFile ReadConfigFile(const QString& fileName) {
    models::TFileIOSaver saver(0);
    TConfigFile file;
    file.model = saver.LoadFile(fileName);
    // The defaults stay when the file holds no settings block.
    models::TDeviceConfig block{};
    if (saver.ReadBlock(block.data(), DeviceConfigSize) != 0) file.config = block;
    return file;
}

// The file's failure text, or empty when `file` holds a model with a window.
QString LoadConfigFile(const QString& fileName, TConfigFile& file) {
    try {
        file = ReadConfigFile(fileName);
    } catch (const device::TAppError& error) {
        return error.Text();
    }
    return models::HasDeviceWindow(file.model) ? QString() : device::UnsupportedDeviceText;
}

}  // namespace

int TCliSession::ShowConfigFile(const QString& fileName) {
    TConfigFile file;
    if (const QString failure = LoadConfigFile(fileName, file); !failure.isEmpty()) {
        Fail(failure);
        return app::EC_BAD_FILE;
    }
    PrintSettings(file.model, file.config);
    return 0;
}

int TCliSession::Plot(const QString& gpxFile, const QString& pngFile, QSize size) {
    std::vector<track::TFlightFix> fixes;
    try {
        fixes = track::ReadTrackFile(gpxFile);
    } catch (const device::TAppError& error) {
        Fail(error.Text());
        return app::EC_BAD_FILE;
    }
    if (fixes.empty()) {
        Fail(device::NoTrackPointsText(QDir::toNativeSeparators(gpxFile)));
        return app::EC_BAD_FILE;
    }
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!track::RenderFlightPlot(fixes, size).save(&buffer, "PNG")) {
        Fail(QStringLiteral("Не удалось построить рисунок"));
        return app::EC_FAILED;
    }
    try {
        device::WriteFileSafely(pngFile, png);
    } catch (const device::TAppError& error) {
        Fail(error.Text());
        return app::EC_WRITE_CHECK;
    }
    Print(device::FileSavedText + pngFile);
    return 0;
}

int TCliSession::WriteConfig(const QString& fileName) {
    TConfigFile file;
    if (const QString failure = LoadConfigFile(fileName, file); !failure.isEmpty()) {
        Fail(failure);
        return app::EC_BAD_FILE;
    }
    const models::TChainOutcome outcome =
        RunChain([&](models::TDeviceChain& chain) { chain.Write(file.model, file.config); });
    const QString text = models::WriteOutcomeText(outcome, file.model);
    switch (outcome.result) {
        case models::TChainResult::Done:
            Print(text);
            return app::EC_OK;
        case models::TChainResult::ModelMismatch:
            Fail(text);
            return app::EC_MODEL_MISMATCH;
        case models::TChainResult::ReadBackDiffers:
            Fail(text);
            return app::EC_READ_BACK;
        case models::TChainResult::PortFailed:
            // With the port's own reason after the text.
            return FailFor(ST_PORT_FAILED, device::NoDeviceText);
        case models::TChainResult::NoLink:
            break;
    }
    Fail(text);
    return app::EC_NO_LINK;
}

int TCliSession::Firmware(const QString& fileName, const QString& backupFolder, bool noBackup) {
    // Held apart from TxBuffer until the transfer: the identification before
    // it builds its request there.
    std::vector<std::uint8_t> image(serial::TxBufferSize);
    const firmware::LoadOutcome loaded =
        firmware::LoadFirmwareFile(fileName, image.data(), serial::TxBufferSize);
    if (loaded.result != firmware::LoadResult::Ok) {
        Fail(firmware::LoadRefusalText(loaded));
        return app::EC_BAD_FILE;
    }
    const models::TChainOutcome before =
        RunChain([](models::TDeviceChain& chain) { chain.Identify(); });
    if (before.result == models::TChainResult::PortFailed)
        return FailFor(ST_PORT_FAILED, device::DeviceSilentText);
    QString backup;
    QString noBackupReason;
    if (before.result == models::TChainResult::Done) {
        try {
            backup = models::SaveSettingsBackup(backupFolder, *before.instrument);
            Print(models::BackupSavedText(backup));
        } catch (const device::TAppError& error) {
            noBackupReason = error.Text();
        }
    } else {
        noBackupReason = models::NoIdentityReason();
    }
    // Without a copy of the settings the update goes on only when asked to,
    // as the window asks first.
    if (!noBackupReason.isEmpty() && !noBackup) {
        Fail(QStringLiteral("Настройки прибора не сохранены: %1. Чтобы обновить прошивку без "
                            "их копии, добавьте --no-backup")
                 .arg(noBackupReason));
        return before.result == models::TChainResult::Done ? app::EC_WRITE_CHECK : app::EC_NO_LINK;
    }
    std::copy_n(image.begin(), loaded.length, link_.TxBuffer.begin());
    TDeviceIO* worker = NewWorker(OP_FIRMWARE);
    worker->DataLength = loaded.length;
    int final = -1;
    Run(worker, [&](const Status& s) {
        if (s.code == ST_FW_PROGRESS && s.value < 100) ShowProgress(int(s.value), QString());
        if ((s.code == ST_FW_PROGRESS && s.value == 100) || s.code == ST_PORT_FAILED ||
            s.code == ST_NO_LINK || s.code == ST_FW_REJECTED)
            final = s.code;
    });
    switch (final) {
        case ST_FW_PROGRESS:
            Print(device::FirmwareUpdatedText);
            break;
        case ST_FW_REJECTED:
            Fail(device::FirmwareWrongDeviceText);
            return app::EC_REFUSED;
        case ST_PORT_FAILED:
            Fail(device::PortFailedText);
            return app::EC_PORT;
        default:
            Fail(link_.comport.DeviceLost() ? LinkLostText() : device::DeviceSilentText);
            return app::EC_NO_LINK;
    }
    const models::TChainOutcome after =
        RunChain([](models::TDeviceChain& chain) { chain.Identify(); });
    const bool answered = after.result == models::TChainResult::Done;
    std::optional<std::uint16_t> oldVersion;
    std::optional<std::uint16_t> newVersion;
    if (before.instrument) oldVersion = before.instrument->firmwareVersion;
    if (answered) newVersion = after.instrument->firmwareVersion;
    Print(models::FirmwareVersionsText(oldVersion, newVersion));
    if (!backup.isEmpty() && answered && after.instrument->model == before.instrument->model)
        Print(QStringLiteral("Вернуть сохраненные настройки: tolmarik-cli %1 write %2")
                  .arg(portText_, backup));
    return app::EC_OK;
}

}  // namespace cli
