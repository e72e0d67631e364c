#include "logbook/LogbookWindow.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QDateTime>
#include <QDesktopServices>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QSet>
#include <QSplitter>
#include <QTableView>
#include <QTimeEdit>
#include <QTimeZone>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "device/AppError.h"
#include "device/Dialogs.h"
#include "device/TimeTexts.h"
#include "device/UserTexts.h"
#include "logbook/LogbookJobs.h"
#include "logbook/LogbookModel.h"
#include "track/ExportJob.h"
#include "track/FlightPlot.h"
#include "track/FlightPlotView.h"
#include "track/FlightScoreView.h"
#include "track/TrackFileReader.h"

namespace logbook {

namespace {

const QDate NoDateLimit(1900, 1, 1);
// Texts are taken when used: the language is chosen after static
// initialisation.
QString BackupFilter() {
    return QCoreApplication::translate("logbook::TLogbookWindow",
                                       "Резервные копии журнала (*.backup);;Все файлы (*)");
}

QPushButton* Button(QWidget* parent, const char* name, const QString& text) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    return button;
}

QAction* Action(QObject* parent, const char* name, const QString& text) {
    auto* action = new QAction(text, parent);
    action->setObjectName(QLatin1String(name));
    return action;
}

// A date of the filter: its lowest value, shown as a dash, limits nothing.
QDateEdit* DateFilter(QWidget* parent, const char* name) {
    auto* edit = new QDateEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setCalendarPopup(true);
    edit->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    edit->setMinimumDate(NoDateLimit);
    edit->setSpecialValueText(QStringLiteral("—"));
    edit->setDate(NoDateLimit);
    return edit;
}

QDate Limit(const QDateEdit* edit) { return edit->date() == NoDateLimit ? QDate() : edit->date(); }

// The share of the table's width each column takes.
constexpr int kColumnWeights[TLogbookModel::ColCount] = {4, 10, 12, 13, 5, 6, 7, 11, 10};

// The fields of a flight's dialog: the local take-off and the texts.
struct TFlightFields {
    QFormLayout* form;
    QDateEdit* date;
    QTimeEdit* takeoff;
    QLineEdit* site;
    QLineEdit* glider;
    QPlainTextEdit* notes;
};

TFlightFields FlightFields(QDialog& dialog, const TFlightEntry& texts, const QDateTime& local,
                           const QString& takeoffLabel) {
    TFlightFields f{new QFormLayout(&dialog),
                    new QDateEdit(local.date(), &dialog),
                    new QTimeEdit(local.time(), &dialog),
                    new QLineEdit(texts.site, &dialog),
                    new QLineEdit(texts.glider, &dialog),
                    new QPlainTextEdit(texts.notes, &dialog)};
    f.date->setObjectName(QStringLiteral("dteDate"));
    f.date->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    f.date->setCalendarPopup(true);
    f.takeoff->setObjectName(QStringLiteral("tmeTakeoff"));
    f.takeoff->setDisplayFormat(QStringLiteral("HH:mm"));
    f.site->setObjectName(QStringLiteral("edtSite"));
    f.glider->setObjectName(QStringLiteral("edtGlider"));
    f.notes->setObjectName(QStringLiteral("mmoNotes"));
    f.form->addRow(QCoreApplication::translate("logbook::TLogbookWindow", "Дата:"), f.date);
    f.form->addRow(takeoffLabel, f.takeoff);
    f.form->addRow(QCoreApplication::translate("logbook::TLogbookWindow", "Место взлёта:"), f.site);
    f.form->addRow(QCoreApplication::translate("logbook::TLogbookWindow", "Крыло:"), f.glider);
    f.form->addRow(QCoreApplication::translate("logbook::TLogbookWindow", "Заметки:"), f.notes);
    return f;
}

// Adds OK and Cancel and runs the dialog through the dialog seam.
bool Accepted(QDialog& dialog, QFormLayout* form) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    form->addRow(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    device::Dialogs().Exec(&dialog);
    return dialog.result() == QDialog::Accepted;
}

QString ChooseFlightText() {
    return QCoreApplication::translate("logbook::TLogbookWindow", "Выберите полёт в списке");
}

QString TotalsText(const TTotals& t) {
    return QCoreApplication::translate("logbook::TLogbookWindow", "%1, %2 ч, %3 км")
        .arg(FlightCountText(t.flights), device::DurationText(t.seconds), KilometresText(t.metres));
}

QPointer<TLogbookWindow> g_window;

}  // namespace

TLogbookWindow::TLogbookWindow(std::unique_ptr<TLogbook> book,
                               std::function<track::TPilotProfile()> profile, QWidget* parent)
    : QWidget(parent), book_(std::move(book)), profile_(std::move(profile)) {
    setObjectName(QStringLiteral("FormLogbook"));
    setWindowTitle(device::LogbookTitle());
    setAttribute(Qt::WA_DeleteOnClose);

    cbbYear = new QComboBox(this);
    cbbYear->setObjectName(QStringLiteral("cbbYear"));
    edtFilter = new QLineEdit(this);
    edtFilter->setObjectName(QStringLiteral("edtFilter"));
    edtFilter->setPlaceholderText(tr("место, крыло, заметки, пилот"));
    edtFilter->setClearButtonEnabled(true);
    dteFrom = DateFilter(this, "dteFrom");
    dteTo = DateFilter(this, "dteTo");
    auto* filters = new QHBoxLayout;
    filters->addWidget(new QLabel(tr("Год:"), this));
    filters->addWidget(cbbYear);
    filters->addWidget(new QLabel(tr("Найти:"), this));
    filters->addWidget(edtFilter, 1);
    filters->addWidget(new QLabel(tr("С:"), this));
    filters->addWidget(dteFrom);
    filters->addWidget(new QLabel(tr("по:"), this));
    filters->addWidget(dteTo);

    // The actions used every day are buttons; the others wait in two menus,
    // so that the window fits the main window's default size.
    actImportFiles = Action(this, "actImportFiles", tr("Импорт файлов..."));
    actImportFolder = Action(this, "actImportFolder", tr("Импорт папки..."));
    actExportCsv = Action(this, "actExportCsv", tr("Сохранить CSV..."));
    actExportKml = Action(this, "actExportKml", tr("Сохранить KML..."));
    actOpenFolder = Action(this, "actOpenFolder", device::OpenFolderText);
    actMerge = Action(this, "actMerge", tr("Объединить"));
    actMerge->setToolTip(
        tr("Два выбранных полёта — один полёт с двух приборов: считать его один раз"));
    actUnmerge = Action(this, "actUnmerge", tr("Разделить"));
    actUnmerge->setToolTip(tr("Считать выбранный полёт отдельным полётом"));
    actBackup = Action(this, "actBackup", tr("Резервная копия..."));
    actBackup->setToolTip(tr("Журнал и его файлы треков в одном файле"));
    actRestore = Action(this, "actRestore", tr("Восстановить..."));
    actRestore->setToolTip(tr("Заменить журнал резервной копией"));
    btnImport = Button(this, "btnImport", tr("Импорт"));
    auto* importMenu = new QMenu(btnImport);
    importMenu->addActions({actImportFiles, actImportFolder});
    btnImport->setMenu(importMenu);
    btnAdd = Button(this, "btnAdd", tr("Добавить..."));
    btnAdd->setToolTip(tr("Добавить полёт без трека"));
    btnEdit = Button(this, "btnEdit", tr("Изменить..."));
    btnDelete = Button(this, "btnDelete", tr("Удалить"));
    btnUndo = Button(this, "btnUndo", tr("Отменить"));
    btnUndo->setToolTip(tr("Отменить последнее изменение или удаление (Ctrl+Z)"));
    btnUndo->setShortcut(QKeySequence::Undo);
    btnMore = Button(this, "btnMore", tr("Ещё"));
    auto* moreMenu = new QMenu(btnMore);
    moreMenu->setToolTipsVisible(true);
    moreMenu->addActions({actMerge, actUnmerge});
    moreMenu->addSeparator();
    moreMenu->addActions({actExportCsv, actExportKml, actOpenFolder});
    moreMenu->addSeparator();
    moreMenu->addActions({actBackup, actRestore});
    btnMore->setMenu(moreMenu);
    auto* tools = new QHBoxLayout;
    for (QPushButton* b : {btnImport, btnAdd, btnEdit, btnDelete, btnUndo, btnMore})
        tools->addWidget(b);
    tools->addStretch();

    pbImport = new QProgressBar(this);
    pbImport->setObjectName(QStringLiteral("pbImport"));
    btnCancelImport = Button(this, "btnCancelImport", tr("Отменить импорт"));
    auto* progress = new QHBoxLayout;
    progress->addWidget(pbImport, 1);
    progress->addWidget(btnCancelImport);
    pbImport->hide();
    btnCancelImport->hide();

    tblFlights = new QTableView(this);
    tblFlights->setObjectName(QStringLiteral("tblFlights"));
    tblFlights->setSortingEnabled(true);
    AttachModel();
    tblFlights->setSelectionBehavior(QAbstractItemView::SelectRows);
    tblFlights->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblFlights->verticalHeader()->hide();
    tblFlights->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    // The columns share the table's width: they shrink with it and never
    // run past its edge.
    tblFlights->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    tblFlights->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    tblFlights->horizontalHeader()->setMinimumSectionSize(8);
    tblFlights->horizontalHeader()->setStretchLastSection(true);
    tblFlights->horizontalHeader()->setTextElideMode(Qt::ElideRight);
    tblFlights->setTextElideMode(Qt::ElideRight);
    tblFlights->viewport()->installEventFilter(this);

    lblTotals = new QLabel(this);
    lblTotals->setObjectName(QStringLiteral("lblTotals"));
    lblTotals->setTextFormat(Qt::PlainText);
    lblTotals->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    cbbTotalsBy = new QComboBox(this);
    cbbTotalsBy->setObjectName(QStringLiteral("cbbTotalsBy"));
    for (const TTotalsBy by : AllTotalsBy)
        cbbTotalsBy->addItem(TotalsByTitle(by), QVariant::fromValue(int(by)));
    mmoSummary = new QPlainTextEdit(this);
    mmoSummary->setObjectName(QStringLiteral("mmoSummary"));
    mmoSummary->setReadOnly(true);
    lblFacts = new QLabel(this);
    lblFacts->setObjectName(QStringLiteral("lblFacts"));
    lblFacts->setTextFormat(Qt::PlainText);  // names from imported files are data only
    lblFacts->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblFacts->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto* facts = new QScrollArea(this);
    facts->setWidget(lblFacts);
    facts->setWidgetResizable(true);
    imgPlot = new track::TFlightPlotView(this);
    imgPlot->setMinimumSize(160, 100);
    imgPlot->SetPlaceholder(ChooseFlightText());
    plotRunner_ = new track::TLatestJobRunner(this);

    // The table with its totals below it; under them the summary, the
    // picture and the facts of the flight chosen.
    auto* top = new QWidget(this);
    auto* topLayout = new QVBoxLayout(top);
    topLayout->setContentsMargins(0, 0, 0, 0);
    topLayout->addWidget(tblFlights, 1);
    auto* totalsRow = new QHBoxLayout;
    totalsRow->addWidget(lblTotals, 1);
    totalsRow->addWidget(cbbTotalsBy);
    topLayout->addLayout(totalsRow);
    auto* bottom = new QSplitter(Qt::Horizontal, this);
    bottom->addWidget(mmoSummary);
    bottom->addWidget(imgPlot);
    bottom->addWidget(facts);
    auto* splitter = new QSplitter(Qt::Vertical, this);
    splitter->addWidget(top);
    splitter->addWidget(bottom);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filters);
    layout->addLayout(tools);
    layout->addLayout(progress);
    layout->addWidget(splitter, 1);

    tmrFilter = new QTimer(this);
    tmrFilter->setObjectName(QStringLiteral("tmrFilter"));
    tmrFilter->setSingleShot(true);
    tmrFilter->setInterval(FilterDelayMs);
    connect(tmrFilter, &QTimer::timeout, this, &TLogbookWindow::ApplyFilter);
    connect(edtFilter, &QLineEdit::textChanged, tmrFilter, qOverload<>(&QTimer::start));
    connect(dteFrom, &QDateEdit::dateChanged, this, &TLogbookWindow::ApplyFilter);
    connect(dteTo, &QDateEdit::dateChanged, this, &TLogbookWindow::ApplyFilter);
    // Another program's (or another window's) change is seen by the
    // logbook's counter of changes, looked at from a timer.
    tmrWatch = new QTimer(this);
    tmrWatch->setObjectName(QStringLiteral("tmrWatch"));
    tmrWatch->setInterval(WatchIntervalMs);
    connect(tmrWatch, &QTimer::timeout, this, &TLogbookWindow::tmrWatchTimer);
    tmrWatch->start();

    connect(cbbYear, &QComboBox::activated, this, &TLogbookWindow::cbbYearChange);
    connect(cbbTotalsBy, &QComboBox::activated, this, &TLogbookWindow::ShowSummary);
    connect(actImportFiles, &QAction::triggered, this, &TLogbookWindow::btnImportFilesClick);
    connect(actImportFolder, &QAction::triggered, this, &TLogbookWindow::btnImportFolderClick);
    connect(actExportCsv, &QAction::triggered, this, &TLogbookWindow::btnExportCsvClick);
    connect(actExportKml, &QAction::triggered, this, &TLogbookWindow::btnExportKmlClick);
    connect(actOpenFolder, &QAction::triggered, this, &TLogbookWindow::btnOpenFolderClick);
    connect(btnAdd, &QPushButton::clicked, this, &TLogbookWindow::btnAddClick);
    connect(btnEdit, &QPushButton::clicked, this, &TLogbookWindow::btnEditClick);
    connect(btnDelete, &QPushButton::clicked, this, &TLogbookWindow::btnDeleteClick);
    connect(actMerge, &QAction::triggered, this, &TLogbookWindow::btnMergeClick);
    connect(actUnmerge, &QAction::triggered, this, &TLogbookWindow::btnUnmergeClick);
    connect(btnUndo, &QPushButton::clicked, this, [this] {
        if (!Changing()) Change([this] { book_->Undo(); });
    });
    connect(actBackup, &QAction::triggered, this, &TLogbookWindow::btnBackupClick);
    connect(actRestore, &QAction::triggered, this, &TLogbookWindow::btnRestoreClick);
    connect(btnCancelImport, &QPushButton::clicked, this, [this] {
        if (job_) job_->Cancel();
    });
    connect(imgPlot, &track::TFlightPlotView::Resized, this,
            [this] { ShowSelected(CurrentEntry()); });

    FillYears();
    ShowSummary();
    // Flights kept by an older version are scored once they are shown.
    if (!book_->Store().Unscored().empty())
        ScoreUnscoredInBackground(book_->Store().Path(), scoringCancel_, this, [this](int scored) {
            if (scored > 0 && !Importing()) model_->Refresh();
        });
}

TLogbookWindow::~TLogbookWindow() {
    scoringCancel_->store(true);
    // The model's query runs on the logbook's connection, which closes with book_.
    tblFlights->setModel(nullptr);
    delete model_;
    delete job_;
}

void TLogbookWindow::AttachModel() {
    model_ = new TLogbookModel(book_->Store().Database(), this);
    tblFlights->setModel(model_);
    tblFlights->sortByColumn(TLogbookModel::ColDate, Qt::DescendingOrder);
    connect(tblFlights->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TLogbookWindow::SelectionChanged);
    connect(model_, &QAbstractItemModel::modelReset, this, &TLogbookWindow::SelectionChanged);
    dataVersion_ = book_->Store().DataVersion();
}

void TLogbookWindow::FillYears() {
    const QVariant current = cbbYear->currentData();
    cbbYear->clear();
    cbbYear->addItem(tr("Все"));
    for (const int year : book_->Store().Years()) cbbYear->addItem(QString::number(year), year);
    const int at = cbbYear->findData(current);
    cbbYear->setCurrentIndex(at < 0 ? 0 : at);
}

void TLogbookWindow::Reload() {
    // The flight being looked at stays chosen, where it is still shown.
    const QModelIndex current = tblFlights->currentIndex();
    const std::int64_t id = current.isValid() ? model_->IdAt(current.row()) : 0;
    FillYears();
    ApplyFilter();
    for (int row = 0; id && row < model_->rowCount(); ++row)
        if (model_->IdAt(row) == id) {
            tblFlights->selectRow(row);
            break;
        }
}

void TLogbookWindow::ApplyFilter() {
    const TFlightFilter filter{edtFilter->text(), Limit(dteFrom), Limit(dteTo)};
    std::optional<std::vector<std::int64_t>> ids;
    shown_.reset();
    if (!filter.Empty()) {
        ids.emplace();
        shown_.emplace();
        ids = book_->Matching(filter);
        for (const std::int64_t id : *ids) shown_->insert(id);
    }
    model_->SetShown(std::move(ids));
    ShowSummary();
}

void TLogbookWindow::tmrWatchTimer() {
    // The window's own changes show at once; a change of another program
    // waits for the window's own to end.
    if (!book_ || Importing() || Changing()) return;
    std::int64_t version = 0;
    try {
        version = book_->Store().DataVersion();
    } catch (const device::TAppError&) {
        return;  // looked at again on the next tick
    }
    if (version == dataVersion_) return;
    dataVersion_ = version;
    Reload();
}

bool TLogbookWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Resize && watched == tblFlights->viewport()) FitColumns();
    return QWidget::eventFilter(watched, event);
}

void TLogbookWindow::FitColumns() {
    QHeaderView* header = tblFlights->horizontalHeader();
    const int width = tblFlights->viewport()->width();
    int total = 0;
    for (const int weight : kColumnWeights) total += weight;
    int used = 0;
    for (int column = 0; column < TLogbookModel::ColCount; ++column) {
        // The last takes what rounding left, so that the sum is the width.
        const int size = column + 1 == TLogbookModel::ColCount
                             ? width - used
                             : width * kColumnWeights[column] / total;
        header->resizeSection(column, std::max(size, header->minimumSectionSize()));
        used += size;
    }
}

void TLogbookWindow::cbbYearChange() {
    const QVariant year = cbbYear->currentData();
    model_->SetYear(year.isValid() ? std::optional<int>(year.toInt()) : std::nullopt);
    ShowSummary();
}

std::vector<std::int64_t> TLogbookWindow::SelectedIds() const {
    std::vector<std::int64_t> ids;
    for (const QModelIndex& index : tblFlights->selectionModel()->selectedRows())
        ids.push_back(model_->IdAt(index.row()));
    return ids;
}

std::optional<TFlightEntry> TLogbookWindow::CurrentEntry() {
    const QModelIndex index = tblFlights->currentIndex();
    if (!index.isValid() || !tblFlights->selectionModel()->isRowSelected(index.row()))
        return std::nullopt;
    return book_->Flight(model_->IdAt(index.row()));
}

void TLogbookWindow::SelectionChanged() {
    const QModelIndexList rows = tblFlights->selectionModel()->selectedRows();
    std::vector<TFlightEntry> selected;
    for (const QModelIndex& index : rows) {
        TFlightEntry& e = selected.emplace_back();
        e.durationSeconds = model_->DurationAt(index.row());
        e.trackLengthMetres = model_->LengthAt(index.row());
        e.sameFlightAs = model_->SameFlightAt(index.row());
    }
    lblTotals->setText(rows.size() > 1
                           ? tr("Выбрано: ") + TotalsText(TLogbook::Totals(selected).all)
                           : tr("Всего: ") + TotalsText(shownTotals_.all));
    const bool one = rows.size() == 1;
    const bool free = !Changing();
    actExportKml->setEnabled(one);
    actOpenFolder->setEnabled(one);
    btnAdd->setEnabled(free);
    btnEdit->setEnabled(one && free);
    btnDelete->setEnabled(one && free);
    actMerge->setEnabled(rows.size() == 2 && free);
    actUnmerge->setEnabled(one && free && selected.front().sameFlightAs);
    actRestore->setEnabled(free && !Importing());
    btnUndo->setEnabled(free);
    ShowSelected(one ? CurrentEntry() : std::nullopt);
}

void TLogbookWindow::ShowSummary() {
    // The totals of what the filter shows, split as chosen, and its records;
    // a sort or a selection leaves them as they are.
    std::vector<TFlightEntry> rows = book_->Store().TotalsRows(model_->Year());
    if (shown_)
        std::erase_if(rows, [this](const TFlightEntry& e) { return !shown_->contains(e.id); });
    shownTotals_ = TLogbook::Totals(rows);
    const auto by = TTotalsBy(cbbTotalsBy->currentData().toInt());
    QStringList lines;
    lines << TotalsByTitle(by) + QLatin1Char(':');
    for (const TTotalsRow& row : TLogbook::TotalsBy(rows, by))
        lines << QStringLiteral("  %1: %2").arg(row.key, TotalsText(row.totals));
    const std::vector<TLogbookRecord> records = TLogbook::Records(rows);
    if (!records.empty()) lines << tr("Рекорды:");
    for (const TLogbookRecord& r : records)
        lines << tr("  %1: %2 (№ %3, %4)")
                     .arg(r.title, r.value)
                     .arg(r.number)
                     .arg(device::DateText(r.localTakeoff));
    mmoSummary->setPlainText(lines.join(QLatin1Char('\n')));
    SelectionChanged();
}

void TLogbookWindow::ShowSelected(const std::optional<TFlightEntry>& entry) {
    imgPlot->SetPlaceholder(entry && entry->Manual() ? tr("У полёта нет трека")
                                                     : ChooseFlightText());
    if (!entry || entry->Manual()) {
        lblFacts->setText(entry ? FactsText(*entry) : QString());
        imgPlot->SetImage({});
        return;
    }
    lblFacts->setText(FactsText(*entry));
    const QString path = book_->StoredFilePath(*entry);
    const QSize size =
        imgPlot->size().expandedTo(track::MinFlightPlotSize).boundedTo(track::MaxFlightPlotSize);
    const std::int64_t id = entry->id;
    const device::TrackTime takeoff = entry->takeoffUtc;
    // The runner is this window's child: what a job returns runs only while
    // the window lives, and no guard of it need travel with the job to the
    // pool and be dropped there.
    std::optional<track::TFlightMarks> marks;
    if (marks_ && marks_->first == id) marks = marks_->second;
    plotRunner_->Submit(
        [path, size, id, takeoff, marks, window = this]() -> track::TLatestJobRunner::TDone {
            QImage image;
            std::vector<track::TFlightFix> fixes;
            try {
                fixes = ReadEntryFlight(path, takeoff).fixes;
                image = track::RenderFlightPlot(fixes, size, track::TTrackEnd::Landing,
                                                marks.value_or(track::TFlightMarks{}));
            } catch (const device::TAppError&) {
                // The copy is gone: the facts stand without a picture.
            }
            return [window, image, id, marked = marks.has_value(), fixes = std::move(fixes)] {
                const std::optional<TFlightEntry> now = window->CurrentEntry();
                if (!now || now->id != id) return;
                window->imgPlot->SetImage(image);
                if (!marked && !fixes.empty()) window->FindMarks(id, fixes);
            };
        });
}

void TLogbookWindow::FindMarks(std::int64_t id, std::vector<track::TFlightFix> fixes) {
    // The turnpoints and thermals, found after the plain picture is shown,
    // then drawn; a flight chosen meanwhile drops them.
    plotRunner_->Submit(
        [id, fixes = std::move(fixes), window = this]() -> track::TLatestJobRunner::TDone {
            const track::TFlightMarks marks = track::MarksOf(FlightReport(fixes));
            return [window, id, marks] {
                window->marks_.emplace(id, marks);
                const std::optional<TFlightEntry> now = window->CurrentEntry();
                if (now && now->id == id) window->ShowSelected(now);
            };
        });
}

void TLogbookWindow::ImportPaths(const QStringList& paths) {
    if (job_ || paths.isEmpty()) return;
    job_ = new TImportJob(book_->Store().Path(), paths,
                          profile_ ? profile_() : track::TPilotProfile{}, this);
    connect(job_, &TImportJob::Progress, this, [this](int done, int total, const QString&) {
        pbImport->setRange(0, total);
        pbImport->setValue(done);
    });
    connect(job_, &TImportJob::Finished, this, &TLogbookWindow::ImportEnded);
    pbImport->setValue(0);
    pbImport->show();
    btnCancelImport->show();
    actImportFiles->setEnabled(false);
    actImportFolder->setEnabled(false);
    actRestore->setEnabled(false);
    job_->Start();
}

void TLogbookWindow::ImportEnded() {
    const TImportReport report = job_->Report();
    job_->deleteLater();
    job_ = nullptr;
    pbImport->hide();
    btnCancelImport->hide();
    actImportFiles->setEnabled(true);
    actImportFolder->setEnabled(true);
    Reload();
    QString text = tr("Добавлено полётов: %1, уже были в журнале: %2, не прочитано: %3, "
                      "пропущено: %4")
                       .arg(report.added)
                       .arg(report.alreadyKept)
                       .arg(report.failed)
                       .arg(report.skipped.size());
    if (report.cancelled) text += QLatin1Char('\n') + tr("Импорт отменён.");
    const QStringList said = report.errors + report.skipped;
    if (!said.isEmpty()) text += QStringLiteral("\n\n") + said.mid(0, 20).join(QLatin1Char('\n'));
    device::Dialogs().Message(
        this, report.failed ? device::TMessageKind::Warning : device::TMessageKind::Information,
        device::LogbookTitle(), text);
    Q_EMIT ImportFinished();
}

void TLogbookWindow::btnImportFilesClick() {
    const QString file = device::Dialogs().OpenFileName(
        this, QString(), tr("Треки (*.igc *.IGC *.gpx *.GPX);;Все файлы (*)"));
    if (!file.isEmpty()) ImportPaths({file});
}

void TLogbookWindow::btnImportFolderClick() {
    const QString folder = device::Dialogs().FolderName(this, QString());
    if (!folder.isEmpty()) ImportPaths({folder});
}

void TLogbookWindow::btnExportCsvClick() {
    const QString path =
        device::Dialogs().SaveFileName(this, QString(), QStringLiteral("CSV (*.csv)"));
    if (path.isEmpty()) return;
    std::vector<TFlightEntry> flights;
    const std::vector<std::int64_t> ids = SelectedIds();
    if (ids.size() > 1) {
        for (const std::int64_t id : ids)
            if (auto e = book_->Flight(id)) flights.push_back(*e);
    } else {
        // What the year and the filter show.
        flights = book_->Flights(model_->Year());
        if (shown_)
            std::erase_if(flights,
                          [this](const TFlightEntry& e) { return !shown_->contains(e.id); });
    }
    book_->ExportCsv(flights, path);  // a failure reaches the application's handler
}

void TLogbookWindow::btnExportKmlClick() {
    const std::optional<TFlightEntry> entry = CurrentEntry();
    if (!entry) return;
    const QString path =
        device::Dialogs().SaveFileName(this, QString(), QStringLiteral("KML (*.kml)"));
    if (!path.isEmpty()) book_->ExportKml(entry->id, path);
}

void TLogbookWindow::btnOpenFolderClick() {
    const std::optional<TFlightEntry> entry = CurrentEntry();
    if (!entry) return;
    QString file = entry->sourcePath;
    if (file.isEmpty() || !QFileInfo::exists(file)) file = book_->StoredFilePath(*entry);
    QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(file).absolutePath()));
}

void TLogbookWindow::btnEditClick() {
    const std::optional<TFlightEntry> entry = CurrentEntry();
    if (!entry) return;
    QDialog dialog(this);
    dialog.setObjectName(QStringLiteral("FormEditFlight"));
    dialog.setWindowTitle(tr("Полёт %1").arg(device::DateText(entry->LocalTakeoff())));
    const TShownTime local = ShownTime(*entry, entry->takeoffUtc, false);
    const QDateTime was = QDateTime::fromSecsSinceEpoch(local.time, QTimeZone::utc());
    const TFlightFields fields =
        FlightFields(dialog, *entry, was, tr("Взлёт, %1:").arg(local.zone));
    if (!Accepted(dialog, fields.form)) return;
    // A new site name offers the flights nearby, listed, to be named too.
    std::vector<std::int64_t> alsoNamed;
    if (fields.site->text().trimmed() != entry->site) {
        const std::vector<TFlightEntry> near = book_->SitesToRename(entry->id, fields.site->text());
        if (!near.empty() &&
            device::Dialogs().Ask(
                this, device::TMessageKind::Plain, device::LogbookTitle(),
                RenameOthersQuestion(fields.site->text().trimmed(), book_->SiteRadius(), near)))
            for (const TFlightEntry& e : near) alsoNamed.push_back(e.id);
    }
    const bool texts = fields.site->text().trimmed() != entry->site ||
                       fields.glider->text() != entry->glider ||
                       fields.notes->toPlainText() != entry->notes;
    const bool moved = fields.date->date() != was.date() ||
                       fields.takeoff->time().hour() != was.time().hour() ||
                       fields.takeoff->time().minute() != was.time().minute();
    Change([this, id = entry->id, site = fields.site->text(), glider = fields.glider->text(),
            notes = fields.notes->toPlainText(), alsoNamed, texts, moved, day = fields.date->date(),
            time = fields.takeoff->time(), done = std::make_shared<bool>(false)] {
        // A try cut short by a lock is made again: what is done stays done.
        if (texts && !*done) book_->Edit(id, site, glider, notes, alsoNamed);
        *done = true;
        if (moved) book_->EditTakeoff(id, day, time);
    });
}

void TLogbookWindow::btnAddClick() {
    QDialog dialog(this);
    dialog.setObjectName(QStringLiteral("FormAddFlight"));
    dialog.setWindowTitle(tr("Полёт без трека"));
    auto* duration = new QTimeEdit(QTime(1, 0), &dialog);
    duration->setObjectName(QStringLiteral("tmeDuration"));
    duration->setDisplayFormat(QStringLiteral("H:mm"));
    duration->setMinimumTime(QTime(0, 1));
    const TFlightFields fields =
        FlightFields(dialog, {}, QDateTime(QDate::currentDate(), QTime(12, 0), QTimeZone::utc()),
                     tr("Взлёт (местное время):"));
    fields.form->insertRow(2, tr("Время полёта:"), duration);
    if (!Accepted(dialog, fields.form)) return;
    const TManualFlight flight{
        fields.date->date(), fields.takeoff->time(), duration->time().msecsSinceStartOfDay() / 1000,
        fields.site->text(), fields.glider->text(),  fields.notes->toPlainText()};
    Change([this, flight, done = std::make_shared<bool>(false)] {
        if (!*done) book_->AddManual(flight);
        *done = true;
    });
}

void TLogbookWindow::btnDeleteClick() {
    const std::optional<TFlightEntry> entry = CurrentEntry();
    if (!entry) return;
    if (!device::Dialogs().Ask(this, device::TMessageKind::Warning, device::LogbookTitle(),
                               tr("Удалить из журнала полёт %1 %2? Файлы трека останутся на диске.")
                                   .arg(device::DateText(entry->LocalTakeoff()),
                                        device::TimeOfDayText(entry->LocalTakeoff()))))
        return;
    Change([this, id = entry->id] { book_->Remove(id); });
}

void TLogbookWindow::btnMergeClick() {
    QModelIndexList rows = tblFlights->selectionModel()->selectedRows();
    if (rows.size() != 2) return;
    // The upper row is the entry that counts.
    std::sort(rows.begin(), rows.end());
    Change([this, kept = model_->IdAt(rows[0].row()), other = model_->IdAt(rows[1].row())] {
        book_->Merge(kept, other);
    });
}

void TLogbookWindow::btnUnmergeClick() {
    const std::optional<TFlightEntry> entry = CurrentEntry();
    if (!entry) return;
    Change([this, id = entry->id] { book_->Unmerge(id); });
}

void TLogbookWindow::btnBackupClick() {
    const QString path = device::Dialogs().SaveFileName(this, QString(), BackupFilter());
    if (path.isEmpty()) return;
    QString text;
    try {
        const TBackupSummary summary = book_->Backup(path);
        text = device::FileSavedText + QDir::toNativeSeparators(path) + QLatin1Char('\n') +
               BackupContentsText(book_->Store().Count(), summary.trackFiles);
    } catch (const device::TAppError& error) {
        device::Dialogs().Message(this, device::TMessageKind::Error, device::LogbookTitle(),
                                  error.Text());
        return;
    }
    device::Dialogs().Message(this, device::TMessageKind::Information, device::LogbookTitle(),
                              text);
}

void TLogbookWindow::btnRestoreClick() {
    if (Importing() || Changing()) return;
    const QString source = device::Dialogs().OpenFileName(this, QString(), BackupFilter());
    if (source.isEmpty()) return;
    const QString path = book_->Store().Path();
    if (!device::Dialogs().Ask(
            this, device::TMessageKind::Warning, device::LogbookTitle(),
            tr("Заменить журнал полётов резервной копией \"%1\"? Нынешний журнал "
               "будет сохранён в папке \"%2\".")
                .arg(QDir::toNativeSeparators(source),
                     QDir::toNativeSeparators(AutomaticBackupFolder(path)))))
        return;
    // The restore swaps the files: this window's connections close first.
    scoringCancel_->store(true);
    scoringCancel_ = std::make_shared<std::atomic<bool>>(false);
    tblFlights->setModel(nullptr);
    delete model_;
    model_ = nullptr;
    book_.reset();
    QString failure;
    TBackupSummary summary;
    try {
        summary = RestoreBackup(path, source);
    } catch (const device::TAppError& error) {
        failure = error.Text();
    }
    try {
        book_ = std::make_unique<TLogbook>(path, InterfaceBusyTimeoutMs);
    } catch (const device::TAppError& error) {
        // Neither logbook opens: the window has nothing to show.
        device::Dialogs().Message(this, device::TMessageKind::Error, device::LogbookTitle(),
                                  failure.isEmpty() ? error.Text() : failure);
        if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget()))
            frame->close();
        else
            close();
        return;
    }
    AttachModel();
    Reload();
    cbbYearChange();
    if (failure.isEmpty())
        device::Dialogs().Message(this, device::TMessageKind::Information, device::LogbookTitle(),
                                  RestoredText(source, book_->Store().Count(), summary.trackFiles));
    else
        device::Dialogs().Message(this, device::TMessageKind::Error, device::LogbookTitle(),
                                  failure);
}

void TLogbookWindow::Change(TLockRetry::TChange change) {
    const bool started = changes_.Run(std::move(change), [this](const QString& failure) {
        Reload();
        if (!failure.isEmpty())
            device::Dialogs().Message(this, device::TMessageKind::Error, device::LogbookTitle(),
                                      failure);
    });
    // While it waits, no other change can be asked for.
    if (started) SelectionChanged();
}

TLogbookWindow* OpenLogbookWindow(QMdiArea* area, const QString& databasePath,
                                  std::function<track::TPilotProfile()> profile) {
    if (g_window) {
        if (auto* frame = qobject_cast<QMdiSubWindow*>(g_window->parentWidget()))
            area->setActiveSubWindow(frame);
        return g_window;
    }
    std::unique_ptr<TLogbook> book;
    try {
        // Its changes are quick; a lock another program holds longer is
        // reported at once rather than freezing the window.
        book = std::make_unique<TLogbook>(databasePath, InterfaceBusyTimeoutMs);
    } catch (const device::TAppError& error) {
        device::Dialogs().Message(area, device::TMessageKind::Error, device::LogbookTitle(),
                                  error.Text());
        return nullptr;
    }
    auto* window = new TLogbookWindow(std::move(book), std::move(profile));
    g_window = window;
    QMdiSubWindow* frame = area->addSubWindow(window);
    frame->setAttribute(Qt::WA_DeleteOnClose);
    // The whole area, no more: at the main window's default size every
    // control of the window is in sight.
    frame->setGeometry(area->viewport()->rect());
    frame->show();
    return window;
}

}  // namespace logbook
