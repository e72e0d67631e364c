#include "app/Dialogs.h"

#include <QCoreApplication>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>

namespace app {

namespace {
TDialogs g_standard;
TDialogs* g_current = &g_standard;
}  // namespace

void TDialogs::Message(QWidget* parent, TMessageKind kind, const QString& title,
                       const QString& text) {
    QMessageBox box(kind == TMessageKind::Error ? QMessageBox::Critical : QMessageBox::Information,
                    title, text, QMessageBox::Ok, parent);
    box.exec();
}

QString TDialogs::OpenFileName(QWidget* parent, const QString& folder, const QString& filter) {
    return QFileDialog::getOpenFileName(parent, QString(), folder, filter);
}

QString TDialogs::SaveFileName(QWidget* parent, const QString& folder, const QString& filter) {
    return QFileDialog::getSaveFileName(parent, QString(), folder, filter);
}

void TDialogs::Exec(QDialog* dialog) { dialog->exec(); }

TDialogs& Dialogs() { return *g_current; }

void SetDialogs(TDialogs* dialogs) { g_current = dialogs ? dialogs : &g_standard; }

void ShowError(const QString& text) {
    Dialogs().Message(nullptr, TMessageKind::Error, QCoreApplication::applicationName(), text);
}

}  // namespace app
