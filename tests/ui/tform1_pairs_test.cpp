// The window's keyboard (Enter analyses after the edit's check, Ctrl+C copies
// the results), the loss field's tooltip and the coupled-synthesis dialog.
#include <QAction>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTimer>

#include "guitest.h"
#include "ui/pairsynthesisdialog.h"

namespace {

QString Clipboard() {
    return QApplication::clipboard()->text();
}

double Number(const QString& text, const QString& label) {
    const QRegularExpression pattern(label + QStringLiteral(": ([-+0-9.eE]+)"));
    const QRegularExpressionMatch match = pattern.match(text);
    return match.hasMatch() ? match.captured(1).toDouble() : -1.0;
}

QAction* Tool(TForm1& form, const QString& text) {
    for (QAction* action : form.Tools())
        if (action->text() == text) return action;
    return nullptr;
}

class PairsAndKeysTest : public QObject {
    Q_OBJECT

  private slots:
    void enterAnalyzesOnlyAValueThatPassesItsCheck() {
        TestWindow w;
        QVERIFY(w.active);
        TypeInto(w->ParameterEdits[0], QStringLiteral("300"));
        QTest::keyClick(w->ParameterEdits[0], Qt::Key_Return);
        QCOMPARE(w.recorder.Texts(), QStringList());
        QVERIFY(w->ImpedanceLabel->font().underline());
        const QString analysed = w->ImpedanceEdit->text();
        QVERIFY(analysed != QLatin1String("50"));

        TypeInto(w->ParameterEdits[0], QStringLiteral("-1"));
        QTest::keyClick(w->ParameterEdits[0], Qt::Key_Enter);
        QCOMPARE(w.recorder.boxes.size(), std::size_t{1});
        QVERIFY(w.recorder.Texts().front().contains(QLatin1String("greater then zero")));
        QCOMPARE(w->ImpedanceEdit->text(), analysed);
        QCOMPARE(QApplication::focusWidget(), w->ParameterEdits[0]);
    }

    void ctrlCCopiesEveryShownResultButLeavesASelectionToTheEdit() {
        TestWindow w;
        QVERIFY(w.active);
        ClickTab(*w, 6);
        QTest::mouseClick(w->AnalyzeButton, Qt::LeftButton);
        QApplication::clipboard()->clear();
        QTest::keyClick(w->AnalyzeButton, Qt::Key_C, Qt::ControlModifier);
        const QString text = Clipboard();
        for (const QString& line :
             {QStringLiteral("Line: Coupled MSLine"), QStringLiteral("Mode: even"),
              QStringLiteral("Impedance: ") + w->ImpedanceEdit->text() + QStringLiteral(" Ohms"),
              QStringLiteral("Loss: ") + w->LossEdit->text() + QLatin1Char(' ') +
                  w->LossUnitBox->currentText(),
              QStringLiteral("Gap (S): ") + w->ParameterEdits[1]->text() + QLatin1Char(' ') +
                  w->ParameterBoxes[1]->currentText(),
              QStringLiteral("Effective dielectric constant: ") + w->EffDielConstEdit->text()})
            QVERIFY2(text.contains(line + QLatin1Char('\n')), qPrintable(line + "\n--\n" + text));

        w->FrequencyEdit->setFocus();
        w->FrequencyEdit->selectAll();
        QTest::keyClick(w->FrequencyEdit, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(Clipboard(), w->FrequencyEdit->text());
        w->FrequencyEdit->deselect();
        QTest::keyClick(w->FrequencyEdit, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(Clipboard(), text);
    }

    void lossTooltipSplitsTheShownLoss() {
        TestWindow w;
        QTest::mouseClick(w->AnalyzeButton, Qt::LeftButton);
        const QString unit = w->LossUnitBox->currentText();
        QString tip = w->LossEdit->toolTip();
        QVERIFY2(tip.contains(QStringLiteral(" ") + unit) && tip.contains(QLatin1String("um")),
                 qPrintable(tip));
        const double total = w->LossEdit->text().toDouble();
        const double parts = Number(tip, QStringLiteral("Conductor loss")) +
                             Number(tip, QStringLiteral("Dielectric loss"));
        QVERIFY2(std::abs(parts - total) < 2e-3 * total, qPrintable(tip));
        QVERIFY(Number(tip, QStringLiteral("Skin depth")) > 0.0);

        Pick(w->LossUnitBox, (w->LossUnitBox->currentIndex() + 1) % w->LossUnitBox->count());
        tip = w->LossEdit->toolTip();
        QVERIFY2(tip.contains(QStringLiteral(" ") + w->LossUnitBox->currentText()),
                 qPrintable(tip));
        ClickTab(*w, 1); // another tab's loss: no parts, only the note that it is stale
        QCOMPARE(w->LossEdit->toolTip(),
                 QStringLiteral("Not computed for these inputs: press Analyze"));
    }

    // Results of other inputs are dimmed with a note; Analyze makes them current.
    void staleResultsAreDimmedUntilAnalyze() {
        TestWindow w;
        QTest::mouseClick(w->AnalyzeButton, Qt::LeftButton);
        QVERIFY(w->ResultsCurrent());
        const QColor normal = w->EffDielConstEdit->palette().color(QPalette::Text);
        QTest::keyClick(w->ParameterEdits[0], Qt::Key_1); // the user types into W
        QVERIFY(!w->ResultsCurrent());
        for (QLineEdit* result : {w->EffDielConstEdit, w->ImpedanceEdit, w->ElectricalLengthEdit}) {
            QCOMPARE(result->toolTip(),
                     QStringLiteral("Not computed for these inputs: press Analyze"));
            QVERIFY(result->palette().color(QPalette::Text) != normal);
        }
        QVERIFY(w->ParameterEdits[0]->toolTip().isEmpty()); // an input, not a result
        QTest::mouseClick(w->AnalyzeButton, Qt::LeftButton);
        QVERIFY(w->ResultsCurrent());
        QCOMPARE(w->EffDielConstEdit->palette().color(QPalette::Text), normal);
        QVERIFY(w->ImpedanceEdit->toolTip().isEmpty());
        ClickTab(*w, 6);
        QVERIFY(!w->ResultsCurrent());
        QTest::mouseClick(w->AnalyzeButton, Qt::LeftButton);
        QVERIFY(w->ResultsCurrent());
    }

    // A coupled line's pair figures come from both modes, whichever the
    // fields show, on a line of their own that Ctrl+C copies and that dims
    // with the other results.
    void pairLineShowsTheFiguresOfBothModes() {
        TestWindow w;
        const int single = w->height();
        QVERIFY(w->PairLine->isHidden());
        ClickTab(*w, 6);
        QVERIFY(!w->PairLine->isHidden());
        QCOMPARE(w->height(), single + w->PairLine->height());
        QTest::mouseClick(w->OddMode, Qt::LeftButton);
        QTest::mouseClick(w->AnalyzeButton, Qt::LeftButton);
        const QString pair = w->PairLine->text();
        const double zodd = w->ImpedanceEdit->text().toDouble();
        QVERIFY2(std::abs(Number(pair, QStringLiteral("Zdiff")) - 2 * zodd) < 1e-5 * zodd,
                 qPrintable(pair));
        QVERIFY2(Number(pair, QStringLiteral("Coupling")) < -3.0 && pair.contains(" dB"),
                 qPrintable(pair));
        QTest::mouseClick(w->EvenMode, Qt::LeftButton);
        QVERIFY(w->PairLine->toolTip().contains(QLatin1String("press Analyze")));
        QTest::mouseClick(w->AnalyzeButton, Qt::LeftButton);
        QCOMPARE(w->PairLine->text(), pair);
        QVERIFY(w->PairLine->toolTip().isEmpty());
        const double zeven = w->ImpedanceEdit->text().toDouble();
        QVERIFY2(std::abs(Number(pair, QStringLiteral("Zcomm")) - zeven / 2) < 1e-5 * zeven,
                 qPrintable(pair));
        QTest::keyClick(w->AnalyzeButton, Qt::Key_C, Qt::ControlModifier);
        for (const QString& figure : pair.split(QStringLiteral("      ")))
            QVERIFY2(Clipboard().contains(figure + QLatin1Char('\n')), qPrintable(Clipboard()));

        // With a material model on, its status line goes under the pair's.
        MaterialOptions rough;
        rough.rough = 1.5e-6;
        w->SetMaterialOptions(rough, 0);
        QCOMPARE(w->height(), single + 2 * w->PairLine->height());
        QTest::mouseClick(w->AnalyzeButton, Qt::LeftButton);
        QVERIFY(w->grab().save(ScreenshotFolder() + "/coupled-pair-and-models-lines.png"));
        ClickTab(*w, 0);
        QVERIFY(w->PairLine->isHidden());
        QCOMPARE(w->height(), single + w->PairLine->height());
    }

    void coupledSynthesisWritesTheSolvedRows() {
        TestWindow w;
        QVERIFY(w.active);
        QAction* tool = Tool(*w, QStringLiteral("Coupled synthesis..."));
        QVERIFY(tool != nullptr);
        tool->trigger(); // on the microstrip tab it only explains
        QCOMPARE(w.recorder.boxes.size(), std::size_t{1});
        QVERIFY(w.recorder.Texts().front().contains(QLatin1String("coupled lines")));

        ClickTab(*w, 7);
        bool solved = false;
        QString engine;
        QTimer::singleShot(0, this, [&] {
            auto* dialog = qobject_cast<PairSynthesisDialog*>(QApplication::activeModalWidget());
            if (dialog == nullptr) return;
            engine = dialog->engineBox->currentText();
            dialog->firstValue->setText(QStringLiteral("100"));
            dialog->secondValue->setText(QStringLiteral("30"));
            QTest::keyClick(dialog->secondValue, Qt::Key_Return); // Enter solves
            solved = dialog->Solved().has_value() && dialog->isVisible();
            SavePicture(dialog->grab(), QStringLiteral("coupled-synthesis"));
            dialog->buttons->button(QDialogButtonBox::Ok)->click();
        });
        QTest::keyClick(w.form.get(), Qt::Key_F6);
        QVERIFY(solved);
        QCOMPARE(engine, QStringLiteral("Closed form"));
        QCOMPARE(w.recorder.boxes.size(), std::size_t{1});
        const double even = w->ImpedanceEdit->text().toDouble();
        QTest::mouseClick(w->OddMode, Qt::LeftButton);
        QTest::mouseClick(w->AnalyzeButton, Qt::LeftButton);
        const double odd = w->ImpedanceEdit->text().toDouble();
        // The window shows the rows rounded to its number format.
        QVERIFY2(std::abs(even / 2 - 30.0) < 1e-3 && std::abs(2 * odd - 100.0) < 1e-3,
                 qPrintable(QStringLiteral("%1 %2").arg(even).arg(odd)));
    }

  private:
    static void SavePicture(const QPixmap& picture, const QString& name) {
        QString folder = qEnvironmentVariable("TAVREL_SCREENSHOTS");
        if (folder.isEmpty()) folder = QDir::currentPath() + QStringLiteral("/screenshots");
        QDir().mkpath(folder);
        picture.save(folder + QLatin1Char('/') + name + QStringLiteral(".png"));
    }
};

RegisterGuiTest<PairsAndKeysTest> registered;

} // namespace

#include "tform1_pairs_test.moc"
