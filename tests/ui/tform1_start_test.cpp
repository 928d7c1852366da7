// The window after start-up, its layout, focus order, tabs and modes.
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <filesystem>

#include "core/worksheet.h"
#include "guitest.h"
#include "models/linetypes.h"
#include "ui/fontreader.h"
#include "ui/linepictures.h"

namespace {

class StartTest : public QObject {
    Q_OBJECT

  private slots:
    // Each tab on a first start shows what the Worksheet holds after the same
    // line's set-up (and so what tavrel-calc starts from, cli_test.cpp).
    void firstStartValuesMatchTheWorksheetOnEveryTab() {
        TestWindow w;
        for (const LineType& type : LineTypes()) {
            ClickTab(*w, type.tabIndex);
            Worksheet sheet;
            CreateLineModel(type, sheet)->LoadAndSetup();
            for (int row = 1; row <= type.RowCount(); ++row)
                QCOMPARE(w->RowValue(row), sheet.RowValue(row));
            QCOMPARE(w->FrequencyValue(), sheet.frequency);
            QCOMPARE(w->PhysicalLengthValue(), sheet.physicalLength);
            QCOMPARE(w->ElectricalLengthValue(), sheet.electricalLength);
            QCOMPARE(w->ImpedanceValue(), sheet.impedance);
            QCOMPARE(w->DielConstantValue(), sheet.dielConstant);
            QCOMPARE(w->LossTangentValue(), sheet.lossTangent);
            QCOMPARE(w->ConductivityValue(), sheet.conductivity);
            QCOMPARE(w->ModeIndex(), sheet.modeIndex);
            QCOMPARE(w->windowTitle().toStdString(), sheet.caption);
        }
    }

    // First start without a settings file.
    void firstStart() {
        TestWindow w;
        TForm1& f = *w;
        QVERIFY(LineTypeForTab(0) != nullptr);
        QCOMPARE(f.windowTitle(), QStringLiteral("TAVREL 2003 - Microstrip"));
        QCOMPARE(f.TabControl1->currentIndex(), 0);
        const std::pair<QLineEdit*, const char*> shown[] = {
            {f.FrequencyEdit, "10"},          {f.PhysicalLengthEdit, "10000"},
            {f.ElectricalLengthEdit, "90"},   {f.ImpedanceEdit, "50"},
            {f.DielConstantEdit, "12.9"},     {f.LossTangentEdit, "0.0005"},
            {f.ConductivityEdit, "6.14E+07"}, {f.PropConstantEdit, "180"},
            {f.EffDielConstEdit, "10"},       {f.LossEdit, "10"}};
        for (const auto& [edit, text] : shown)
            QCOMPARE(edit->text(), QString::fromLatin1(text));
        const std::pair<QComboBox*, const char*> lists[] = {{f.FrequencyUnitBox, "GHz"},
                                                            {f.PhysicalLengthUnitBox, "um"},
                                                            {f.ElectricalLengthUnitBox, "deg"},
                                                            {f.ImpedanceUnitBox, "Ohms"},
                                                            {f.DielectricsComboBox, "GaAs"},
                                                            {f.ConductorsComboBox, "Silver"},
                                                            {f.ConductivityUnitBox, "S/m"},
                                                            {f.PropConstantUnitBox, "deg/m"},
                                                            {f.LossUnitBox, "dB/m"}};
        for (const auto& [list, text] : lists)
            QCOMPARE(list->currentText(), QString::fromLatin1(text));
        const char* labels[] = {"Width (W)", "Height (H)", "Thickness (T)"};
        const char* values[] = {"50", "100", "1"};
        for (int i = 0; i < TForm1::kRows; ++i) {
            const bool shownRow = i < 3;
            QCOMPARE(!f.ParameterEdits[i]->isHidden(), shownRow);
            QCOMPARE(!f.ParameterLabels[i]->isHidden(), shownRow);
            QCOMPARE(!f.ParameterBoxes[i]->isHidden(), shownRow);
            if (!shownRow) continue;
            QCOMPARE(f.ParameterLabels[i]->text(), QString::fromLatin1(labels[i]));
            QCOMPARE(f.ParameterEdits[i]->text(), QString::fromLatin1(values[i]));
            QCOMPARE(f.ParameterBoxes[i]->currentText(), QStringLiteral("um"));
        }
        QVERIFY(f.EvenMode->isHidden());
        QVERIFY(f.OddMode->isHidden());
        QVERIFY(!f.SynthesizeButton->isHidden());
        QVERIFY(f.TreeView1->isHidden());
        // Opens in its short form, the menu bar above it.
        QCOMPARE(f.size(), QSize(649, 419 - 61 - 4 + f.MenuHeight()));
        QCOMPARE(f.ModeIndex(), -1);
        for (int i = 0; i < int(LineTypes().size()); ++i)
            QCOMPARE(!f.LineImages[i]->isHidden(), i == 0);
        QVERIFY(w.recorder.boxes.empty());
        QVERIFY(!std::filesystem::exists(w.iniPath)); // never written at start-up
    }

    void looks() {
        const QFont applicationFont = QGuiApplication::font();
        TestWindow w;
        TForm1& f = *w;
        // Menus and dialogs keep the application's font; the window's
        // controls have the window's.
        QCOMPARE(QGuiApplication::font(), applicationFont);
        QCOMPARE(f.ImpedanceEdit->font(), f.font());
        for (QLineEdit* edit : {f.PropConstantEdit, f.EffDielConstEdit, f.LossEdit}) {
            QVERIFY(edit->isReadOnly());
            QCOMPARE(edit->palette().color(QPalette::Base),
                     edit->palette().color(QPalette::Button));
        }
        QVERIFY(!f.DielConstantEdit->isReadOnly());
        QVERIFY(!f.windowIcon().isNull());
        QVERIFY(!f.AnalyzeButton->icon().isNull());
        QVERIFY(!f.SynthesizeButton->icon().isNull());
        QCOMPARE(f.AnalyzeButton->iconSize(), QSize(32, 32));
        QVERIFY(f.AnalyzeButton->text().isEmpty());
        QCOMPARE(f.QRXButton->iconSize(), QSize(62, 21));
        for (QLabel* image : f.LineImages)
            QCOMPARE(image->pixmap().size(), QSize(128, 80));
        QVERIFY(f.TreeView1->font().bold());
        QCOMPARE(f.TreeView1->palette().color(QPalette::Text), QColor(128, 0, 0));
        QCOMPARE(f.TreeView1->indentation(), 19);
        // Unit lists are not tab stops; the material lists are.
        QVERIFY(!(f.FrequencyUnitBox->focusPolicy() & Qt::TabFocus));
        QVERIFY(!(f.ParameterBoxes[0]->focusPolicy() & Qt::TabFocus));
        QVERIFY(f.DielectricsComboBox->focusPolicy() & Qt::TabFocus);
        // Edits show upper case whatever is typed.
        TypeInto(f.ImpedanceEdit, QStringLiteral("1e-3abc"));
        QCOMPARE(f.ImpedanceEdit->text(), QStringLiteral("1E-3ABC"));
    }

    void layout_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("place");
        const std::pair<const char*, QRect> places[] = {
            {"TabControl1", {0, 0, 649, 33}},
            {"Panel1", {0, 33, 649, 320}},
            {"GroupBox3", {6, 6, 475, 103}},
            {"DielectricsComboBox", {64, 20, 157, 21}},
            {"ConductorsComboBox", {298, 19, 168, 21}},
            {"DielConstantEdit", {120, 45, 100, 21}},
            {"ConductivityEdit", {298, 44, 100, 21}},
            {"ConductivityUnitBox", {401, 44, 65, 21}},
            {"LossTangentEdit", {120, 70, 100, 21}},
            {"QRXButton", {400, 75, 71, 28}},
            {"Panel2", {490, 11, 147, 97}},
            {"GroupBox1", {5, 117, 300, 196}},
            {"ImpedanceEdit", {120, 20, 100, 21}},
            {"ImpedanceUnitBox", {224, 20, 65, 21}},
            {"FrequencyEdit", {120, 44, 100, 21}},
            {"ElectricalLengthEdit", {120, 68, 100, 21}},
            {"PropConstantEdit", {120, 92, 100, 21}},
            {"EffDielConstEdit", {120, 117, 100, 21}},
            {"LossEdit", {120, 142, 100, 21}},
            {"LossUnitBox", {224, 142, 65, 21}},
            {"AnalyzeButton", {311, 139, 40, 40}},
            {"SynthesizeButton", {311, 190, 40, 40}},
            {"GroupBox2", {360, 117, 285, 196}},
            {"PhysicalLengthEdit", {110, 19, 100, 21}},
            {"PhysicalLengthUnitBox", {214, 19, 63, 21}},
            {"ParameterEdit1", {110, 44, 100, 21}},
            {"ParameterBox3", {214, 93, 63, 21}},
            {"ParameterEdit6", {110, 165, 100, 21}},
            {"TreeView1", {0, 356, 649, 61}}};
        for (const auto& [name, place] : places)
            QTest::newRow(name) << QString::fromLatin1(name) << place;
        for (const char* name : {"EvenMode", "OddMode"})
            QTest::newRow(name) << QString::fromLatin1(name) << QRect();
    }
    void layout() {
        QFETCH(QString, name);
        QFETCH(QRect, place);
        TestWindow w(std::string(), false);
        auto* control = w->findChild<QWidget*>(name);
        QVERIFY2(control != nullptr, qPrintable(name));
        if (place.isNull()) {
            QCOMPARE(control->y(), 170);
            QCOMPARE(control->x(), name == QLatin1String("EvenMode") ? 120 : 217);
        } else {
            QCOMPARE(control->geometry(), place);
        }
    }

    // Rows are found by the digit in their names.
    void rowNames() {
        TestWindow w(std::string(), false);
        for (int i = 1; i <= TForm1::kRows; ++i) {
            const QString n = QString::number(i);
            QCOMPARE(w->ParameterBoxes[i - 1]->objectName(), QStringLiteral("ParameterBox") + n);
            QCOMPARE(w->ParameterEdits[i - 1]->objectName(), QStringLiteral("ParameterEdit") + n);
            QCOMPARE(w->ParameterLabels[i - 1]->objectName(), QStringLiteral("ParameterLabel") + n);
        }
        const char* images[] = {"Image_Microstrip",     "Image_Stripline",        "Image_CPWLine",
                                "Image_CPWLineGround",  "Image_Coaxial",          "Image_Slotline",
                                "Image_Coupled_MSLine", "Image_Coupled_StripLine"};
        for (int i = 0; i < int(std::size(images)); ++i) // the first eight tabs'
            QCOMPARE(w->LineImages[i]->objectName(), QString::fromLatin1(images[i]));
    }

    void focusOrder() {
        TestWindow w(std::string(), false);
        QStringList chain;
        QWidget* widget = w->TabControl1;
        do {
            if ((widget->focusPolicy() & Qt::TabFocus) && !widget->objectName().isEmpty() &&
                widget->parentWidget() != w->TabControl1) // not the tab strip's own scroll buttons
                chain << widget->objectName();
            widget = widget->nextInFocusChain();
        } while (widget != w->TabControl1 && chain.size() < 100);
        const QStringList expected{"TabControl1",
                                   "ImpedanceEdit",
                                   "ElectricalLengthEdit",
                                   "PropConstantEdit",
                                   "EffDielConstEdit",
                                   "LossEdit",
                                   "EvenMode",
                                   "OddMode",
                                   "FrequencyEdit",
                                   "DielectricsComboBox",
                                   "DielConstantEdit",
                                   "LossTangentEdit",
                                   "ConductorsComboBox",
                                   "ConductivityEdit",
                                   "AnalyzeButton",
                                   "SynthesizeButton",
                                   "PhysicalLengthEdit",
                                   "ParameterEdit1",
                                   "ParameterEdit2",
                                   "ParameterEdit3",
                                   "ParameterEdit4",
                                   "ParameterEdit5",
                                   "ParameterEdit6",
                                   "QRXButton",
                                   "TreeView1"};
        QCOMPARE(chain, expected);
    }

    // A tab is offered exactly when its line model is built.
    void tabsFollowTheRegistry() {
        TestWindow w(std::string(), false);
        QCOMPARE(w->TabControl1->count(), int(LineTypes().size()));
        for (int i = 0; i < int(LineTypes().size()); ++i) {
            QCOMPARE(w->TabControl1->tabText(i),
                     QString::fromStdString(TabNames()[static_cast<std::size_t>(i)]));
            QCOMPARE(w->TabControl1->isTabEnabled(i), LineTypeForTab(i) != nullptr);
            QCOMPARE(w->ModelOfTab(i) != nullptr, LineTypeForTab(i) != nullptr);
        }
    }

    void everyTabSetsItselfUp() {
        TestWindow w;
        for (int i = 0; i < int(LineTypes().size()); ++i) {
            if (LineTypeForTab(i) == nullptr) continue;
            ClickTab(*w, i);
            QCOMPARE(w->CurrentTab(), i);
            QVERIFY2(w->windowTitle().startsWith(QStringLiteral("TAVREL 2003 - ")),
                     qPrintable(w->windowTitle()));
            for (int k = 0; k < int(LineTypes().size()); ++k)
                QCOMPARE(!w->LineImages[k]->isHidden(), k == i);
            const bool coupled = LineTypeForTab(i)->coupled;
            QCOMPARE(w->SynthesizeButton->isHidden(), coupled);
            QCOMPARE(w->EvenMode->isHidden(), !coupled);
            int rows = 0;
            while (rows < TForm1::kRows && !w->ParameterEdits[rows]->isHidden())
                ++rows;
            QCOMPARE(rows, static_cast<int>(LineTypeForTab(i)->dimensionKeys.size()));
        }
        QCOMPARE(w.recorder.Texts(), QStringList());
    }

    // The pictures are drawn when their tab is first shown: the label shown
    // holds its picture (looked up by name, not through LineImages, which
    // draws a picture when asked for it).
    void pictureOfTheTabShownIsDrawn() {
        TestWindow w;
        for (int i = 0; i < int(LineTypes().size()); ++i) {
            if (LineTypeForTab(i) == nullptr) continue;
            ClickTab(*w, i);
            auto* shown = w->Panel2->findChild<QLabel*>(LinePictureName(LineTypeForTab(i)->picture));
            QVERIFY(shown != nullptr && !shown->isHidden());
            QCOMPARE(shown->pixmap().deviceIndependentSize().toSize(), QSize(128, 80));
        }
    }

    void coupledTabShowsModes() {
        if (LineTypeForTab(6) == nullptr) QSKIP("coupled microstrip not built");
        TestWindow w;
        ClickTab(*w, 6);
        QVERIFY(!w->ParameterEdits[3]->isHidden());
        QVERIFY(!w->EvenMode->isHidden() && !w->OddMode->isHidden());
        QVERIFY(w->EvenMode->isChecked());
        QVERIFY(w->SynthesizeButton->isHidden());
        QCOMPARE(w->ModeIndex(), 0);
        QTest::mouseClick(w->OddMode, Qt::LeftButton);
        QCOMPARE(w->ModeIndex(), 1);
        QTest::mouseClick(w->EvenMode, Qt::LeftButton);
        QCOMPARE(w->ModeIndex(), 0);
        ClickTab(*w, 0);
        QVERIFY(w->EvenMode->isHidden() && w->OddMode->isHidden());
        QVERIFY(!w->SynthesizeButton->isHidden());
        QVERIFY(w->ParameterEdits[3]->isHidden());
        QCOMPARE(w->ModeIndex(), -1);
    }

    // The fonts read on a second thread at program start: the reader ends
    // whether or not it was told that the application exists (a program that
    // ends before it has one must not hang on it), and waiting twice is safe.
    void fontReaderEndsInEitherCase() {
        { const FontReader untold; }
        FontReader reader;
        reader.ApplicationCreated();
        reader.Wait();
        reader.Wait();
        QVERIFY(!QFontDatabase::families().isEmpty());
    }

    void rowOperationsOutsideTheRows() {
        TestWindow w(std::string(), false);
        QCOMPARE(w->RowValue(0), LineModel::kOutOfRangeParameter);
        QCOMPARE(w->RowValue(7), LineModel::kOutOfRangeParameter);
        QCOMPARE(w->RowUnit(7), 0);
        QCOMPARE(w->RowLabel(0), std::string("Out of Range"));
        w->SetRowValue(7, 1.0);
        w->SetRowUnit(0, 2);
        w->SetRowCount(9); // repaints only
        QVERIFY(!w->ParameterEdits[0]->isHidden());
        w->ShowLineImage(int(LineTypes().size())); // no such tab
        for (QLabel* image : w->LineImages)
            QVERIFY(image->isHidden());
    }
};

RegisterGuiTest<StartTest> registered;

} // namespace

#include "tform1_start_test.moc"
