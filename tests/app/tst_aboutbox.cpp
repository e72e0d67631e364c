// The About box layout.
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "GuiTest.h"
#include "app/AboutUnit.h"
#include "app/MAIN.h"

namespace {
const app::TVersionInfo kNoAuthor{"TolmarikProg", "2.5.0.17", "Tolmarik", ""};

QLabel* Label(QDialog& box, const char* name) {
    return box.findChild<QLabel*>(QLatin1String(name));
}
}  // namespace

class TestAboutBox : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void missingAuthor_threeLabelsStacked() {
        std::unique_ptr<QDialog> box(app::BuildAboutBox(kNoAuthor));
        QCOMPARE(box->windowTitle(), QStringLiteral("О программе: TolmarikProg"));
        const QLabel* icon = Label(*box, "imgIcon");
        QCOMPARE(icon->pos(), QPoint(10, 10));
        const QLabel* product = Label(*box, "lblProduct");
        const QLabel* version = Label(*box, "lblVersion");
        const QLabel* company = Label(*box, "lblCompany");
        QVERIFY(!Label(*box, "lblAuthor"));
        const int x = icon->x() + icon->width() + 10;
        QCOMPARE(product->pos(), QPoint(x, icon->y()));
        QCOMPARE(product->text(), QStringLiteral("TolmarikProg"));
        QVERIFY(product->font().bold());
        QCOMPARE(product->palette().color(QPalette::WindowText), QColor(0, 0, 128));
        QCOMPARE(version->pos(), QPoint(x, product->y() + product->height() + 5));
        QCOMPARE(version->text(), QStringLiteral("Версия: 2.5.0"));
        QCOMPARE(company->pos(), QPoint(x, version->y() + version->height() + 5));
        QCOMPARE(company->text(), QStringLiteral("Компания: Tolmarik"));

        int width = 10;
        for (const QLabel* l : {product, version, company})
            width = std::max(width, l->x() + l->width() + 20);
        const int height = company->y() + company->height() + 85;
        QCOMPARE(box->property("outerSize").toSize(), QSize(width, height));
        const auto* ok = box->findChild<QPushButton*>(QStringLiteral("btnOk"));
        QCOMPARE(ok->text(), QStringLiteral("Ok"));
        QCOMPARE(ok->y(), height - 60);
        QVERIFY(qAbs(ok->x() + ok->width() / 2.0 - width / 2.0) <= 0.5);
        const auto* bevel = box->findChild<QWidget*>(QStringLiteral("bvlBottom"));
        QCOMPARE(bevel->geometry().bottom(), box->height() - 1);
        QCOMPARE(bevel->height(), ok->height() + 20);
    }

    void versionWithoutDot_prefixAlone() {
        std::unique_ptr<QDialog> box(app::BuildAboutBox({"", "7", "", ""}));
        QCOMPARE(Label(*box, "lblVersion")->text(), QStringLiteral("Версия: "));
        QCOMPARE(Label(*box, "lblVersion")->y(), 10 + Label(*box, "imgIcon")->height() + 5);
    }

    void helpAbout_programInfo_showsBoxOnce() {
        testing::TRecordingDialogs dialogs;
        device::SetDialogs(&dialogs);
        app::TMainForm form;
        form.HelpAbout1->trigger();
        device::SetDialogs(nullptr);
        QCOMPARE(dialogs.executed, 1);
    }

    void noVersionInfo_nothingShown() {
        testing::TRecordingDialogs dialogs;
        device::SetDialogs(&dialogs);
        app::ShowAboutBox(nullptr, {});
        device::SetDialogs(nullptr);
        QCOMPARE(dialogs.executed, 0);
    }
};

TOLMARIK_GUI_TEST_MAIN(TestAboutBox)
#include "tst_aboutbox.moc"
