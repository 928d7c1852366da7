// Laminates, the user's materials file and the material options dialog as the
// window offers them.
#include <QAction>
#include <QLabel>
#include <QPushButton>

#include "guitest.h"
#include "core/materialmodels.h"
#include "ui/coatingdialog.h"
#include "ui/materialoptionsdialog.h"

namespace {

int IndexOf(QComboBox* list, const QString& name) {
    const int index = list->findText(name);
    if (index < 0) qFatal("no entry %s", qPrintable(name));
    return index;
}

class MaterialsTest : public QObject {
    Q_OBJECT

  private slots:
    void laminatePickCarriesItsSheetFrequency() {
        TestWindow w(std::string(), false);
        QCOMPARE(w->DielectricsComboBox->itemText(6), QStringLiteral("RT/Duroid 5880"));
        Pick(w->DielectricsComboBox, IndexOf(w->DielectricsComboBox, "Rogers RO4350B"));
        QCOMPARE(w->DielConstantEdit->text(), QStringLiteral("3.66"));
        QCOMPARE(w->LossTangentEdit->text(), QStringLiteral("0.0037"));
        QCOMPARE(w->MaterialOptionsValue().fRef, 1e10);
    }

    void materialsFileAddsEntriesAndReportsBadLinesInOneBox() {
        TempFolder folder;
        TempFolder::Write(folder.File("materials.txt"), "dielectric \"Shop core\" 4.4 0.018 1e9\n"
                                                        "dielectric \"Broken\" 4.4\n"
                                                        "conductor \"Brass\" 1.5e7\n"
                                                        "conductor \"Lead\" abc\n");
        BoxRecorder recorder;
        TForm1 form(TForm1::Options{QString::fromStdString(folder.File("tavrel.ini"))});
        QCOMPARE(recorder.boxes.size(), std::size_t(1));
        const QString text = recorder.boxes[0].text;
        QVERIFY2(text.contains(QString::fromStdString(folder.File("materials.txt"))) &&
                     text.contains("line 2:") && text.contains("line 4:"),
                 qPrintable(text));
        QCOMPARE(form.DielectricsComboBox->count(), int(DielectricTable().size()) + 1);
        QCOMPARE(form.DielectricsComboBox->currentText(), QStringLiteral("GaAs"));
        Pick(form.ConductorsComboBox, IndexOf(form.ConductorsComboBox, "Brass"));
        QCOMPARE(form.ConductivityEdit->text(), QStringLiteral("1.5E+07"));

        // The same file again: no second box; an edited one: a box again.
        TForm1 again(TForm1::Options{QString::fromStdString(folder.File("tavrel.ini"))});
        QCOMPARE(recorder.boxes.size(), std::size_t(1));
        TempFolder::Write(folder.File("materials.txt"), "conductor \"Lead\" abc\n");
        TForm1 edited(TForm1::Options{QString::fromStdString(folder.File("tavrel.ini"))});
        QCOMPARE(recorder.boxes.size(), std::size_t(2));
    }

    void optionsDialogStoresItsOwnSectionAndRaisesTheLoss() {
        TestWindow w("[Material Parameter]\nDiel Constant=4.3\nLoss Tangent=0.02\n");
        const QList<QAction*>& tools = w->Tools();
        const auto tool = std::find_if(tools.begin(), tools.end(), [](QAction* a) {
            return a->text() == QStringLiteral("Materials and conductor options...");
        });
        QVERIFY(tool != tools.end());
        QCOMPARE((*tool)->shortcut(), QKeySequence(Qt::Key_F8));

        w->AnalyzeButton->click();
        const double smoothLoss = w->LossValue();
        MaterialOptionsDialog dialog(*w);
        QCOMPARE(dialog.referenceEdit->text(), QStringLiteral("1")); // 1 GHz in the window's unit
        QVERIFY(!dialog.referenceEdit->isEnabled());
        dialog.roughnessEdit->setText("-1"); // refused in the dialog, no box
        QVERIFY(!dialog.Apply() && !dialog.problemLabel->text().isEmpty());
        dialog.roughnessEdit->setText("2");
        dialog.roughnessUnitBox->setCurrentIndex(1); // mm: the number follows
        QCOMPARE(dialog.roughnessEdit->text(), QStringLiteral("0.002"));
        dialog.roughnessUnitBox->setCurrentIndex(0);
        dialog.roughnessModelBox->setCurrentIndex(1);
        dialog.dielectricModelBox->setCurrentIndex(1);
        QVERIFY(dialog.referenceEdit->isEnabled());
        dialog.frequencyUnitBox->setCurrentIndex(2); // MHz: the numbers follow
        QCOMPARE(dialog.referenceEdit->text(), QStringLiteral("1000"));
        QVERIFY(dialog.Apply());

        const MaterialOptions options = w->MaterialOptionsValue();
        QCOMPARE(options.rough, 2e-6);
        QVERIFY(options.roughModel == FindRoughnessModel("groiss"));
        QVERIFY(options.dkModel == FindDielectricModel("djsarkar"));
        QCOMPARE(options.fRef, 1e9);
        const std::string ini = w.Ini();
        QVERIFY2(ini.find("[Material Parameter]\nDiel Constant=4.3\nLoss Tangent=0.02\n") == 0 &&
                     ini.find("[Material Options]\nRoughness=2e-06\nRoughness Unit=0\n"
                              "Roughness Model=Groiss\nDielectric Model=Djordjevic-Sarkar\n") != std::string::npos,
                 ini.c_str());
        w->AnalyzeButton->click();
        QVERIFY2(w->LossValue() > 1.2 * smoothLoss, qPrintable(w->LossEdit->text()));
        // Said under the results and in the copied text.
        const QString models =
            QStringLiteral("Roughness 2 \u00b5m (Groiss); Djordjevic-Sarkar wideband, Er 4.3 at 1 GHz");
        QCOMPARE(w->ModelsLine->text(), models);
        QVERIFY(!w->ModelsLine->isHidden());
        QVERIFY(w->ResultsText().contains(QStringLiteral("Material models: ") + models + '\n'));

        // A restart reads the options back.
        TForm1 again(TForm1::Options{QString::fromStdString(w.iniPath)});
        const MaterialOptions read = again.MaterialOptionsValue();
        QVERIFY(read.rough == 2e-6 && read.roughModel == options.roughModel &&
                read.dkModel == options.dkModel && read.fRef == 1e9);
        QCOMPARE(w.recorder.Texts(), QStringList());
    }

    void coatingSurvivesARestart() {
        TestWindow w(std::string(), false);
        QVERIFY(w.Ini().find("[Solder Mask and Cover]") == std::string::npos);
        CoatingDialog dialog(*w); // in the first row's unit, µm
        dialog.thicknessEdit->setText("25");
        dialog.maskErEdit->setText("3.8");
        dialog.coverEdit->setText("2000");
        QVERIFY(dialog.Apply());
        TForm1 again(TForm1::Options{QString::fromStdString(w.iniPath)});
        QCOMPARE(again.CoatingValue(), (Coating{25e-6, 3.8, 0.02, 2e-3}));
        QCOMPARE(w.recorder.Texts(), QStringList());
    }

    // Files written before the coating was kept, and damaged sections: no coating.
    void storedCoatingRead_data() {
        QTest::addColumn<QString>("section");
        QTest::addColumn<double>("tm");
        QTest::addColumn<double>("hc");
        QTest::newRow("absent") << "" << 0.0 << 0.0;
        QTest::newRow("cover only") << "Hc=0.001\n" << 0.0 << 1e-3;
        QTest::newRow("negative") << "Tm=3e-05\nHc=-0.001\n" << 0.0 << 0.0;
        QTest::newRow("not a number") << "Tm=3e-05\nErm=x\n" << 0.0 << 0.0;
        QTest::newRow("mask Er below 1") << "Tm=3e-05\nErm=0.5\n" << 0.0 << 0.0;
    }
    void storedCoatingRead() {
        QFETCH(QString, section);
        QFETCH(double, tm);
        QFETCH(double, hc);
        TestWindow w(section.isEmpty() ? "[Material Parameter]\nDiel Constant=4.3\n"
                                       : "[Solder Mask and Cover]\n" + section.toStdString(),
                     false);
        QCOMPARE(w->CoatingValue(), (Coating{tm, 3.5, 0.02, hc}));
        QCOMPARE(w.recorder.Texts(), QStringList());
    }

    void optionsStoredAsIndexesStillRead() {
        TestWindow w("[Material Options]\nRoughness Model=1\nDielectric Model=1\n");
        QVERIFY(w->MaterialOptionsValue().roughModel == FindRoughnessModel("groiss"));
        QVERIFY(w->MaterialOptionsValue().dkModel == FindDielectricModel("djsarkar"));
    }
};

RegisterGuiTest<MaterialsTest> registered;

} // namespace

#include "tform1_materials_test.moc"
