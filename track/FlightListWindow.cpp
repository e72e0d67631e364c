#include "track/FlightListWindow.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "device/UserTexts.h"
#include "flow/WindowTiming.h"
#include "serial/UnitNVC.h"
#include "track/FlightList.h"
#include "track/FlightStats.h"
#include "track/TrackFolder.h"

namespace track {

namespace {

TFlightListServices& Services() {
    static TFlightListServices services;
    return services;
}

QTableWidgetItem* Cell(const QString& text, Qt::Alignment alignment = Qt::AlignLeft) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    item->setTextAlignment(alignment | Qt::AlignVCenter);
    return item;
}

bool SameFlight(const TListedFlight& a, const TListedFlight& b) {
    return FlightKey(a) == FlightKey(b);
}

}  // namespace

void SetFlightListServices(TFlightListServices services) { Services() = std::move(services); }

TFlightListWindow::TFlightListWindow(const TIgcInstrument& instrument,
                                     std::optional<std::uint8_t> timeZone, bool bySector,
                                     QWidget* parent)
    : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("TFlightListWindow"));
    setWindowTitle(tr("Полёты в памяти прибора"));
    setAttribute(Qt::WA_DeleteOnClose);

    btnScan = new QPushButton(tr("Обновить список"), this);
    btnScan->setObjectName(QStringLiteral("btnScan"));
    btnScan->setToolTip(tr("Прочитать заголовки всех секторов памяти заново"));
    chkReadBySector = new QCheckBox(device::ReadBySectorText, this);
    chkReadBySector->setObjectName(QStringLiteral("chkReadBySector"));
    chkReadBySector->setChecked(bySector);

    tblFlights = new QTableWidget(0, ColumnCount, this);
    tblFlights->setObjectName(QStringLiteral("tblFlights"));
    tblFlights->setHorizontalHeaderLabels({QString(), tr("№"), tr("Дата"), tr("Старт"),
                                           tr("Сектор"), tr("Секторов"), tr("Длительность"),
                                           tr("В журнале")});
    tblFlights->verticalHeader()->setVisible(false);
    tblFlights->setSelectionBehavior(QAbstractItemView::SelectRows);
    tblFlights->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblFlights->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    tblFlights->horizontalHeader()->setStretchLastSection(true);

    btnDownloadChosen = new QPushButton(tr("Скачать отмеченные"), this);
    btnDownloadChosen->setObjectName(QStringLiteral("btnDownloadChosen"));
    btnDownloadNew = new QPushButton(tr("Скачать все новые"), this);
    btnDownloadNew->setObjectName(QStringLiteral("btnDownloadNew"));
    btnDownloadNew->setToolTip(tr("Скачать все полёты, которых нет в журнале полётов"));
    btnCancel = new QPushButton(tr("Прервать"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnCancel->setEnabled(false);

    pbar = new QProgressBar(this);
    pbar->setObjectName(QStringLiteral("pbar"));
    pbar->setRange(0, 100);
    pbar->setValue(0);
    lblState = new QLabel(this);
    lblState->setObjectName(QStringLiteral("lblState"));
    lblState->setWordWrap(true);
    mmoLog = new QPlainTextEdit(this);
    mmoLog->setObjectName(QStringLiteral("mmoLog"));
    mmoLog->setReadOnly(true);
    mmoLog->setMaximumBlockCount(5000);

    auto* top = new QHBoxLayout;
    top->addWidget(btnScan);
    top->addWidget(chkReadBySector);
    top->addStretch(1);
    auto* actions = new QHBoxLayout;
    actions->addWidget(btnDownloadChosen);
    actions->addWidget(btnDownloadNew);
    actions->addStretch(1);
    actions->addWidget(btnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(tblFlights, 3);
    layout->addLayout(actions);
    layout->addWidget(pbar);
    layout->addWidget(lblState);
    layout->addWidget(mmoLog, 1);
    resize(720, 560);

    serial::TNonVisComp& link = serial::TNonVisComp::Instance();
    if (Services().makeLookup) lookup_ = Services().makeLookup();
    scan_ = std::make_unique<flow::TFlightScan>(link, static_cast<flow::TScanReports&>(*this));
    scan_->Timing = flow::WindowTiming();
    scan_->Lookup = lookup_.get();
    scan_->CacheFile = Services().cacheFile;
    run_ =
        std::make_unique<flow::TFlightsDownload>(link, static_cast<flow::TFlightsReports&>(*this));
    run_->Timing = flow::WindowTiming();
    run_->Folder = [] { return TrackFolder(); };
    run_->SetInstrument(instrument, timeZone);
    key_ = {instrument.model.value_or(0), instrument.firmwareVersion.value_or(0)};
    run_->MarkAs = key_;
    run_->MarksFile = Services().cacheFile;

    connect(btnScan, &QPushButton::clicked, this, [this] { Scan(true); });
    connect(btnDownloadChosen, &QPushButton::clicked, this,
            &TFlightListWindow::btnDownloadChosenClick);
    connect(btnDownloadNew, &QPushButton::clicked, this, &TFlightListWindow::btnDownloadNewClick);
    connect(btnCancel, &QPushButton::clicked, this, &TFlightListWindow::btnCancelClick);
}

TFlightListWindow::~TFlightListWindow() {
    // A running scan stops at the next sector; a download ends its flight.
    scan_->Cancel();
    run_->Cancel();
}

void TFlightListWindow::SetBusy(bool busy) {
    btnScan->setEnabled(!busy);
    btnDownloadChosen->setEnabled(!busy);
    btnDownloadNew->setEnabled(!busy);
    chkReadBySector->setEnabled(!busy);
    btnCancel->setEnabled(busy);
}

void TFlightListWindow::ShowState(const flow::TReport& report) {
    QString text = report.text;
    if (!report.reason.isEmpty()) text += QStringLiteral(": ") + report.reason;
    lblState->setText(text);
    QPalette palette = lblState->palette();
    palette.setColor(QPalette::WindowText, report.Colour());
    lblState->setPalette(palette);
}

void TFlightListWindow::Scan(bool fresh) {
    if (Busy()) return;
    pbar->setValue(0);
    lblState->setText(tr("Поиск полётов в памяти прибора..."));
    SetBusy(true);
    scan_->Start(key_, fresh);
}

void TFlightListWindow::Progress(int done, int total) {
    pbar->setValue(done * 100 / std::max(1, total));
}

void TFlightListWindow::Finished(const flow::TReport& outcome, bool fromCache) {
    SetBusy(false);
    pbar->setValue(100);
    ShowFlights();
    const auto fresh = std::count_if(Flights().begin(), Flights().end(),
                                     [](const TListedFlight& f) { return !f.inLogbook; });
    if (const QString failure = LookupFailure(); !failure.isEmpty()) {
        ShowState(flow::Report(flow::TOutcome::BadFile, failure));
    } else if (outcome.outcome == flow::TOutcome::Done) {
        ShowState(flow::Report(flow::TOutcome::Done,
                               FlightsFoundText(Flights().size(), std::size_t(fresh)) +
                                   (fromCache ? tr(" (память не изменилась)") : QString())));
    } else {
        ShowState(outcome);
    }
}

QString TFlightListWindow::LookupFailure() const {
    return lookup_ ? lookup_->Failure() : QString();
}

void TFlightListWindow::ShowFlights() {
    const bool known = LookupFailure().isEmpty();
    tblFlights->setRowCount(0);
    for (const TListedFlight& f : Flights()) {
        const bool held =
            f.inLogbook || std::any_of(downloaded_.begin(), downloaded_.end(),
                                       [&](const TListedFlight& d) { return SameFlight(d, f); });
        const int row = tblFlights->rowCount();
        tblFlights->insertRow(row);
        auto* chosen = new QTableWidgetItem;
        chosen->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
        chosen->setCheckState(Qt::Unchecked);
        tblFlights->setItem(row, ColChosen, chosen);
        tblFlights->setItem(row, ColNumber, Cell(QString::number(f.flightNumber), Qt::AlignRight));
        tblFlights->setItem(row, ColDate, Cell(ListedDateText(f)));
        tblFlights->setItem(row, ColStart, Cell(ListedTimeText(f)));
        tblFlights->setItem(row, ColSector, Cell(QString::number(f.firstSector), Qt::AlignRight));
        tblFlights->setItem(row, ColSectors, Cell(QString::number(f.sectors), Qt::AlignRight));
        tblFlights->setItem(row, ColDuration, Cell(ListedDurationText(f), Qt::AlignRight));
        tblFlights->setItem(row, ColLogbook, Cell(InLogbookText(held, known)));
    }
}

void TFlightListWindow::btnDownloadChosenClick() {
    // A row stands for the flight of the same index in the list.
    std::vector<TListedFlight> chosen = OldestFirst(Flights(), [this](std::size_t i) {
        return int(i) < tblFlights->rowCount() &&
               tblFlights->item(int(i), ColChosen)->checkState() == Qt::Checked;
    });
    if (chosen.empty()) {
        ShowState(
            flow::Report(flow::TOutcome::NoTrack, tr("Отметьте полёты, которые нужно скачать")));
        return;
    }
    Download(std::move(chosen));
}

void TFlightListWindow::btnDownloadNewClick() {
    // Without the logbook every flight would look new.
    if (const QString failure = LookupFailure(); !failure.isEmpty()) {
        ShowState(flow::Report(flow::TOutcome::BadFile, failure));
        return;
    }
    std::vector<TListedFlight> fresh;
    for (const TListedFlight& f : NewFlights(Flights()))
        if (std::none_of(downloaded_.begin(), downloaded_.end(),
                         [&](const TListedFlight& d) { return SameFlight(d, f); }))
            fresh.push_back(f);
    if (fresh.empty()) {
        ShowState(flow::Report(flow::TOutcome::Done, NothingNewText()));
        return;
    }
    Download(std::move(fresh));
}

void TFlightListWindow::Download(std::vector<TListedFlight> flights) {
    if (Busy()) return;
    mmoLog->clear();
    SetBusy(true);
    run_->Start(std::move(flights), chkReadBySector->isChecked());
}

void TFlightListWindow::btnCancelClick() {
    scan_->Cancel();
    run_->Cancel();
    lblState->setText(tr("Останавливается..."));
}

void TFlightListWindow::FlightStarted(const TListedFlight& flight, int position, int count) {
    lblState->setText(
        tr("Скачивается полет №%1 (%2 из %3)").arg(flight.flightNumber).arg(position).arg(count));
}

void TFlightListWindow::Progress(int percent) { pbar->setValue(percent); }

void TFlightListWindow::FlightDone(const TListedFlight& flight,
                                   const std::optional<track::TFlightStatsReply>& stats,
                                   const QStringList& fileLines, const flow::TReport& outcome) {
    if (stats)
        for (const QString& line : FlightStatsLines(*stats)) mmoLog->appendPlainText(line);
    for (const QString& line : fileLines) mmoLog->appendPlainText(line);
    if (!outcome.Good()) {
        mmoLog->appendPlainText(outcome.text);
        return;
    }
    mmoLog->appendPlainText(QString());
    downloaded_.push_back(flight);
    ShowFlights();
}

void TFlightListWindow::Finished(const flow::TReport& outcome, int) {
    SetBusy(false);
    ShowState(outcome);
}

}  // namespace track
