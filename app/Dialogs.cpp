#include "app/Dialogs.h"

#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>

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
    return QFileDialog::getOpenFileName(parent, QString(), folder, filter);
}

QString TWindowDialogs::SaveFileName(QWidget* parent, const QString& folder,
                                     const QString& filter) {
    return QFileDialog::getSaveFileName(parent, QString(), folder, filter);
}

QString TWindowDialogs::FolderName(QWidget* parent, const QString& folder) {
    return QFileDialog::getExistingDirectory(parent, QString(), folder);
}

void TWindowDialogs::Exec(QDialog* dialog) { dialog->exec(); }

void UseWindowDialogs() {
    static TWindowDialogs windows;
    device::SetDialogs(&windows);
}

}  // namespace app
