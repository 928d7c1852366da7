// The field-solver check through the window: F7 on a tab, the dialog's values
// against the window's own analysis, cancelling, the slotline's message, and
// screenshots of the dialog.
#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QProgressDialog>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>

#include "guitest.h"
#include "models/linetypes.h"
#include <QHeaderView>
#include <QRegularExpression>
#include <QTableWidget>

#include "fieldcheck/sectionpicture.h"
#include "ui/fieldcheckdialog.h"

namespace {

QAction* FieldCheckTool(TForm1& form) {
    for (QAction* action : form.Tools())
        if (action->shortcut() == QKeySequence(Qt::Key_F7)) return action;
    return nullptr;
}

double Cell(const FieldCheckDialog& dialog, int row, int column) {
    QString text = dialog.Table()->item(row, column)->text();
    text.remove(QStringLiteral("±")).remove(QLatin1Char('%'));
    return text.trimmed().toDouble();
}

class FieldCheckTest : public QObject {
    Q_OBJECT

  private slots:
    void microstripDialogShowsBothSides() {
        TestWindow w;
        QVERIFY(w.active);
        QTest::mouseClick(w->AnalyzeButton, Qt::LeftButton);
        const double shown = w->ReadNumber(w->ImpedanceEdit);
        QTest::keyClick(w.form.get(), Qt::Key_F7);
        auto* dialog = w->findChild<FieldCheckDialog*>();
        QVERIFY2(dialog != nullptr, qPrintable(w.recorder.Texts().join('\n')));
        QVERIFY(dialog->isVisible());
        const auto& c = dialog->Comparison();
        QCOMPARE(c.modes.size(), std::size_t{1});
        const auto& m = c.modes.front();
        // The window's inputs reached the solve: its analysis is the closed
        // form at the line's frequency.
        QVERIFY(std::abs(m.closedFormAtFrequency.impedance - shown) < 1e-3 * shown);
        // Rows Z0 and eeff; columns as the header says, rounded as shown.
        QCOMPARE(dialog->Table()->rowCount(), 2);
        QCOMPARE(Cell(*dialog, 0, FieldCheckDialog::Field),
                 std::round(m.field.impedance * 100) / 100);
        QCOMPARE(Cell(*dialog, 0, FieldCheckDialog::ClosedForm),
                 std::round(m.closedForm.impedance * 100) / 100);
        QVERIFY(std::abs(Cell(*dialog, 0, FieldCheckDialog::Difference)) < 0.5);
        QVERIFY(std::abs(Cell(*dialog, 1, FieldCheckDialog::Difference)) < 0.5);
        QVERIFY(Cell(*dialog, 0, FieldCheckDialog::EstimatedError) > 0.0);
        QVERIFY(c.solve.mesh_cells > 1000 && c.solve.seconds > 0.0);
        // Every header and cell fits its column; no "-0.00" anywhere.
        QTest::qWait(20);
        const QHeaderView* header = dialog->Table()->horizontalHeader();
        for (int column = 0; column < dialog->Table()->columnCount(); ++column) {
            const QString title = dialog->Table()->horizontalHeaderItem(column)->text();
            QVERIFY2(header->sectionSize(column) >= header->fontMetrics().horizontalAdvance(title),
                     qPrintable(title));
            for (int row = 0; row < dialog->Table()->rowCount(); ++row)
                QVERIFY(!QRegularExpression(QStringLiteral("^[-+±]?0\\.0+ %$"))
                             .match(dialog->Table()->item(row, column)->text())
                             .hasMatch());
        }
        Screenshot(*dialog, QStringLiteral("fieldcheck-microstrip"));
    }

    // The dialog's "Synthesize with the field solver" writes the width the
    // field puts on the window's Z0 and reports the field's Z0 there.
    void synthesizeWithTheFieldSolverWritesTheWidth() {
        TestWindow w;
        QVERIFY(w.active);
        const QString before = w->ParameterEdits[0]->text();
        QTest::keyClick(w.form.get(), Qt::Key_F7);
        auto* dialog = w->findChild<FieldCheckDialog*>();
        QVERIFY(dialog != nullptr);
        auto* synthesize = dialog->findChild<QPushButton*>(QStringLiteral("synthesize"));
        QVERIFY(synthesize != nullptr);
        synthesize->click();
        QVERIFY(w->ParameterEdits[0]->text() != before);
        const QString report = w.recorder.Texts().join('\n');
        const auto z = QRegularExpression(QStringLiteral("field solver gives Z0 = ([0-9.]+) Ohms"))
                           .match(report);
        QVERIFY2(z.hasMatch(), qPrintable(report));
        // 50 Ohms is the window's first-start Z0.
        QVERIFY(std::abs(z.captured(1).toDouble() - 50.0) < 0.01);
    }

    // Every other tab: both modes on the coupled ones, the exact coax
    // without a picture; a screenshot of each (the odd mode's picture too).
    // The coupled microstrip is solved under a mask and a cover, and its
    // picture shows both.
    void everyQuasiTemTabShowsTheDialog() {
        TestWindow w;
        w->SetCoating({25e-6, 3.5, 0.02, 0.5e-3});
        for (const LineType& type : LineTypes()) {
            const int tab = type.tabIndex;
            if (tab == 0 || type.crossSection == nullptr) continue; // the first test's, not quasi-TEM
            ClickTab(*w, tab);
            FieldCheckTool(*w)->trigger();
            auto* dialog = w->findChild<FieldCheckDialog*>();
            QVERIFY2(dialog != nullptr, qPrintable(w.recorder.Texts().join('\n')));
            QCOMPARE(dialog->Table()->rowCount(), type.coupled ? 4 : 2);
            QCOMPARE(dialog->Comparison().solve.exact, std::string_view(type.cliName) == "coax");
            if (!dialog->Comparison().solve.exact) {
                const auto picture = fieldcheck::PictureOf(dialog->Comparison(), 0);
                QCOMPARE(picture.maskEr.value_or(0.0), type.coated ? 3.5 : 0.0);
                QCOMPARE(picture.cover, type.coated);
            }
            const QString name = QStringLiteral("fieldcheck-") + type.cliName;
            Screenshot(*dialog, name);
            if (type.coated) { // the mask layer in its own green across the picture
                const QImage drawn = dialog->grab().toImage();
                int mask = 0;
                for (int y = 0; y < drawn.height(); ++y)
                    for (int x = 0; x < drawn.width(); ++x)
                        mask += drawn.pixelColor(x, y) == QColor(120, 186, 150);
                QVERIFY2(mask > 3000, qPrintable(QString::number(mask)));
            }
            if (auto* modes = dialog->findChild<QTabWidget*>()) {
                modes->setCurrentIndex(1);
                Screenshot(*dialog, name + QStringLiteral("-odd"));
            }
            delete dialog;
        }
        QCOMPARE(w.recorder.Texts(), QStringList());
    }

    void cancelEndsWithinATenthOfASecond() {
        TestWindow w;
        QElapsedTimer sinceCancel;
        QTimer::singleShot(0, [&] {
            if (auto* progress = w->findChild<QProgressDialog*>()) {
                sinceCancel.start();
                progress->findChild<QPushButton*>()->click();
            }
        });
        FieldCheckTool(*w)->trigger();
        QVERIFY(sinceCancel.isValid());
        QVERIFY2(sinceCancel.elapsed() < 100, qPrintable(QString::number(sinceCancel.elapsed())));
        QVERIFY(w->findChild<FieldCheckDialog*>() == nullptr);
        QCOMPARE(w.recorder.Texts(), QStringList());
    }

    void slotlineIsNotQuasiTem() {
        TestWindow w;
        ClickTab(*w, 5);
        FieldCheckTool(*w)->trigger();
        QCOMPARE(w.recorder.boxes.size(), std::size_t{1});
        QVERIFY(w.recorder.Texts().front().contains(QStringLiteral("not a quasi-TEM line")));
        QVERIFY(w->findChild<FieldCheckDialog*>() == nullptr);
    }

  private:
    static void Screenshot(QWidget& dialog, const QString& name) {
        dialog.resize(620, 640);
        QTest::qWait(20);
        QString folder = qEnvironmentVariable("TAVREL_SCREENSHOTS");
        if (folder.isEmpty()) folder = QDir::currentPath() + QStringLiteral("/screenshots");
        QDir().mkpath(folder);
        QVERIFY(dialog.grab().save(folder + QLatin1Char('/') + name + QStringLiteral(".png")));
    }
};

RegisterGuiTest<FieldCheckTest> registered;

} // namespace

#include "fieldcheck_test.moc"
