#pragma once
// The bench of the command-line suites: tolmarik-cli run as a pilot's script
// runs it, against one simulated instrument per suite, with the logbook in a
// data folder of the suite's own.
#include <pty.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include "device/FileStore.h"
#include "device/Frames.h"
#include "device/UserTexts.h"
#include "flow/DeviceChain.h"
#include "flow/ExitCodes.h"
#include "models/UnitFileIO.h"
#include "serial/OpenFailure.h"
#include "sim/FlightGenerator.h"
#include "sim/Simulator.h"
#include "tests/logbook/LogbookFlights.h"
#include "tests/support/SimBench.h"

// The suites' copies against a simulator that takes the protocol's freedoms
// (TOLMARIK_SIM_FREEDOMS) skip the cases that read no reply of the
// instrument: silence, usage errors, files alone. They would run the same.
#define SKIP_WHERE_NO_REPLY_IS_READ()                                                       \
    do {                                                                                    \
        if (sim::TSimulator::FreedomsFromEnvironment())                                     \
            QSKIP("no reply of the instrument is read here: the same as without freedoms"); \
    } while (false)

namespace {
struct Result {
    int exitCode = -1;
    QString out;
    QString err;
};

inline Result RunCli(const QStringList& args, const QString& workDir = QDir::currentPath(),
                     const QString& extraPorts = {}) {
    QProcess p;
    p.setWorkingDirectory(workDir);
    if (!extraPorts.isEmpty()) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("TOLMARIK_EXTRA_PORTS"), extraPorts);
        p.setProcessEnvironment(environment);
    }
    p.start(QStringLiteral(TOLMARIK_CLI), args);
    if (!p.waitForFinished(600000)) return {};
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

// Runs the CLI with its per-user data (the logbook) in `dataFolder`.
inline Result RunCliWithData(const QStringList& args, const QString& dataFolder) {
    QProcess p;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_DATA_HOME"), dataFolder);
    p.setProcessEnvironment(environment);
    p.start(QStringLiteral(TOLMARIK_CLI), args);
    p.waitForFinished(120000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

// A port that opens but where nothing ever answers.
struct SilentPort {
    int master = -1;
    int slave = -1;
    QString path;
    SilentPort() {
        char name[128] = {};
        if (openpty(&master, &slave, name, nullptr, nullptr) == 0)
            path = QString::fromLocal8Bit(name);
    }
    ~SilentPort() {
        ::close(master);
        ::close(slave);
    }
};

// The bytes of the lines of one direction ('>' or '<'), with or without the
// time stamp in front.
inline QByteArray Traffic(const QString& file, char direction) {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) return {};
    QByteArray bytes;
    for (const QByteArray& line : f.readAll().split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        const qsizetype at = fields.indexOf(QByteArray(1, direction));
        if (at < 0 || at > 1) continue;
        for (qsizetype i = at + 1; i < fields.size(); ++i) bytes += QByteArray::fromHex(fields[i]);
    }
    return bytes;
}

inline Result RunTool(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(120000)) return {};
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

// Runs the CLI with its standard output sent to `output`: "full" for a
// device that takes nothing, "closed" for a pipe whose reader has gone,
// "" for the usual pipe. A file size limit (`fileLimit` bytes, 0 for none)
// makes any longer file fail to grow, as a full disk would.
inline Result RunCliOutput(const QStringList& args, const QString& output, qint64 fileLimit = 0,
                           const QString& workDir = QDir::currentPath()) {
    QProcess p;
    p.setWorkingDirectory(workDir);
    int pipeEnds[2] = {-1, -1};
    if (output == QLatin1String("full")) p.setStandardOutputFile(QStringLiteral("/dev/full"));
    if (output == QLatin1String("closed")) {
        if (::pipe(pipeEnds) != 0) return {};
        ::close(pipeEnds[0]);
    }
    p.setChildProcessModifier([&] {
        if (pipeEnds[1] >= 0) ::dup2(pipeEnds[1], STDOUT_FILENO);
        if (fileLimit > 0) {
            // Ignored stays ignored in the program: the write fails instead.
            ::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{rlim_t(fileLimit), rlim_t(fileLimit)};
            ::setrlimit(RLIMIT_FSIZE, &limit);
        }
    });
    p.start(QStringLiteral(TOLMARIK_CLI), args);
    const bool finished = p.waitForFinished(600000);
    if (pipeEnds[1] >= 0) ::close(pipeEnds[1]);
    if (!finished || p.exitStatus() != QProcess::NormalExit) return {};
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

// Makes the folders of `parts` under the current folder, one inside the
// other, and enters the last; false when any step fails.
inline bool MakeAndEnter(const QList<QByteArray>& parts) {
    for (const QByteArray& part : parts)
        if (::mkdir(part.constData(), 0700) != 0 || ::chdir(part.constData()) != 0) return false;
    return true;
}

class TCliBench {
    testsupport::TSimBench bench_;

  protected:
    sim::TGeneratedMemory memory;

    sim::TSimulator& Simulator() { return bench_.Sim(); }

    // The instrument of every case: a write changes its settings.
    static sim::TIdentity Instrument() {
        sim::TIdentity identity;
        identity.model = 102;
        identity.firmwareVersion = 311;
        identity.settings[4] = 3;
        identity.settings[0] = 0xAB;
        return identity;
    }

    QString WriteFirmwareFile(const QTemporaryDir& dir, const QByteArray& image) {
        const QString file = dir.filePath(QStringLiteral("fw.enc"));
        QFile f(file);
        if (!f.open(QIODevice::WriteOnly) || f.write(image.toHex()) != image.size() * 2) return {};
        return file;
    }

    // The logbook of the downloads: never the user's own, which a download
    // that cannot record its flight now fails on.
    QTemporaryDir userData_;

    bool StartBench() {
        qputenv("XDG_DATA_HOME", QFile::encodeName(userData_.path()));
        if (!bench_.Plug()) return false;
        Simulator().SetIdentity(Instrument());
        sim::TFlightPlan plan;
        plan.flights = 2;
        plan.minutes = 20;
        memory = sim::GenerateFlights(plan);
        bench_.Load(memory);
        return true;
    }
    // What a case may have changed in the instrument.
    void ResetBench() {
        Simulator().SetFaults({});
        Simulator().SetIdentity(Instrument());
    }
};
}  // namespace
