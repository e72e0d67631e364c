#include "app/Dialogs.h"

#include <QDialog>
#include <QFileDialog>
#include <QHeaderView>
#include <QMessageBox>
#include <QTreeView>

namespace app {

namespace {
QMessageBox::Icon BoxIcon(device::TMessageKind kind) {
    switch (kind) {
        case device::TMessageKind::Plain:
            return QMessageBox::NoIcon;
        case device::TMessageKind::Information:
            return QMessageBox::Information;
        case device::TMessageKind::Warning:
            return QMessageBox::Warning;
        case device::TMessageKind::Error:
            return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}
// The toolkit's default size cuts the Russian column titles and the dates
// short; this fits inside the main window.
constexpr QSize kFileDialogSize{740, 460};

QString RunFileDialog(QWidget* parent, QFileDialog::AcceptMode accept, QFileDialog::FileMode mode,
                      const QString& folder, const QString& filter) {
    QFileDialog dialog(parent, QString(), folder, filter);
    dialog.setAcceptMode(accept);
    dialog.setFileMode(mode);
    if (mode == QFileDialog::Directory) dialog.setOption(QFileDialog::ShowDirsOnly);
    dialog.resize(dialog.sizeHint().expandedTo(kFileDialogSize));
    // The last column holds the dates.
    for (QTreeView* list : dialog.findChildren<QTreeView*>())
        if (QHeaderView* header = list->header(); header->count() > 0)
            header->setSectionResizeMode(header->count() - 1, QHeaderView::ResizeToContents);
    if (dialog.exec() != QDialog::Accepted) return {};
    const QStringList chosen = dialog.selectedFiles();
    return chosen.isEmpty() ? QString() : chosen.first();
}
}  // namespace

void TWindowDialogs::Message(QWidget* parent, device::TMessageKind kind, const QString& title,
                             const QString& text) {
    QMessageBox box(BoxIcon(kind), title, text, QMessageBox::Ok, parent);
    box.exec();
}

bool TWindowDialogs::Ask(QWidget* parent, device::TMessageKind kind, const QString& title,
                         const QString& text) {
    QMessageBox box(BoxIcon(kind), title, text, QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

QString TWindowDialogs::OpenFileName(QWidget* parent, const QString& folder,
                                     const QString& filter) {
    return RunFileDialog(parent, QFileDialog::AcceptOpen, QFileDialog::ExistingFile, folder,
                         filter);
}

QString TWindowDialogs::SaveFileName(QWidget* parent, const QString& folder,
                                     const QString& filter) {
    return RunFileDialog(parent, QFileDialog::AcceptSave, QFileDialog::AnyFile, folder, filter);
}

QString TWindowDialogs::FolderName(QWidget* parent, const QString& folder) {
    return RunFileDialog(parent, QFileDialog::AcceptOpen, QFileDialog::Directory, folder,
                         QString());
}

void TWindowDialogs::Exec(QDialog* dialog) { dialog->exec(); }

void UseWindowDialogs() {
    static TWindowDialogs windows;
    device::SetDialogs(&windows);
}

}  // namespace app
