// Firmware transfer to the simulated instrument paced at 115200 8N1, at the
// program's own timing (100 ms receive polling, 5 ms answer polls, 10 ms after
// every 60-byte piece): wall time against the pacing bound.
//
//   bench_firmware
#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdio>
#include <vector>

#include "device/DeviceIO.h"
#include "device/StatusReceiver.h"
#include "serial/UnitNVC.h"
#include "sim/Simulator.h"

namespace {
constexpr int kBlocks = 120;
constexpr int kBlockBytes = 1024;  // count 1022 + the 2 count bytes
constexpr double kByteSeconds = 10.0 / 115200;

struct TOutcome {
    int lastProgress = -1;
    int failures = 0;
    device::TStatusReceiver receiver;

    TOutcome() {
        receiver.OnStatus = [this](int code, qintptr value) {
            if (code == device::ST_FW_PROGRESS) lastProgress = int(value);
            if (code == device::ST_NO_LINK || code == device::ST_FW_REJECTED ||
                code == device::ST_PORT_FAILED)
                ++failures;
        };
    }
};

// The time the pauses and the line need at least for one block, as if the
// wire time did not overlap the pauses.
double BlockBound(int blockBytes) {
    const double pauses = (blockBytes / device::FirmwarePiece) * 0.010;
    return pauses + blockBytes * kByteSeconds + kByteSeconds;  // + the answer byte
}
}  // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    sim::TSimulator simulator;
    simulator.SetPaced(true);
    if (!simulator.Start()) {
        std::fprintf(stderr, "simulator did not start\n");
        return 1;
    }
    serial::TNonVisComp link;
    link.comport.SetPortName(simulator.PortPath());

    std::vector<std::uint8_t> image;
    for (int b = 0; b < kBlocks; ++b) {
        const int count = kBlockBytes - 2;
        image.push_back(std::uint8_t(count >> 8));
        image.push_back(std::uint8_t(count));
        for (int i = 0; i < count; ++i) image.push_back(std::uint8_t(b * 7 + i * 13));
    }
    std::copy(image.begin(), image.end(), link.TxBuffer.begin());

    TOutcome outcome;
    auto* worker = device::TDeviceIO::Create(link, outcome.receiver.Target());
    worker->Operation = device::OP_FIRMWARE;
    worker->DataLength = int(image.size());
    worker->OnTerminate = [] { QCoreApplication::exit(0); };
    QElapsedTimer timer;
    timer.start();
    worker->Start();
    QCoreApplication::exec();
    const double seconds = timer.nsecsElapsed() / 1e9;

    double bound = 0;
    for (int b = 0; b < kBlocks; ++b) bound += BlockBound(kBlockBytes);
    const bool exact = simulator.FirmwareReceived() == image;
    std::printf("%d blocks of %d bytes (%zu bytes), simulator paced at 115200 8N1\n", kBlocks,
                kBlockBytes, image.size());
    std::printf("outcome: progress %d, %d failures, %d blocks sent, image %s\n",
                outcome.lastProgress, outcome.failures, simulator.FirmwareBlocksReceived(),
                exact ? "received byte-exact" : "DIFFERS");
    std::printf("wall %.2f s (%.1f ms a block), bound %.2f s, ratio bound/wall %.3f\n", seconds,
                seconds * 1000 / kBlocks, bound, bound / seconds);
    return outcome.lastProgress == 100 && exact ? 0 : 1;
}
