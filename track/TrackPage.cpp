#include "track/TrackPage.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "device/AppError.h"
#include "device/DeviceIO.h"
#include "device/Dialogs.h"
#include "device/PageDump.h"
#include "device/TrackLists.h"
#include "serial/UnitNVC.h"
#include "track/FlightStats.h"
#include "track/TrackExport.h"

namespace track {

using namespace device;

namespace {
class TPlainTextSink : public TMemoSink {
  public:
    explicit TPlainTextSink(QPlainTextEdit* memo) : memo_(memo) {}
    void Clear() override { memo_->clear(); }
    void AddLine(const QString& line) override { memo_->appendPlainText(line); }

  private:
    QPlainTextEdit* memo_;
};

QToolButton* SpeedButton(const QString& text, const QString& icon, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setText(text);
    button->setIcon(QIcon(icon));
    button->setIconSize(QSize(20, 20));
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setMinimumHeight(30);
    return button;
}

const std::uint8_t* Reply() { return serial::TNonVisComp::Instance().RxBuffer.data(); }
}  // namespace

TTrackPage::TTrackPage(TTarget target, QWidget* parent)
    : QWidget(parent), target_(std::move(target)) {
    btnStatLast =
        SpeedButton(QStringLiteral("Последний"), QStringLiteral(":/icons/stats.svg"), this);
    btnStatLast->setObjectName(QStringLiteral("btnStatLast"));
    btnStatLast->setProperty("tag", 0);
    btnStPrev =
        SpeedButton(QStringLiteral("Предыдущий"), QStringLiteral(":/icons/stats-prev.svg"), this);
    btnStPrev->setObjectName(QStringLiteral("btnStPrev"));
    btnStPrev->setProperty("tag", 1);
    btnStPrev->setEnabled(false);
    btnLoad = SpeedButton(QStringLiteral("Скачать"), QStringLiteral(":/icons/download.svg"), this);
    btnLoad->setObjectName(QStringLiteral("btnLoad"));
    btnLoad->setEnabled(false);

    pbar = new QProgressBar(this);
    pbar->setObjectName(QStringLiteral("pbar"));
    pbar->setRange(0, 100);
    pbar->setValue(10);
    pbar->setTextVisible(false);
    pbar->setVisible(false);

    chkReadBySector = new QCheckBox(QStringLiteral("Читать по сектору"), this);
    chkReadBySector->setObjectName(QStringLiteral("chkReadBySector"));
    chkReadBySector->setChecked(true);

    lblSect = new QLabel(QStringLiteral("Номер страницы"), this);
    lblSect->setObjectName(QStringLiteral("lblSect"));
    edtSector = new QLineEdit(QStringLiteral("64"), this);
    edtSector->setObjectName(QStringLiteral("edtSector"));
    edtSector->setMaximumWidth(60);
    btnRead = new QPushButton(QStringLiteral("Считать"), this);
    btnRead->setObjectName(QStringLiteral("btnRead"));
    btnSavePartial = new QPushButton(QStringLiteral("Сохранить прочитанное"), this);
    btnSavePartial->setObjectName(QStringLiteral("btnSavePartial"));
    btnSavePartial->setVisible(false);
    lblSect->setVisible(false);
    edtSector->setVisible(false);
    btnRead->setVisible(false);

    mmoDump = new QPlainTextEdit(this);
    mmoDump->setObjectName(QStringLiteral("mmoDump"));
    mmoDump->setReadOnly(true);
    mmoDump->setLineWrapMode(QPlainTextEdit::NoWrap);
    QFont courier(QStringLiteral("Courier"));
    courier.setStyleHint(QFont::TypeWriter);
    courier.setFixedPitch(true);
    mmoDump->setFont(courier);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnStatLast);
    buttons->addWidget(btnStPrev);
    buttons->addSpacing(12);
    buttons->addWidget(btnLoad);
    buttons->addWidget(chkReadBySector);
    buttons->addWidget(btnSavePartial);
    buttons->addStretch(1);
    buttons->addWidget(lblSect);
    buttons->addWidget(edtSector);
    buttons->addWidget(btnRead);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(buttons);
    layout->addWidget(pbar);
    layout->addWidget(mmoDump, 1);

    connect(btnStatLast, &QToolButton::clicked, this, [this] { btnStatGet(0); });
    connect(btnStPrev, &QToolButton::clicked, this, [this] { btnStatGet(1); });
    connect(btnLoad, &QToolButton::clicked, this, &TTrackPage::btnLoadClick);
    connect(btnRead, &QPushButton::clicked, this, &TTrackPage::btnReadClick);
    connect(btnSavePartial, &QPushButton::clicked, this, &TTrackPage::btnSavePartialClick);
}

bool TTrackPage::Run(TDeviceIO* worker, bool disableButtons) {
    running_ = worker;
    worker->OnTerminate = [page = QPointer<TTrackPage>(this)] {
        if (!page) return;
        page->running_ = nullptr;
        page->SetButtonsEnabled(true);
        page->DownloadEnded();
    };
    if (disableButtons) SetButtonsEnabled(false);
    worker->Start();
    return true;
}

void TTrackPage::btnStatGet(int tag) {
    if (WorkerRunning()) return;
    TDeviceIO* worker = TDeviceIO::Create(target_);
    worker->Operation = OP_READ_STATS;
    worker->FlightIndex = static_cast<std::uint8_t>(tag);
    Run(worker, true);
}

void TTrackPage::btnLoadClick() {
    if (TrackStartSector == 0 || WorkerRunning()) return;
    TDeviceIO* worker = TDeviceIO::Create(target_);
    worker->Operation = OP_TRACK;
    worker->StartSector = TrackStartSector;
    worker->BySector = chkReadBySector->isChecked();
    // The lists of an unfinished earlier download are emptied by this one.
    btnSavePartial->setVisible(false);
    downloading_ = true;
    downloadFlight_ = FlightNumber;
    downloadBySector_ = worker->BySector;
    downloadCount_ = 0;
    trackEnded_ = false;
    Run(worker, true);
}

void TTrackPage::btnReadClick() {
    bool ok = false;
    const int page = edtSector->text().toInt(&ok);
    ReadPage(ok ? page * 256 : 0);
}

void TTrackPage::ReadPage(std::int32_t address) {
    if (WorkerRunning()) return;
    TDeviceIO* worker = TDeviceIO::Create(target_);
    worker->Operation = OP_READ_PAGE;
    worker->PageAddress = address;
    Run(worker, false);
}

void TTrackPage::SetButtonsEnabled(bool enabled) {
    btnStatLast->setEnabled(enabled);
    btnStPrev->setEnabled(enabled);
    btnLoad->setEnabled(enabled);
}

void TTrackPage::EndOfOperation() {
    pbar->setVisible(false);
    SetButtonsEnabled(true);
}

void TTrackPage::ShowFlightStats() {
    const TFlightStatsReply stats = ParseFlightStats(Reply());
    TrackStartSector = stats.startSector;
    FlightNumber = stats.flightNumber;
    mmoDump->clear();
    for (const QString& line : FlightStatsLines(stats)) mmoDump->appendPlainText(line);
    FlightMinutes = stats.durationMinutes;
}

void TTrackPage::ShowTrackProgress(int count) {
    downloadCount_ = count;
    trackEnded_ = false;
    pbar->setVisible(true);
    const int position = TrackProgressPosition(count, FlightMinutes, chkReadBySector->isChecked());
    pbar->setValue(std::clamp(position, pbar->minimum(), pbar->maximum()));
}

void TTrackPage::WriteTrackFiles() {
    trackEnded_ = true;
    TPlainTextSink memo(mmoDump);
    try {
        track::WriteTrackFiles(FlightNumber, TrackLists().Snapshot(), memo);
    } catch (const device::TAppError& error) {
        device::ShowError(error.Text());
    }
}

// A download that stops without the end of the track (link lost, count
// limit) writes no files by itself; what it read is kept for the button.
void TTrackPage::DownloadEnded() {
    if (!downloading_) return;
    downloading_ = false;
    if (trackEnded_) return;
    const TrackSnapshot lists = TrackLists().Snapshot();
    mmoDump->appendPlainText(UnfinishedDownloadText(downloadCount_, downloadBySector_,
                                                    lists.gps.size(), lists.eng.size()));
    btnSavePartial->setVisible(!lists.gps.empty() || !lists.eng.empty());
}

void TTrackPage::btnSavePartialClick() {
    if (WorkerRunning()) return;
    TPlainTextSink memo(mmoDump);
    try {
        track::WriteTrackFiles(downloadFlight_, TrackLists().Snapshot(), memo);
        btnSavePartial->setVisible(false);
    } catch (const device::TAppError& error) {
        device::ShowError(error.Text());
    }
}

void TTrackPage::ShowPageDump() {
    mmoDump->clear();
    for (const QString& line : PageDumpLines(Reply())) mmoDump->appendPlainText(line);
}

}  // namespace track
