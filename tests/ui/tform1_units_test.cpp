// Unit lists, the number format on screen and unit changes by the user.
#include <QLocale>

#include "guitest.h"
#include "quantities/numberformat.h"

namespace {

class UnitsTest : public QObject {
    Q_OBJECT

  private slots:
    void listContents() {
        TestWindow w(std::string(), false);
        const auto items = [](QComboBox* list) {
            QStringList names;
            for (int i = 0; i < list->count(); ++i)
                names << list->itemText(i);
            return names.join(QLatin1Char(' '));
        };
        QCOMPARE(items(w->FrequencyUnitBox), QStringLiteral("Hz KHz MHz GHz"));
        QCOMPARE(items(w->PhysicalLengthUnitBox), QStringLiteral("um mm cm m mil inch"));
        QCOMPARE(items(w->ParameterBoxes[5]), QStringLiteral("um mm cm m mil inch"));
        QCOMPARE(items(w->ConductivityUnitBox), QStringLiteral("S/um S/mm S/cm S/m S/mil S/inch"));
        QCOMPARE(items(w->LossUnitBox), QStringLiteral("dB/um dB/mm dB/cm dB/m dB/mil dB/inch"));
        QCOMPARE(items(w->ElectricalLengthUnitBox), QStringLiteral("deg rad"));
        QCOMPARE(items(w->ImpedanceUnitBox), QStringLiteral("Ohms"));
        QCOMPARE(w->PropConstantUnitBox->count(), 12);
        QCOMPARE(w->PropConstantUnitBox->itemText(9), QStringLiteral("rad/m"));
    }

    void unitChange_data() {
        QTest::addColumn<QString>("list");
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QString>("before");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("after");
        QTest::newRow("GHz to MHz") << "FrequencyUnitBox"
                                    << "FrequencyEdit"
                                    << "10" << 2 << "10000";
        QTest::newRow("deg/m to rad/m") << "PropConstantUnitBox"
                                        << "PropConstantEdit"
                                        << "180" << 9 << "3.14159";
        QTest::newRow("S/m to S/cm") << "ConductivityUnitBox"
                                     << "ConductivityEdit"
                                     << "5.88E+07" << 2 << "588000";
        QTest::newRow("um to mm") << "PhysicalLengthUnitBox"
                                  << "PhysicalLengthEdit"
                                  << "10000" << 1 << "10";
        QTest::newRow("deg to rad") << "ElectricalLengthUnitBox"
                                    << "ElectricalLengthEdit"
                                    << "90" << 1 << "1.5708";
        QTest::newRow("dB/m to dB/mm") << "LossUnitBox"
                                       << "LossEdit"
                                       << "10" << 1 << "0.01";
        QTest::newRow("row um to inch") << "ParameterBox2"
                                        << "ParameterEdit2"
                                        << "2540" << 5 << "0.1";
        QTest::newRow("German comma read") << "FrequencyUnitBox"
                                           << "FrequencyEdit"
                                           << "decimal comma" << 2 << "12500";
    }
    void unitChange() {
        QFETCH(QString, list);
        QFETCH(QString, edit);
        QFETCH(QString, before);
        QFETCH(int, index);
        QFETCH(QString, after);
        TestWindow w(std::string(), false);
        auto* box = w->findChild<QComboBox*>(list);
        auto* field = w->findChild<QLineEdit*>(edit);
        if (before == QLatin1String("decimal comma")) {
            // The second conversion reads the user's own separator.
            if (QLocale().decimalPoint() != QLatin1String(","))
                QSKIP("the locale's decimal point is not a comma");
            before = QStringLiteral("12,5");
        }
        field->setText(before);
        Pick(box, index);
        QCOMPARE(field->text(), after);
        QCOMPARE(box->currentIndex(), index);
        QCOMPARE(w.recorder.Texts(), QStringList());
    }

    // Each change rounds to six digits: 1 mm is 39.3701 mil, which is 1 mm again.
    void roundTripThroughMil() {
        TestWindow w(std::string(), false);
        QComboBox* box = w->ParameterBoxes[0];
        QLineEdit* edit = w->ParameterEdits[0];
        Pick(box, 1);
        QCOMPARE(edit->text(), QStringLiteral("0.05"));
        edit->setText(QStringLiteral("1"));
        Pick(box, 4);
        QCOMPARE(edit->text(), QStringLiteral("39.3701"));
        QCOMPARE(w->RowUnit(1), 4);
        Pick(box, 1);
        QCOMPARE(edit->text(), QStringLiteral("1"));
        QCOMPARE(w->RowValue(1), 0.001);
    }

    // A failed change leaves number, stored unit and (unlike the list of old)
    // the list as they were, and says why in the general error box.
    void failedChangeRestoresTheList() {
        TestWindow w(std::string(), false);
        QLineEdit* edit = w->ParameterEdits[0];
        edit->setText(QStringLiteral("ABC"));
        Pick(w->ParameterBoxes[0], 1);
        QCOMPARE(w.recorder.Texts(),
                 QStringList{QStringLiteral("'ABC' is not a valid floating point value")});
        QCOMPARE(edit->text(), QStringLiteral("ABC"));
        QCOMPARE(w->ParameterBoxes[0]->currentText(), QStringLiteral("um"));
        QCOMPARE(w->RowUnit(1), 0);

        w->FrequencyEdit->setText(QStringLiteral("INF")); // not a number anywhere
        Pick(w->FrequencyUnitBox, 0);
        QCOMPARE(w.recorder.Texts().last(),
                 QStringLiteral("'INF' is not a valid floating point value"));
        QCOMPARE(w->FrequencyUnitBox->currentText(), QStringLiteral("GHz"));
    }

    // A number that would overflow in the new unit is refused the same way.
    void changeThatWouldOverflow() {
        TestWindow w(std::string(), false);
        Pick(w->PhysicalLengthUnitBox, 3);
        QCOMPARE(w->PhysicalLengthEdit->text(), QStringLiteral("0.01"));
        w->PhysicalLengthEdit->setText(QStringLiteral("1E305"));
        Pick(w->PhysicalLengthUnitBox, 0);
        QCOMPARE(w.recorder.Texts(),
                 QStringList{QStringLiteral("'1E305' is too large to be shown in um")});
        QCOMPARE(w->PhysicalLengthEdit->text(), QStringLiteral("1E305"));
        QCOMPARE(w->PhysicalLengthUnitBox->currentText(), QStringLiteral("m"));
        QCOMPARE(w->PhysicalLengthUnit(), 3);
    }

    void readNumber() {
        TestWindow w(std::string(), false);
        QLineEdit* edit = w->FrequencyEdit;
        edit->setText(QString());
        QCOMPARE(w->ReadNumber(edit), 0.0); // empty reads as 0
        edit->setText(QStringLiteral("1E-3"));
        QCOMPARE(w->ReadNumber(edit), 0.001);
        edit->setText(QStringLiteral("12.9"));
        QCOMPARE(w->ReadNumber(edit), 12.9); // "." whatever the locale
        for (const char* bad : {"10MM", "INF", "NAN", "1E999", "12.9.1"}) {
            edit->setText(QString::fromLatin1(bad));
            QVERIFY_THROWS_EXCEPTION(ConversionError, w->ReadNumber(edit));
        }
        w->SetDielConstantValue(12.9);
        QCOMPARE(w->DielConstantEdit->text(), QStringLiteral("12.9")); // never "12,9"
        w->SetConductivityValue(58800000);
        QCOMPARE(w->ConductivityEdit->text(), QStringLiteral("5.88E+07"));
        w->SetRowValue(1, 0.00001);
        QCOMPARE(w->ParameterEdits[0]->text(), QStringLiteral("10"));
    }

    void blankedLossComesBack() {
        TestWindow w(std::string(), false);
        w->BlankLoss();
        QVERIFY(!w->LossEdit->isEnabled());
        QVERIFY(!w->LossUnitBox->isEnabled());
        QCOMPARE(w->LossEdit->text(), QString());
        w->SetLossValue(2.5);
        QVERIFY(w->LossEdit->isEnabled() && w->LossUnitBox->isEnabled());
        QCOMPARE(w->LossEdit->text(), QStringLiteral("2.5"));
    }

    void unitIndexOutsideTheTable() {
        TestWindow w(std::string(), false);
        w->SetRowUnit(2, 9);
        QCOMPARE(w->RowUnit(2), 0);
        QCOMPARE(w->ParameterBoxes[1]->currentText(), QStringLiteral("um"));
        w->SelectPhysicalLengthUnit(-3);
        QCOMPARE(w->PhysicalLengthUnit(), 0);
        QCOMPARE(w->PhysicalLengthUnitBox->currentText(), QStringLiteral("um"));
        w->SelectPhysicalLengthUnit(5);
        QCOMPARE(w->PhysicalLengthUnitBox->currentText(), QStringLiteral("inch"));
        QCOMPARE(w->PhysicalLengthEdit->text(),
                 QStringLiteral("10000")); // the number is not rewritten
    }
};

RegisterGuiTest<UnitsTest> registered;

} // namespace

#include "tform1_units_test.moc"
