#include "track/TrackPage.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QDir>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QResizeEvent>
#include <QScrollBar>
#include <QSplitter>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "device/AppError.h"
#include "device/DeviceIO.h"
#include "device/Dialogs.h"
#include "device/PageDump.h"
#include "device/TrackLists.h"
#include "serial/UnitNVC.h"
#include "track/ExportJob.h"
#include "track/FlightPlot.h"
#include "track/FlightPlotView.h"
#include "track/FlightScoreView.h"
#include "track/FlightStats.h"
#include "track/TrackExport.h"
#include "track/TrackFolder.h"

namespace track {

using namespace device;

namespace {
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

// A path too long for its place loses its middle, not its end.
class TPathLabel : public QLabel {
  public:
    explicit TPathLabel(QWidget* parent) : QLabel(parent) {
        setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    }
    void SetPath(const QString& path) {
        path_ = path;
        setToolTip(path);
        Elide();
    }

  protected:
    void resizeEvent(QResizeEvent* event) override {
        QLabel::resizeEvent(event);
        Elide();
    }

  private:
    void Elide() { setText(fontMetrics().elidedText(path_, Qt::ElideMiddle, width())); }
    QString path_;
};

// The longest line of the statistics ("Верт.скорость вверх -12.50 м/c").
constexpr int MemoColumns = 31;

// The memo asks for the width of the longest line of the statistics; the
// picture beside it takes the rest.
class TMemo : public QPlainTextEdit {
  public:
    explicit TMemo(QWidget* parent) : QPlainTextEdit(parent) {}
    QSize sizeHint() const override {
        const int width = fontMetrics().horizontalAdvance(QString(MemoColumns, u'0')) +
                          2 * frameWidth() + 2 * int(document()->documentMargin()) +
                          verticalScrollBar()->sizeHint().width();
        return {width, QPlainTextEdit::sizeHint().height()};
    }
};

// The size to draw the picture at for a view: the view's, or as much larger
// as the smallest picture needs, so that it fills the view when scaled.
QSize PlotSizeFor(QSize view) {
    const double factor = std::max({1.0, double(MinFlightPlotSize.width()) / view.width(),
                                    double(MinFlightPlotSize.height()) / view.height()});
    return {int(std::ceil(view.width() * factor)), int(std::ceil(view.height() * factor))};
}

TUrlOpener& UrlOpener() {
    static TUrlOpener opener;
    return opener;
}

// Long enough for a dragged window edge to come to rest.
constexpr int PictureRedrawDelayMs = 150;

// The chosen folder, or the current directory where the files then go.
QString TrackFolderOrCurrent() {
    const QString folder = TrackFolder();
    return folder.isEmpty() ? QDir::currentPath() : folder;
}

QString TrackFolderShown() { return QDir::toNativeSeparators(TrackFolderOrCurrent()); }

void ShowLines(QPlainTextEdit* memo, const QStringList& lines, QPlainTextEdit::LineWrapMode wrap) {
    memo->clear();
    memo->setLineWrapMode(wrap);
    for (const QString& line : lines) memo->appendPlainText(line);
}
}  // namespace

void SetUrlOpener(TUrlOpener opener) { UrlOpener() = std::move(opener); }

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

    mmoDump = new TMemo(this);
    mmoDump->setObjectName(QStringLiteral("mmoDump"));
    mmoDump->setReadOnly(true);
    // Narrow beside the picture: long lines (the paths of the files) wrap.
    mmoDump->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    mmoDump->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    QFont courier(QStringLiteral("Courier"));
    courier.setStyleHint(QFont::TypeWriter);
    courier.setFixedPitch(true);
    mmoDump->setFont(courier);

    imgFlight = new TFlightPlotView(this);
    splReport = new QSplitter(Qt::Horizontal, this);
    splReport->setObjectName(QStringLiteral("splReport"));
    splReport->setChildrenCollapsible(false);
    splReport->addWidget(mmoDump);
    splReport->addWidget(imgFlight);
    splReport->setStretchFactor(0, 0);
    splReport->setStretchFactor(1, 1);

    lblTrackFolder = new TPathLabel(this);
    lblTrackFolder->setObjectName(QStringLiteral("lblTrackFolder"));
    btnTrackFolder = new QPushButton(QStringLiteral("Папка..."), this);
    btnTrackFolder->setObjectName(QStringLiteral("btnTrackFolder"));
    btnTrackFolder->setToolTip(QStringLiteral("Выбрать папку для файлов трека"));
    btnOpenFolder = new QPushButton(QStringLiteral("Открыть папку"), this);
    btnOpenFolder->setObjectName(QStringLiteral("btnOpenFolder"));

    exporter_ = new TLatestJobRunner(this);
    plotter_ = new TLatestJobRunner(this);
    plotTimer_ = new QTimer(this);
    plotTimer_->setSingleShot(true);
    plotTimer_->setInterval(PictureRedrawDelayMs);

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
    layout->addWidget(splReport, 1);
    auto* folder = new QHBoxLayout;
    folder->addWidget(new QLabel(QStringLiteral("Файлы трека:"), this));
    folder->addWidget(lblTrackFolder, 1);
    folder->addWidget(btnTrackFolder);
    folder->addWidget(btnOpenFolder);
    layout->addLayout(folder);
    ShowTrackFolder();

    connect(btnStatLast, &QToolButton::clicked, this, [this] { btnStatGet(0); });
    connect(btnStPrev, &QToolButton::clicked, this, [this] { btnStatGet(1); });
    connect(btnLoad, &QToolButton::clicked, this, &TTrackPage::btnLoadClick);
    connect(btnRead, &QPushButton::clicked, this, &TTrackPage::btnReadClick);
    connect(btnSavePartial, &QPushButton::clicked, this, &TTrackPage::btnSavePartialClick);
    connect(btnTrackFolder, &QPushButton::clicked, this, &TTrackPage::btnTrackFolderClick);
    connect(btnOpenFolder, &QPushButton::clicked, this, &TTrackPage::btnOpenFolderClick);
    connect(imgFlight, &TFlightPlotView::Resized, plotTimer_, qOverload<>(&QTimer::start));
    connect(plotTimer_, &QTimer::timeout, this, &TTrackPage::RedrawPicture);
}

bool TTrackPage::ExportRunning() const { return exporter_->Busy() || plotter_->Busy(); }

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
    afterExport_ = nullptr;
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
    ++memoGeneration_;
    ShowLines(mmoDump, FlightStatsLines(stats), QPlainTextEdit::WidgetWidth);
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
    StartExport(FlightNumber, false);
}

void TTrackPage::StartExport(std::uint16_t flight, bool partial) {
    auto request = std::make_shared<TExportRequest>();
    request->flightNumber = flight;
    request->lists = TrackLists().Snapshot();
    request->folder = TrackFolder();
    request->options.instrument = instrument_;
    request->plotSize = PlotSizeFor(imgFlight->size());
    exporter_->Submit([request, page = QPointer<TTrackPage>(this), generation = memoGeneration_,
                       partial]() -> TLatestJobRunner::TDone {
        auto result = std::make_shared<const TExportResult>(RunExport(*request));
        return [page, result, generation, partial] {
            if (page) page->ExportFinished(*result, generation, partial);
        };
    });
}

void TTrackPage::ExportFinished(const TExportResult& result, int memoGeneration, bool partial) {
    if (memoGeneration == memoGeneration_) {
        QStringList lines = result.memo;
        for (const QString& file : result.files) lines.append(QDir::toNativeSeparators(file));
        ShowLines(mmoDump, lines, QPlainTextEdit::WidgetWidth);
    }
    fixes_ = result.fixes;
    imgFlight->SetImage(result.plot);
    if (result.error.isEmpty()) ShowFlightScore(mmoDump, imgFlight, fixes_);
    if (!result.plot.isNull() && result.plot.size() != PlotSizeFor(imgFlight->size()))
        plotTimer_->start();
    if (!result.error.isEmpty()) {
        device::ShowError(result.error);
    } else if (partial) {
        btnSavePartial->setVisible(false);
    }
    if (afterExport_ && !exporter_->Busy()) std::exchange(afterExport_, nullptr)();
}

void TTrackPage::RedrawPicture() {
    const QSize size = PlotSizeFor(imgFlight->size());
    if (!fixes_ || fixes_->empty() || imgFlight->Image().size() == size) return;
    plotter_->Submit(
        [fixes = fixes_, size, page = QPointer<TTrackPage>(this)]() -> TLatestJobRunner::TDone {
            const QImage image = RenderFlightPlot(*fixes, size);
            return [page, fixes, image] {
                // A newer download has its own picture.
                if (page && page->fixes_ == fixes) page->imgFlight->SetImage(image);
            };
        });
}

void TTrackPage::ShowTrackFolder() {
    static_cast<TPathLabel*>(lblTrackFolder)->SetPath(TrackFolderShown());
}

void TTrackPage::btnTrackFolderClick() {
    const QString chosen = device::Dialogs().FolderName(this, TrackFolderShown());
    if (chosen.isEmpty()) return;
    SetTrackFolder(QDir(chosen).absolutePath());
    ShowTrackFolder();
}

void TTrackPage::btnOpenFolderClick() {
    const QString folder = TrackFolderOrCurrent();
    const QUrl url = QUrl::fromLocalFile(folder);
    const bool opened = UrlOpener() ? UrlOpener()(url) : QDesktopServices::openUrl(url);
    if (!opened)
        device::ShowError(
            QStringLiteral("Не удалось открыть папку %1").arg(QDir::toNativeSeparators(folder)));
}

// A download that stops without the end of the track (link lost, count
// limit) writes no files by itself; what it read is kept for the button.
void TTrackPage::DownloadEnded() {
    if (!downloading_) return;
    downloading_ = false;
    if (trackEnded_) return;
    afterExport_ = [this] {
        const TrackSnapshot lists = TrackLists().Snapshot();
        mmoDump->appendPlainText(UnfinishedDownloadText(downloadCount_, downloadBySector_,
                                                        lists.gps.size(), lists.eng.size()));
        btnSavePartial->setVisible(!lists.gps.empty() || !lists.eng.empty());
    };
    if (!exporter_->Busy()) std::exchange(afterExport_, nullptr)();
}

void TTrackPage::btnSavePartialClick() {
    if (WorkerRunning()) return;
    StartExport(downloadFlight_, true);
}

void TTrackPage::ShowPageDump() {
    ++memoGeneration_;
    // A table of 16 bytes a row; every other text wraps.
    ShowLines(mmoDump, PageDumpLines(Reply()), QPlainTextEdit::NoWrap);
}

}  // namespace track
