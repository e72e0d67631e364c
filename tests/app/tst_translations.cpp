// The toolkit's own texts in Russian, whatever the user's locale.
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include "app/TApplication.h"

class TestTranslations : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void initTestCase() { QVERIFY(app::InstallToolkitTranslations(*qApp)); }

    void standardButtons_readInRussian() {
        QDialogButtonBox box(QDialogButtonBox::Cancel | QDialogButtonBox::Open);
        QCOMPARE(box.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Отмена"));
        QMessageBox message(QMessageBox::Question, QString(), QString(),
                            QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(message.button(QMessageBox::No)->text(), QStringLiteral("&Нет"));
    }

    void fileDialog_labelsReadInRussian() {
        QFileDialog dialog;
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        QStringList texts;
        for (const QLabel* label : dialog.findChildren<QLabel*>()) texts << label->text();
        QVERIFY2(texts.contains(QStringLiteral("&Имя файла:")), qPrintable(texts.join(u'|')));
    }
};

QTEST_MAIN(TestTranslations)
#include "tst_translations.moc"
