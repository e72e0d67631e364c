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

#include "device/DeviceIO.h"
#include "device/Dialogs.h"
#include "device/UserTexts.h"
#include "flow/WindowTiming.h"
#include "serial/UnitNVC.h"
#include "track/FlightListWindow.h"
#include "track/FlightPlot.h"
#include "track/FlightPlotView.h"
#include "track/FlightScoreView.h"
#include "track/FlightStats.h"
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

TTrackPage::TTrackPage(QWidget* parent) : QWidget(parent) {
    btnStatLast = SpeedButton(tr("Последний"), QStringLiteral(":/icons/stats.png"), this);
    btnStatLast->setObjectName(QStringLiteral("btnStatLast"));
    btnStatLast->setProperty("tag", 0);
    btnStPrev = SpeedButton(tr("Предыдущий"), QStringLiteral(":/icons/stats-prev.png"), this);
    btnStPrev->setObjectName(QStringLiteral("btnStPrev"));
    btnStPrev->setProperty("tag", 1);
    btnStPrev->setEnabled(false);
    btnLoad = SpeedButton(tr("Скачать"), QStringLiteral(":/icons/download.png"), this);
    btnLoad->setObjectName(QStringLiteral("btnLoad"));
    btnLoad->setEnabled(false);

    pbar = new QProgressBar(this);
    pbar->setObjectName(QStringLiteral("pbar"));
    pbar->setRange(0, 100);
    pbar->setValue(10);
    pbar->setTextVisible(false);
    pbar->setVisible(false);

    chkReadBySector = new QCheckBox(device::ReadBySectorText, this);
    chkReadBySector->setObjectName(QStringLiteral("chkReadBySector"));
    chkReadBySector->setChecked(true);

    lblSect = new QLabel(tr("Номер страницы"), this);
    lblSect->setObjectName(QStringLiteral("lblSect"));
    edtSector = new QLineEdit(QStringLiteral("64"), this);
    edtSector->setObjectName(QStringLiteral("edtSector"));
    edtSector->setMaximumWidth(60);
    btnRead = new QPushButton(tr("Считать"), this);
    btnRead->setObjectName(QStringLiteral("btnRead"));
    btnSavePartial = new QPushButton(tr("Сохранить прочитанное"), this);
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
    btnTrackFolder = new QPushButton(tr("Папка..."), this);
    btnTrackFolder->setObjectName(QStringLiteral("btnTrackFolder"));
    btnTrackFolder->setToolTip(tr("Выбрать папку для файлов трека"));
    btnOpenFolder = new QPushButton(device::OpenFolderText, this);
    btnOpenFolder->setObjectName(QStringLiteral("btnOpenFolder"));
    btnFlights = new QPushButton(tr("Все полёты..."), this);
    btnFlights->setObjectName(QStringLiteral("btnFlights"));
    btnFlights->setToolTip(tr("Все полёты в памяти прибора: скачать любой из них или все новые"));

    download_ = new flow::TTrackDownload(serial::TNonVisComp::Instance(), *this, this);
    download_->Timing = flow::WindowTiming();
    download_->Folder = [] { return TrackFolder(); };
    download_->PlotSize = [this] { return PlotSizeFor(imgFlight->size()); };
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
    buttons->addWidget(btnFlights);
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
    folder->addWidget(new QLabel(tr("Файлы трека:"), this));
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
    connect(btnFlights, &QPushButton::clicked, this, &TTrackPage::btnFlightsClick);
    connect(imgFlight, &TFlightPlotView::Resized, plotTimer_, qOverload<>(&QTimer::start));
    connect(plotTimer_, &QTimer::timeout, this, [this] { RedrawPicture(); });
}

bool TTrackPage::ExportRunning() const { return download_->ExportRunning() || plotter_->Busy(); }

void TTrackPage::SetInstrument(const TIgcInstrument& instrument,
                               std::optional<std::uint8_t> timeZone) {
    download_->SetInstrument(instrument, timeZone);
    instrument_ = instrument;
    timeZone_ = timeZone;
}

TFlightListWindow* TTrackPage::FlightList() const { return flightList_; }

void TTrackPage::btnFlightsClick() {
    if (!flightList_) {
        flightList_ =
            new TFlightListWindow(instrument_, timeZone_, chkReadBySector->isChecked(), this);
        flightList_->show();
        flightList_->Scan(false);
    }
    flightList_->raise();
    flightList_->activateWindow();
}

void TTrackPage::btnStatGet(int tag) {
    if (!download_->ReadStats(static_cast<std::uint8_t>(tag))) return;
    flightIndex_ = static_cast<std::uint8_t>(tag);
    SetButtonsEnabled(false);
}

void TTrackPage::btnLoadClick() {
    TFlightStatsReply stats;
    stats.flightNumber = FlightNumber;
    stats.startSector = TrackStartSector;
    stats.durationMinutes = FlightMinutes;
    if (!download_->Download(stats, flightIndex_, chkReadBySector->isChecked())) return;
    // The lists of an unfinished earlier download are emptied by this one.
    btnSavePartial->setVisible(false);
    SetButtonsEnabled(false);
}

void TTrackPage::btnReadClick() {
    bool ok = false;
    const int page = edtSector->text().toInt(&ok);
    ReadPage(ok ? page * 256 : 0);
}

void TTrackPage::ReadPage(std::int32_t address) { download_->ReadPage(address); }

void TTrackPage::SetButtonsEnabled(bool enabled) {
    btnStatLast->setEnabled(enabled);
    btnStPrev->setEnabled(enabled);
    btnLoad->setEnabled(enabled);
}

void TTrackPage::OperationEnded() {
    pbar->setVisible(false);
    SetButtonsEnabled(true);
}

void TTrackPage::Failed(const flow::TReport& failure) {
    if (OnFailed) OnFailed(failure);
}

void TTrackPage::StatsRead(const TFlightStatsReply& stats) {
    TrackStartSector = stats.startSector;
    FlightNumber = stats.flightNumber;
    ++memoGeneration_;
    ShowLines(mmoDump, FlightStatsLines(stats), QPlainTextEdit::WidgetWidth);
    FlightMinutes = stats.durationMinutes;
}

void TTrackPage::Progress(int count) {
    pbar->setVisible(true);
    const int position = TrackProgressPosition(count, FlightMinutes, chkReadBySector->isChecked());
    pbar->setValue(std::clamp(position, pbar->minimum(), pbar->maximum()));
}

void TTrackPage::PageRead(const QStringList& lines) {
    ++memoGeneration_;
    // A table of 16 bytes a row; every other text wraps.
    ShowLines(mmoDump, lines, QPlainTextEdit::NoWrap);
}

void TTrackPage::FilesWritten(const TExportResult& result, bool partial, int tag) {
    if (tag == memoGeneration_) {
        QStringList lines = result.memo;
        for (const QString& file : result.files) lines.append(QDir::toNativeSeparators(file));
        ShowLines(mmoDump, lines, QPlainTextEdit::WidgetWidth);
    }
    // The picture and the score take the download's one checked track.
    fixes_ = result.checked ? std::shared_ptr<const std::vector<TFlightFix>>(result.checked,
                                                                             &result.checked->fixes)
                            : nullptr;
    plotEnd_ = partial ? TTrackEnd::Cut : TTrackEnd::Landing;
    marks_ = {};
    imgFlight->SetImage(result.plot);
    // A cut-off track is not the flight: it is not scored.
    if (result.error.isEmpty() && !partial)
        ShowFlightScore(mmoDump, fixes_, [this, fixes = fixes_](const TFlightMarks& marks) {
            if (fixes != fixes_) return;  // a newer download replaced it
            marks_ = marks;
            RedrawPicture(true);
        });
    if (!result.plot.isNull() && result.plot.size() != PlotSizeFor(imgFlight->size()))
        plotTimer_->start();
    if (!result.error.isEmpty())
        device::ShowError(result.error);
    else if (partial)
        btnSavePartial->setVisible(false);
}

void TTrackPage::Unfinished(const QString& text, bool canSave) {
    mmoDump->appendPlainText(text);
    btnSavePartial->setVisible(canSave);
}

void TTrackPage::Finished(const flow::TReport&) { SetButtonsEnabled(true); }

void TTrackPage::RedrawPicture(bool always) {
    const QSize size = PlotSizeFor(imgFlight->size());
    if (!fixes_ || fixes_->empty() || (!always && imgFlight->Image().size() == size)) return;
    // The runner is this page's child: what a job returns runs only while the
    // page lives.
    plotter_->Submit([fixes = fixes_, size, end = plotEnd_, marks = marks_,
                      page = this]() -> TLatestJobRunner::TDone {
        const QImage image = RenderFlightPlot(*fixes, size, end, marks);
        return [page, fixes, image] {
            // A newer download has its own picture.
            if (page->fixes_ == fixes) page->imgFlight->SetImage(image);
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
        device::ShowError(tr("Не удалось открыть папку %1").arg(QDir::toNativeSeparators(folder)));
}

void TTrackPage::btnSavePartialClick() { download_->SavePartial(); }

}  // namespace track
