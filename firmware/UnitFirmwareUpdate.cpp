#include "firmware/UnitFirmwareUpdate.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPainter>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTextOption>

#include "device/Dialogs.h"
#include "firmware/FirmwareImage.h"
#include "serial/UnitNVC.h"

namespace firmware {

using namespace device;

namespace {
// A label that breaks long words where it must: a backup's path is one long
// word ("...-155654-547-model101-fw258.bcf") that would be cut at the edge.
class TWrappingLabel : public QLabel {
  public:
    using QLabel::QLabel;

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        QTextOption option(alignment());
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        painter.drawText(contentsRect(), text(), option);
    }
};

QString UpdateCaption() { return QCoreApplication::translate("firmware", "Обновление прошивки"); }
QString FirmwareCaption() { return QCoreApplication::translate("firmware", "Прошивка прибора"); }
QString ErrorCaption() { return QCoreApplication::translate("firmware", "Ошибка"); }

// Windows created and not yet left by "Выход" or destroyed (GUI thread only).
int g_openWindows = 0;

void ShowMessage(QWidget* parent, const QString& text, const QString& caption, TMessageKind kind) {
    Dialogs().Message(parent, kind, caption, text);
}

QPushButton* Button(QWidget* parent, const char* name, const QString& caption, int left, int top,
                    int width) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(left, top, width, 57);
    return button;
}
}  // namespace

bool FirmwareWindowOpen() { return g_openWindows > 0; }

bool ConfirmLeaveDuringUpdate(QWidget* parent) {
    return Dialogs().Ask(
        parent, TMessageKind::Warning, UpdateCaption(),
        QCoreApplication::translate("firmware",
                                    "Идет обновление прошивки. Если выйти сейчас, прибор может "
                                    "остаться без работающей прошивки.\nВсе равно выйти?"));
}

TFormUpdateFW::TFormUpdateFW(QMdiArea* area) {
    setObjectName(QStringLiteral("FormUpdateFW"));
    setWindowTitle(tr("Обновление прошивки прибора"));
    QFont font(QStringLiteral("Tahoma"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(8);
    setFont(font);

    btnOpenFile = Button(this, "btnOpenFile", tr("Выбрать файл..."), 8, 16, 113);
    edtUpdFileName = new QLineEdit(this);
    edtUpdFileName->setObjectName(QStringLiteral("edtUpdFileName"));
    edtUpdFileName->setGeometry(8, 80, 289, 21);
    btnUpdate = Button(this, "btnUpdate", tr("Обновить"), 8, 112, 113);
    btnUpdate->hide();
    pbUpdate = new QProgressBar(this);
    pbUpdate->setObjectName(QStringLiteral("pbUpdate"));
    pbUpdate->setGeometry(8, 192, 289, 25);
    pbUpdate->setRange(0, 100);
    pbUpdate->setValue(0);
    pbUpdate->hide();
    btExit = Button(this, "btExit", tr("Выход"), 192, 16, 105);
    lblInfo = new TWrappingLabel(this);
    lblInfo->setObjectName(QStringLiteral("lblInfo"));
    lblInfo->setGeometry(128, 80 + 28, 169, 80);
    lblInfo->setWordWrap(true);
    lblInfo->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblInfo->setTextInteractionFlags(Qt::TextSelectableByMouse);

    update_ = new flow::TFirmwareUpdate(serial::TNonVisComp::Instance(), *this, *this, this);

    connect(btnOpenFile, &QPushButton::clicked, this, &TFormUpdateFW::btnOpenFileClick);
    connect(btnUpdate, &QPushButton::clicked, this, &TFormUpdateFW::btnUpdateClick);
    connect(btExit, &QPushButton::clicked, this, &TFormUpdateFW::btExitClick);

    ++g_openWindows;
    counted_ = true;

    // A title bar without buttons: the window is left through "Выход" only.
    const Qt::WindowFlags flags = Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (area != nullptr) {
        frame_ = area->addSubWindow(this, flags);
        frame_->setAttribute(Qt::WA_DeleteOnClose);
        frame_->setWindowTitle(windowTitle());
        frame_->resize(FirmwareFormWidth, FirmwareFormHeight);
        frame_->move(0, 0);
        frame_->show();
    } else {
        setWindowFlags(Qt::Window | flags);
        setAttribute(Qt::WA_DeleteOnClose);
        resize(FirmwareFormWidth, FirmwareFormHeight);
        move(0, 0);
        show();
    }
}

TFormUpdateFW::~TFormUpdateFW() { MarkClosed(); }

QWidget* TFormUpdateFW::Frame() const {
    return frame_ != nullptr ? static_cast<QWidget*>(frame_) : const_cast<TFormUpdateFW*>(this);
}

void TFormUpdateFW::MarkClosed() {
    if (!counted_) return;
    counted_ = false;
    --g_openWindows;
}

void TFormUpdateFW::btnOpenFileClick() {
    const QString name = Dialogs().OpenFileName(this, QDir::currentPath(), FirmwareFileFilter());
    if (name.isEmpty()) return;
    edtUpdFileName->setText(name);
    if (!edtUpdFileName->text().isEmpty()) btnUpdate->show();
}

void TFormUpdateFW::btnUpdateClick() {
    const QString name = edtUpdFileName->text();
    if (name.isEmpty()) {
        ShowMessage(this, tr("Выберите файл"), FirmwareCaption(), TMessageKind::Information);
        return;
    }
    update_->Timing = WorkerTiming;
    update_->BackupFolder = BackupFolder;
    if (const std::optional<flow::TReport> refused = update_->Start(name)) {
        if (refused->outcome == flow::TOutcome::PortBusy) {
            ShowMessage(this, refused->text, FirmwareCaption(), TMessageKind::Warning);
            return;
        }
        // A file that is not hex pairs keeps its old plain box; the refusals
        // added since (unreadable, too large, broken blocks) are errors.
        const TMessageKind icon = update_->LastLoad().result == LoadResult::NotHex
                                      ? TMessageKind::Plain
                                      : TMessageKind::Error;
        ShowMessage(window(), refused->text, ErrorCaption(), icon);
        return;
    }
    SetButtonsEnabled(false);
    btExit->setEnabled(false);
    transferRunning_ = true;
    lblInfo->clear();
    lblInfo->setToolTip(QString());
}

bool TFormUpdateFW::ConfirmUpdate(const QString& text) {
    return Dialogs().Ask(window(), TMessageKind::Warning, UpdateCaption(), text);
}

bool TFormUpdateFW::UpdateWithoutBackup(const QString& reason) {
    return Dialogs().Ask(window(), TMessageKind::Warning, UpdateCaption(),
                         flow::UpdateWithoutBackupQuestion(reason));
}

bool TFormUpdateFW::RestoreSettings(const QString& backupPath) {
    return Dialogs().Ask(window(), TMessageKind::Information, UpdateCaption(),
                         flow::RestoreSettingsQuestion(backupPath));
}

void TFormUpdateFW::Info(const QString& line) {
    lblInfo->setText(lblInfo->text().isEmpty() ? line : lblInfo->text() + QLatin1Char('\n') + line);
    lblInfo->setToolTip(lblInfo->text());
}

void TFormUpdateFW::Progress(int percent) {
    pbUpdate->setValue(percent);
    if (percent == 0) pbUpdate->show();
}

void TFormUpdateFW::Outcome(const flow::TReport& report) {
    const flow::TFirmwareEndView view = flow::FirmwareEndView(report);
    ShowMessage(window(), view.boxText, UpdateCaption(),
                report.Good() ? TMessageKind::Information : TMessageKind::Error);
    for (const QString& line : view.lines) Info(line);
    if (!view.progressStays) pbUpdate->hide();
    // After a success the buttons stay off: the checks after the transfer
    // come first.
    if (!report.Good()) SetButtonsEnabled(true);
}

void TFormUpdateFW::Finished(const flow::TReport&) {
    transferRunning_ = false;
    btExit->setEnabled(true);
    SetButtonsEnabled(true);
}

void TFormUpdateFW::btExitClick() {
    if (transferRunning_) return;
    MarkClosed();
    Frame()->close();
}

void TFormUpdateFW::SetButtonsEnabled(bool enabled) {
    btnOpenFile->setEnabled(enabled);
    btnUpdate->setEnabled(enabled);
}

void TFormUpdateFW::closeEvent(QCloseEvent* e) {
    if (transferRunning_)
        e->ignore();
    else
        e->accept();
}

TFormUpdateFW* OpenFirmwareWindow(QMdiArea* area) {
    if (FirmwareWindowOpen()) return nullptr;
    return new TFormUpdateFW(area);
}

}  // namespace firmware
