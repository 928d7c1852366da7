// Materials and the settings file as the window reads and writes them.
#include <QElapsedTimer>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>
#include <filesystem>
#include <random>
#include <string_view>

#include "guitest.h"
#include "models/linetypes.h"

namespace {

QStringList SectionsOf(const std::string& ini) {
    QStringList sections;
    for (const QString& line : QString::fromStdString(ini).split(QLatin1Char('\n')))
        if (line.startsWith(QLatin1Char('['))) sections << line;
    return sections;
}

// Whether every line of `before` is still in `after`, in the same order
// (the window's writes only replace its own keys' lines or add lines).
bool KeepsEveryLine(std::string_view before, std::string_view after) {
    std::size_t b = 0;
    std::size_t a = 0;
    while (b < before.size()) {
        if (a >= after.size()) return false;
        const std::size_t bEnd = std::min(before.find('\n', b), before.size());
        const std::size_t aEnd = std::min(after.find('\n', a), after.size());
        if (before.substr(b, bEnd - b) == after.substr(a, aEnd - a)) b = bEnd + 1;
        a = aEnd + 1;
    }
    return true;
}

// The time bound holds for an optimised build; sanitizers and unoptimised
// code run many times slower.
#if defined(__SANITIZE_ADDRESS__) || !defined(NDEBUG)
constexpr int kSlowdown = 20;
#else
constexpr int kSlowdown = 1;
#endif

class SettingsTest : public QObject {
    Q_OBJECT

  private slots:
    void materialPicks_data() {
        QTest::addColumn<QString>("list");
        QTest::addColumn<int>("entry");
        QTest::addColumn<int>("conductivityUnit");
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QString>("shown");
        QTest::newRow("Air, dielectric constant")
            << "DielectricsComboBox" << 0 << 3 << "DielConstantEdit"
            << "1";
        QTest::newRow("Air, loss tangent") << "DielectricsComboBox" << 0 << 3 << "LossTangentEdit"
                                           << "0";
        QTest::newRow("Duroid, dielectric constant")
            << "DielectricsComboBox" << 6 << 3 << "DielConstantEdit"
            << "2.16";
        QTest::newRow("Duroid, loss tangent")
            << "DielectricsComboBox" << 6 << 3 << "LossTangentEdit"
            << "0.001";
        QTest::newRow("Copper in S/mm") << "ConductorsComboBox" << 1 << 1 << "ConductivityEdit"
                                        << "58800";
        QTest::newRow("Nickel in S/m") << "ConductorsComboBox" << 4 << 3 << "ConductivityEdit"
                                       << "1.47E+07";
        QTest::newRow("Gold in S/cm") << "ConductorsComboBox" << 2 << 2 << "ConductivityEdit"
                                      << "410000";
    }
    void materialPicks() {
        QFETCH(QString, list);
        QFETCH(int, entry);
        QFETCH(int, conductivityUnit);
        QFETCH(QString, edit);
        QFETCH(QString, shown);
        TestWindow w(std::string(), false);
        Pick(w->ConductivityUnitBox, conductivityUnit);
        Pick(w->findChild<QComboBox*>(list), entry);
        QCOMPARE(w->findChild<QLineEdit*>(edit)->text(), shown);
    }

    // Closing right after a first start with the defaults.
    void firstCloseWritesDefaults() {
        TestWindow w;
        QVERIFY(!std::filesystem::exists(w.iniPath));
        w->close();
        QCOMPARE(
            QString::fromStdString(w.Ini()),
            QStringLiteral(
                "[Microstrip Line]\nPhys Length Unit=0\nLength=0.01\nWidth=5e-05\nWidth Unit=0\n"
                "Height=0.0001\nHeight Unit=0\nThickness=1e-06\nThickness Unit=0\n\n"
                "[Material Parameter]\nDiel Constant=12.9\nLoss Tangent=0.0005\n"
                "Conductivity=61400000\nConductivity Unit=3\n"));
        QCOMPARE(w.recorder.Texts(), QStringList());
    }

    void restoredValues_data() {
        QTest::addColumn<QString>("ini");
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("list");
        QTest::addColumn<QString>("unit");
        QTest::newRow("width in mil") << "[Microstrip Line]\nWidth Unit=4\nWidth=0.000127\n"
                                      << "ParameterEdit1"
                                      << "5"
                                      << "ParameterBox1"
                                      << "mil";
        QTest::newRow("conductivity in S/mm")
            << "[Material Parameter]\nConductivity Unit=1\nConductivity=58800000\n"
            << "ConductivityEdit"
            << "58800"
            << "ConductivityUnitBox"
            << "S/mm";
        QTest::newRow("length abc ignored") << "[Microstrip Line]\nLength=abc\n"
                                            << "PhysicalLengthEdit"
                                            << "10000"
                                            << "PhysicalLengthUnitBox"
                                            << "um";
        QTest::newRow("length 0.02x ignored") << "[Microstrip Line]\nLength=0.02x\n"
                                              << "PhysicalLengthEdit"
                                              << "10000"
                                              << "PhysicalLengthUnitBox"
                                              << "um";
        QTest::newRow("empty length ignored") << "[Microstrip Line]\nLength=\n"
                                              << "PhysicalLengthEdit"
                                              << "10000"
                                              << "PhysicalLengthUnitBox"
                                              << "um";
        QTest::newRow("infinite length ignored") << "[Microstrip Line]\nLength=inf\n"
                                                 << "PhysicalLengthEdit"
                                                 << "10000"
                                                 << "PhysicalLengthUnitBox"
                                                 << "um";
        QTest::newRow("unit 7 is um") << "[Microstrip Line]\nPhys Length Unit=7\nLength=0.02\n"
                                      << "PhysicalLengthEdit"
                                      << "20000"
                                      << "PhysicalLengthUnitBox"
                                      << "um";
        QTest::newRow("length in mm") << "[microstrip line]\n phys length unit = 1 \nLENGTH=0.02\n"
                                      << "PhysicalLengthEdit"
                                      << "20"
                                      << "PhysicalLengthUnitBox"
                                      << "mm";
        QTest::newRow("row unit 9 is um") << "[Microstrip Line]\nHeight Unit=9\nHeight=0.0002\n"
                                          << "ParameterEdit2"
                                          << "200"
                                          << "ParameterBox2"
                                          << "um";
        QTest::newRow("unit without value") << "[Microstrip Line]\nThickness Unit=1\n"
                                            << "ParameterEdit3"
                                            << "1"
                                            << "ParameterBox3"
                                            << "mm";
        QTest::newRow("dielectric constant") << "[Material Parameter]\nDiel Constant=9.8\n"
                                             << "DielConstantEdit"
                                             << "9.8"
                                             << "DielectricsComboBox"
                                             << "GaAs";
        QTest::newRow("loss tangent") << "[Material Parameter]\nLoss Tangent=0.002\n"
                                      << "LossTangentEdit"
                                      << "0.002"
                                      << "ConductorsComboBox"
                                      << "Silver";
    }
    void restoredValues() {
        QFETCH(QString, ini);
        QFETCH(QString, edit);
        QFETCH(QString, shown);
        QFETCH(QString, list);
        QFETCH(QString, unit);
        TestWindow w(ini.toStdString(), false);
        QCOMPARE(w->findChild<QLineEdit*>(edit)->text(), shown);
        QCOMPARE(w->findChild<QComboBox*>(list)->currentText(), unit);
        QCOMPARE(w.recorder.Texts(), QStringList());
    }

    void coupledMicrostripRowsThreeAndFour() {
        if (LineTypeForTab(6) == nullptr) QSKIP("coupled microstrip not built");
        TestWindow w("[Coupled Microstrip Line]\nHeight=0.0002\nHeight "
                     "Unit=1\nThickness=3e-06\nThickness Unit=0\n");
        ClickTab(*w, 6);
        QCOMPARE(w->ParameterEdits[2]->text(), QStringLiteral("0.2"));
        QCOMPARE(w->ParameterBoxes[2]->currentText(), QStringLiteral("mm"));
        QCOMPARE(w->ParameterEdits[3]->text(), QStringLiteral("3"));
    }

    void coplanarTabsKeepSeparateSections() {
        if (LineTypeForTab(2) == nullptr || LineTypeForTab(3) == nullptr)
            QSKIP("coplanar lines not built");
        TestWindow w;
        ClickTab(*w, 2);
        w->ParameterEdits[0]->setText(QStringLiteral("77"));
        ClickTab(*w, 3);
        QVERIFY(w->ParameterEdits[0]->text() != QLatin1String("77"));
        QVERIFY(w.Ini().find("[CPW Line]\n") != std::string::npos);
        QVERIFY(w.Ini().find("[Grounded CPW Line]") == std::string::npos);
    }

    // A tab change writes the section of the tab left; closing writes the
    // active tab's section and the material section, nothing else.
    void whatIsWrittenWhen() {
        const int other = LineTypeForTab(5) != nullptr ? 5 : 4;
        const QString section =
            other == 5 ? QStringLiteral("[Slot Line]") : QStringLiteral("[Coax Line]");
        TestWindow w;
        w->PhysicalLengthEdit->setText(QStringLiteral("123"));
        ClickTab(*w, other);
        QCOMPARE(SectionsOf(w.Ini()), QStringList{QStringLiteral("[Microstrip Line]")});
        QVERIFY(w.Ini().find("Length=0.000123\n") != std::string::npos);
        std::filesystem::remove(w.iniPath);
        w->close();
        QCOMPARE(SectionsOf(w.Ini()),
                 (QStringList{section, QStringLiteral("[Material Parameter]")}));
        // Entering a tab again reads its section.
        TestWindow again(w.Ini() + "[Microstrip Line]\nLength=0.000456\n");
        QCOMPARE(again->PhysicalLengthEdit->text(), QStringLiteral("456"));
    }

    void unknownContentSurvivesAClose() {
        const std::string before =
            "; my notes\n[Someone Else]\nKey = value \n\n[Microstrip Line]\nWidth=1e-4\nExtra=1\n";
        TestWindow w(before);
        QCOMPARE(w->ParameterEdits[0]->text(), QStringLiteral("100"));
        w->close();
        const std::string after = w.Ini();
        QVERIFY(after.rfind("; my notes\n[Someone Else]\nKey = value \n\n[Microstrip Line]\n", 0) ==
                0);
        QVERIFY(after.find("Width=0.0001\n") != std::string::npos);
        QVERIFY(after.find("Extra=1\n") != std::string::npos);
    }

    // A folder that cannot hold the file (here a plain file is in its way,
    // which stops root as well): nothing is said, the window closes.
    void unwritableFolderIsIgnored() {
        TempFolder blocker;
        TempFolder::Write(blocker.File("folder"), "not a folder");
        BoxRecorder recorder;
        TForm1 form(TForm1::Options{QString::fromStdString(blocker.File("folder/tavrel.ini"))});
        ClickTab(form, 4);
        QVERIFY(form.close());
        QCOMPARE(recorder.Texts(), QStringList());
    }

    // A value that cannot be read while saving is reported with the
    // conversion error and keeps its stored value; every other key of the
    // section, and the material section, is still written.
    void unreadableValueWhileSaving() {
        TestWindow w("[Microstrip Line]\nHeight=0.0002\n");
        w->ParameterEdits[1]->setText(QStringLiteral("ABC"));
        w->close();
        QCOMPARE(w.recorder.Texts(),
                 QStringList{QStringLiteral("'ABC' is not a valid floating point value")});
        const std::string ini = w.Ini();
        for (const char* kept : {"Width=5e-05\nWidth Unit=0\n", "Height=0.0002\n",
                                 "Height Unit=0\n", "Thickness=1e-06\nThickness Unit=0\n",
                                 "[Material Parameter]\nDiel Constant=12.9\n"})
            QVERIFY2(ini.find(kept) != std::string::npos, kept);
    }

    // Hostile files start the window quickly, with the defaults.
    void hostileFiles_data() {
        QTest::addColumn<QByteArray>("content");
        std::mt19937 random(3);
        QByteArray garbage;
        for (int i = 0; i < (1 << 20); ++i)
            garbage.append(static_cast<char>(random()));
        QByteArray sections;
        for (int s = 0; s < 5000; ++s)
            sections += "[Section " + QByteArray::number(s) + "]\nWidth=1\nLength=2\n";
        QTest::newRow("binary garbage") << garbage;
        QTest::newRow("10 MB line")
            << QByteArray("[Microstrip Line]\nNotes=") + QByteArray(10 << 20, 'x');
        QTest::newRow("5000 sections") << sections;
        QTest::newRow("10 million empty lines") << QByteArray(10 << 20, '\n');
        QTest::newRow("10 million empty lines in our section")
            << QByteArray("[Microstrip Line]\n") + QByteArray(10 << 20, '\n');
    }
    void hostileFiles() {
        QFETCH(QByteArray, content);
        QElapsedTimer timer;
        timer.start();
        TestWindow w(content.toStdString(), false);
        QVERIFY2(timer.elapsed() < 1000 * kSlowdown,
                 qPrintable(QString::number(timer.elapsed()) + " ms"));
        QCOMPARE(w->DielConstantEdit->text(), QStringLiteral("12.9"));
        QCOMPARE(w->ParameterEdits[0]->text(), QStringLiteral("50"));
        QCOMPARE(w->PhysicalLengthEdit->text(), QStringLiteral("10000"));
        // Over 1 MiB the file is not read: one message, and it is left as it is.
        const bool tooLarge = content.size() > (1 << 20);
        QCOMPARE(w.recorder.Texts().size(), tooLarge ? 1 : 0);
        if (tooLarge) QVERIFY(w.recorder.Texts().front().contains("larger than 1 MiB"));
        w->close();
        QVERIFY(KeepsEveryLine(content.toStdString(), w.Ini()));
        if (tooLarge) QVERIFY(w.Ini() == content.toStdString());
    }

    // A stored value the window's rules refuse is reported as the edit would
    // report it and the default takes its place; the tab keeps its own layout.
    void refusedStoredValues_data() {
        QTest::addColumn<QString>("ini");
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("message");
        QTest::newRow("Er below 1") << "[Material Parameter]\nDiel Constant=0.5\n"
                                    << "DielConstantEdit"
                                    << "12.9"
                                    << "[0.5] Er must be >= 1";
        QTest::newRow("negative loss tangent") << "[Material Parameter]\nLoss Tangent=-1\n"
                                               << "LossTangentEdit"
                                               << "0.0005"
                                               << "[-1] Loss Tangent must be >= 0.";
        QTest::newRow("negative width") << "[Microstrip Line]\nWidth=-5e-05\nHeight=0.0002\n"
                                        << "ParameterEdit1"
                                        << "50"
                                        << "[-5e-05] This value must be greater then zero";
        QTest::newRow("thickness too large to show")
            << "[Microstrip Line]\nThickness=1e308\nHeight=0.0002\n"
            << "ParameterEdit3"
            << "1"
            << "The value 1E+308 is too large to be shown in um";
    }
    void refusedStoredValues() {
        QFETCH(QString, ini);
        QFETCH(QString, edit);
        QFETCH(QString, shown);
        QFETCH(QString, message);
        TestWindow w(ini.toStdString(), false);
        QCOMPARE(w->findChild<QLineEdit*>(edit)->text(), shown);
        QCOMPARE(w.recorder.Texts(), QStringList{message});
        QVERIFY(!w->SynthesizeButton->isHidden()); // microstrip's buttons
        QVERIFY(w->EvenMode->isHidden());
        if (ini.contains("Height")) QCOMPARE(w->ParameterEdits[1]->text(), QStringLiteral("200"));
        w->close(); // the default is written back over the refused entry
        const QString refused = ini.section(QLatin1Char('\n'), 1, 1);
        QVERIFY2(!QString::fromStdString(w.Ini()).contains(refused), qPrintable(refused));
    }
};

RegisterGuiTest<SettingsTest> registered;

} // namespace

#include "tform1_settings_test.moc"
