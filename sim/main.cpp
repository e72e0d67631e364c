// tolmarik-sim: a simulated instrument on a pseudo-terminal. The first line of
// its output is the port to open; it answers until SIGINT or SIGTERM.
#include <pthread.h>

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QStringList>
#include <climits>
#include <csignal>
#include <cstdio>
#include <vector>

#include "app/BuildInfo.h"
#include "flow/ExitCodes.h"
#include "sim/FlightGenerator.h"
#include "sim/Simulator.h"

namespace {

struct TDamageName {
    const char* name;
    sim::TDamage damage;
};
constexpr TDamageName kDamageNames[] = {
    {"first-byte", sim::TDamage::FirstByteChanged},
    {"garbage", sim::TDamage::GarbageInFront},
    {"cut-short", sim::TDamage::CutShort},
    {"wrong-check", sim::TDamage::WrongCheckByte},
    {"late", sim::TDamage::Late},
    {"previous-reply", sim::TDamage::PreviousReply},
};

QString DamageNameList() {
    QStringList names;
    for (const auto& d : kDamageNames) names << QString::fromLatin1(d.name);
    return names.join(QStringLiteral(", "));
}

struct TOptionReader {
    QCommandLineParser& parser;
    bool ok = true;

    int Int(const QString& name, int fallback, int low, int high) {
        if (!parser.isSet(name)) return fallback;
        bool good = false;
        const int v = parser.value(name).toInt(&good);
        if (!good || v < low || v > high) {
            std::fprintf(stderr, "tolmarik-sim: --%s wants a whole number from %d to %d\n",
                         qPrintable(name), low, high);
            ok = false;
            return fallback;
        }
        return v;
    }

    std::vector<int> IntList(const QString& name, int low, int high) {
        std::vector<int> values;
        if (!parser.isSet(name)) return values;
        for (const QString& item : parser.value(name).split(QLatin1Char(','))) {
            bool good = false;
            const int v = item.trimmed().toInt(&good);
            if (!good || v < low || v > high) {
                std::fprintf(stderr,
                             "tolmarik-sim: --%s wants whole numbers from %d to %d, separated by "
                             "commas\n",
                             qPrintable(name), low, high);
                ok = false;
                return {};
            }
            values.push_back(v);
        }
        return values;
    }

    sim::TDamage Damage(const QString& name) {
        if (!parser.isSet(name)) return sim::TDamage::None;
        const QString value = parser.value(name);
        for (const auto& d : kDamageNames)
            if (value == QLatin1String(d.name)) return d.damage;
        std::fprintf(stderr, "tolmarik-sim: --%s wants one of: %s\n", qPrintable(name),
                     qPrintable(DamageNameList()));
        ok = false;
        return sim::TDamage::None;
    }
};

}  // namespace

int main(int argc, char** argv) {
    // Blocked before any thread starts, so the simulator's thread inherits the
    // mask and only the sigwait below takes them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tolmarik-sim"));
    QCoreApplication::setApplicationVersion(app::ProgramVersion());

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "A simulated Tolmarik instrument on a pseudo-terminal. Prints the port on the first "
        "line, then answers the program at 115200 8N1 until SIGINT or SIGTERM.\n"
        "Its memory holds generated flights (one a day, from sector 1); the statistics of the "
        "last two are reported. After a hang-up fault the port is gone; the process stays "
        "until signalled."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const auto add = [&parser](const QString& name, const QString& help,
                               const QString& value = {}) {
        parser.addOption(QCommandLineOption(name, help, value));
    };
    const QString n = QStringLiteral("N");
    const QString ms = QStringLiteral("MS");
    add("link", "Also make a symbolic link to the port at PATH.", "PATH");
    add("model", "Model number reported (default 101).", n);
    add("firmware-version", "Firmware version reported (default 258).", n);
    add("timezone", "Time zone in settings byte 4 (default 3).", n);
    add("short-identity", "Answer identification with a short frame (no model).");
    add("no-pacing", "Write replies at once instead of at 115200 baud.");
    add("freedoms",
        "Take every freedom the protocol leaves: byte 1 of long replies zero or random, "
        "statistics replies of 45 to 64 bytes, identification replies with bytes after the "
        "settings block (also on when TOLMARIK_SIM_FREEDOMS=1).");
    add("flights", "Flights in memory (default 2).", n);
    add("minutes", "Duration of each flight (default 30; 1800 fills over 301 sectors).", n);
    add("minutes-each",
        "One flight for each duration in the list (minutes, separated by commas), oldest "
        "first; replaces --flights and --minutes.",
        "LIST");
    add("first-flight", "Number of the first flight (default 12); the numbers wrap after 65535.",
        n);
    add("gap", "Erased sectors between one flight and the next (default 0).", n);
    add("foreign-sector",
        "The middle sector of the first flight of three sectors or more belongs to another, "
        "older flight.");
    add("seed", "Seed of the generated flights (default 1).", n);
    add("month-zero", "The last flight carries month 0 (no date).");
    add("invalid-date", "The last flight carries 30 February.");
    add("unknown-record", "One record of unknown kind in the last flight's first sector.");
    add("record-into-next-sector",
        "The last flight's first sector ends with a record running into the next one.");
    add("silent", "Never answer.");
    add("wrong-check", "Flip the check byte of every reply.");
    add("bad-header", "Replace the first byte of every reply by 0x55.");
    add("drop-byte", "Leave out the last byte of every reply.");
    add("extra-byte", "Send one byte more after every reply.");
    add("previous-replies",
        "Answer every request with the reply to the request before it (one reply behind).");
    add("garbage", "Send N bytes 0xA5 before every reply.", n);
    add("split", "Send replies in pieces of N bytes.", n);
    add("split-delay", "Pause between the pieces.", ms);
    add("late", "Wait before answering.", ms);
    add("pause-after", "Send the first N bytes of every reply, then pause.", n);
    add("pause", "Length of that pause.", ms);
    add("fail-first", "Stay silent for the first N requests.", n);
    add("hang-up-after", "Hang up after N requests.", n);
    add("hang-up-mid-reply", "On that request send half the reply, then hang up.");
    add("damage", "Damage the reply to one request (see --damage-at): " + DamageNameList() + ".",
        "KIND");
    add("damage-at", "The request (or firmware block) whose reply is damaged, from 1 (default 1).",
        n);
    add("damage-count", "Damage this many replies in a row (default 1).", n);
    add("damage-bytes", "Bytes of garbage for --damage garbage (default 64).", n);
    add("damage-ms", "Delay for --damage late (default 2000).", ms);
    add("fw-retries", "Answer 0x22 to this many firmware blocks before 0x11.", n);
    add("fw-reject-at", "Answer 0x40 to this firmware block (0-based).", n);
    add("fw-silent", "Never answer firmware blocks.");
    add("loader",
        "Act as an instrument in its loader: no answer to identification, firmware "
        "blocks taken.");
    add("write-alters-byte", "Keep byte N (0-149) of every settings write inverted.", n);
    add("transcript", "Append a hex transcript of the traffic to FILE.", "FILE");
    add("replay",
        "Answer as the session recorded in FILE did (tolmarik-cli --transcript or "
        "--transcript here): each recorded request gets its recorded reply; the memory and "
        "faults options then do nothing.",
        "FILE");
    if (!parser.parse(application.arguments())) {
        std::fprintf(stderr, "tolmarik-sim: %s See --help.\n", qPrintable(parser.errorText()));
        return flow::EC_USAGE;
    }
    if (parser.isSet(help)) parser.showHelp(flow::EC_OK);
    if (parser.isSet(version)) parser.showVersion();
    if (!parser.positionalArguments().isEmpty()) {
        std::fprintf(stderr, "tolmarik-sim: no arguments expected; see --help\n");
        return flow::EC_USAGE;
    }

    TOptionReader opt{parser};
    sim::TIdentity identity;
    identity.model = std::uint16_t(opt.Int("model", 101, 0, 65535));
    identity.firmwareVersion = std::uint16_t(opt.Int("firmware-version", 258, 0, 65535));
    identity.settings[4] = std::uint8_t(opt.Int("timezone", 3, -128, 255));
    identity.shortFrame = parser.isSet("short-identity");

    sim::TFlightPlan plan;
    plan.flights = opt.Int("flights", 2, 0, 1000);
    plan.minutes = opt.Int("minutes", 30, 0, 30000);
    plan.seed = std::uint32_t(opt.Int("seed", 1, 0, INT_MAX));
    plan.minutesEach = opt.IntList("minutes-each", 0, 30000);
    plan.firstFlightNumber = std::uint16_t(opt.Int("first-flight", 12, 0, 65535));
    plan.gapSectors = opt.Int("gap", 0, 0, 60000);
    plan.foreignSector = parser.isSet("foreign-sector");
    plan.monthZero = parser.isSet("month-zero");
    plan.invalidDate = parser.isSet("invalid-date");
    plan.unknownRecord = parser.isSet("unknown-record");
    plan.recordIntoNextSector = parser.isSet("record-into-next-sector");

    sim::TFaults faults;
    faults.silent = parser.isSet("silent");
    faults.wrongCheckByte = parser.isSet("wrong-check");
    faults.badHeader = parser.isSet("bad-header");
    faults.dropLastByte = parser.isSet("drop-byte");
    faults.extraByte = parser.isSet("extra-byte");
    faults.previousReplies = parser.isSet("previous-replies");
    faults.garbageBefore = opt.Int("garbage", 0, 0, 65535);
    faults.splitChunk = opt.Int("split", 0, 0, 65535);
    faults.splitDelayMs = opt.Int("split-delay", 0, 0, 600000);
    faults.lateMs = opt.Int("late", 0, 0, 600000);
    faults.pauseAfterBytes = opt.Int("pause-after", 0, 0, 65535);
    faults.pauseMs = opt.Int("pause", 0, 0, 600000);
    faults.failFirstRequests = opt.Int("fail-first", 0, 0, INT_MAX);
    faults.hangUpAfterRequests = opt.Int("hang-up-after", -1, 0, INT_MAX);
    faults.hangUpMidReply = parser.isSet("hang-up-mid-reply");
    faults.damage = opt.Damage("damage");
    faults.damageFrom = opt.Int("damage-at", 1, 1, INT_MAX);
    faults.damageCount = opt.Int("damage-count", 1, 0, INT_MAX);
    faults.damageBytes = opt.Int("damage-bytes", 64, 0, 65535);
    faults.damageMs = opt.Int("damage-ms", 2000, 0, 600000);
    faults.loader = parser.isSet("loader");
    faults.writeAltersByte = opt.Int("write-alters-byte", -1, 0, 149);

    sim::TFirmwareBehaviour firmware;
    firmware.retryAnswers = opt.Int("fw-retries", 0, 0, INT_MAX);
    firmware.rejectAtBlock = opt.Int("fw-reject-at", -1, 0, INT_MAX);
    firmware.silent = parser.isSet("fw-silent");
    if (!opt.ok) return flow::EC_USAGE;

    std::vector<sim::TExchange> replay;
    if (parser.isSet("replay")) {
        QFile file(parser.value("replay"));
        QString error;
        std::optional<std::vector<sim::TExchange>> read;
        if (file.open(QIODevice::ReadOnly))
            read = sim::ReadTranscript(file.readAll(), &error);
        else
            error = file.errorString();
        if (!read || read->empty()) {
            std::fprintf(
                stderr, "tolmarik-sim: %s: %s\n", qPrintable(file.fileName()),
                qPrintable(error.isEmpty() ? QStringLiteral("no request recorded") : error));
            return flow::EC_USAGE;
        }
        replay = std::move(*read);
    }

    const sim::TGeneratedMemory flights = sim::GenerateFlights(plan);
    sim::TSimulator simulator;
    simulator.SetIdentity(identity);
    simulator.SetMemory(flights.memory);
    simulator.SetStats(0, flights.stats[0]);
    simulator.SetStats(1, flights.stats[1]);
    simulator.SetFaults(faults);
    simulator.SetFirmwareBehaviour(firmware);
    simulator.SetPaced(!parser.isSet("no-pacing"));
    if (parser.isSet("freedoms")) simulator.SetProtocolFreedoms(true);
    simulator.SetTranscriptPath(parser.value("transcript"));
    simulator.SetReplay(std::move(replay));
    if (!simulator.Start(parser.value("link"))) {
        std::fprintf(stderr, "tolmarik-sim: cannot open a pseudo-terminal%s\n",
                     parser.isSet("link") ? " or make the link" : "");
        return 1;
    }
    std::printf("%s\n", qPrintable(simulator.PortPath()));
    std::fflush(stdout);
    for (const auto& f : flights.flights) {
        std::fprintf(stderr, "flight %u: sectors %u..%d, %u min, %04u-%02u-%02u %02u:%02u\n",
                     unsigned(f.flightNumber), unsigned(f.firstSector),
                     f.firstSector + f.sectors - 1, unsigned(f.stats.durationMinutes),
                     unsigned(f.stats.year), unsigned(f.stats.month), unsigned(f.stats.day),
                     unsigned(f.stats.hour), unsigned(f.stats.minute));
    }
    if (flights.foreignSector != 0)
        std::fprintf(stderr, "sector %u: flight %u\n", unsigned(flights.foreignSector),
                     unsigned(flights.foreignFlightNumber));

    int signal = 0;
    sigwait(&stopSignals, &signal);
    simulator.Stop();
    return 0;
}
