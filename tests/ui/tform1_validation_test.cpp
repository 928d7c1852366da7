// Validation when the focus leaves a numeric edit.
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>

#include "guitest.h"

namespace {

class ValidationTest : public QObject {
    Q_OBJECT

  private slots:
    void leavingAnEdit_data() {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message"); // empty: passes
        const QString notNumber =
            QStringLiteral("] This value is not a valid floating point number.");
        const QString notPositive = QStringLiteral("] This value must be greater then zero");
        QTest::newRow("Er 1 passes") << "DielConstantEdit"
                                     << "1"
                                     << "";
        QTest::newRow("Er 0.99") << "DielConstantEdit"
                                 << "0.99"
                                 << "[0.99] Er must be >= 1";
        QTest::newRow("Er empty") << "DielConstantEdit"
                                  << ""
                                  << "[] Er must be >= 1";
        QTest::newRow("tand 0 passes") << "LossTangentEdit"
                                       << "0"
                                       << "";
        QTest::newRow("tand empty passes") << "LossTangentEdit"
                                           << ""
                                           << "";
        QTest::newRow("tand negative") << "LossTangentEdit"
                                       << "-1E-3"
                                       << "[-1E-3] Loss Tangent must be >= 0.";
        QTest::newRow("f 0") << "FrequencyEdit"
                             << "0"
                             << "[0" + notPositive;
        QTest::newRow("f -5") << "FrequencyEdit"
                              << "-5"
                              << "[-5" + notPositive;
        QTest::newRow("f empty") << "FrequencyEdit"
                                 << ""
                                 << "[" + notPositive;
        QTest::newRow("f abc") << "FrequencyEdit"
                               << "abc"
                               << "[ABC" + notNumber;
        QTest::newRow("f inf") << "FrequencyEdit"
                               << "inf"
                               << "[INF" + notNumber;
        QTest::newRow("f 10mm") << "FrequencyEdit"
                                << "10mm"
                                << "[10MM" + notNumber;
        QTest::newRow("Z0 50 passes") << "ImpedanceEdit"
                                      << "50"
                                      << "";
        QTest::newRow("length 0") << "PhysicalLengthEdit"
                                  << "0"
                                  << "[0" + notPositive;
        QTest::newRow("electrical length x") << "ElectricalLengthEdit"
                                             << "x"
                                             << "[X" + notNumber;
        QTest::newRow("conductivity -1") << "ConductivityEdit"
                                         << "-1"
                                         << "[-1" + notPositive;
        QTest::newRow("row 1 -1") << "ParameterEdit1"
                                  << "-1"
                                  << "[-1" + notPositive;
        QTest::newRow("row 3 1e-3 passes") << "ParameterEdit3"
                                           << "1e-3"
                                           << "";
    }
    void leavingAnEdit() {
        QFETCH(QString, edit);
        QFETCH(QString, typed);
        QFETCH(QString, message);
        TestWindow w;
        QVERIFY(w.active);
        auto* field = w->findChild<QLineEdit*>(edit);
        TypeInto(field, typed);
        QCOMPARE(QApplication::focusWidget(), field);
        TabAway();
        if (message.isEmpty()) {
            QCOMPARE(w.recorder.Texts(), QStringList());
            QVERIFY(QApplication::focusWidget() != field);
        } else {
            QCOMPARE(w.recorder.Texts(), QStringList{message});
            QCOMPARE(w.recorder.boxes[0].kind, BoxKind::Error);
            QCOMPARE(QApplication::focusWidget(), field); // kept in the offending edit
            QCOMPARE(field->text(), typed.toUpper());     // and nothing changed
            TabAway();                                    // asked again at the next exit
            QCOMPARE(w.recorder.boxes.size(), std::size_t(2));
        }
    }

    // Edits that are never checked: the blanked loss, the effective dielectric
    // constant, and the read-only phase constant by the general rule only.
    void exemptEdits() {
        TestWindow w;
        w->LossEdit->setText(QString());
        w->LossEdit->setFocus(Qt::TabFocusReason);
        TabAway();
        w->EffDielConstEdit->setText(QStringLiteral("X"));
        w->EffDielConstEdit->setFocus(Qt::TabFocusReason);
        TabAway();
        QCOMPARE(w.recorder.Texts(), QStringList());
        w->PropConstantEdit->setText(QStringLiteral("0"));
        w->PropConstantEdit->setFocus(Qt::TabFocusReason);
        TabAway();
        QCOMPARE(w.recorder.Texts(),
                 QStringList{QStringLiteral("[0] This value must be greater then zero")});
    }

    void hiddenRowCannotBeEntered() {
        TestWindow w;
        QVERIFY(w->ParameterEdits[3]->isHidden());
        w->ParameterEdits[3]->setFocus(Qt::TabFocusReason);
        QVERIFY(QApplication::focusWidget() != w->ParameterEdits[3]);
    }

    // The box takes the focus itself; that must not check again, nor check
    // the edit the focus passes through on its way back.
    void noSecondBoxWhileTheFirstIsUp() {
        TestWindow w;
        w->ImpedanceEdit->setText(QStringLiteral("ABC"));
        w.recorder.onBox = [&](const ShownBox&) {
            w->ImpedanceEdit->setFocus(Qt::MouseFocusReason);
            w->FrequencyEdit->setFocus(Qt::MouseFocusReason);
        };
        TypeInto(w->FrequencyEdit, QStringLiteral("-1"));
        w->ImpedanceEdit->setFocus(Qt::MouseFocusReason);
        QCOMPARE(w.recorder.Texts(),
                 QStringList{QStringLiteral("[-1] This value must be greater then zero")});
        QCOMPARE(QApplication::focusWidget(), w->FrequencyEdit);
    }

    // Losing the focus to another window or to a popup menu is not leaving the edit.
    void windowAndPopupFocusLossAreNotExits() {
        TestWindow w;
        TypeInto(w->FrequencyEdit, QStringLiteral("0"));
        for (Qt::FocusReason reason : {Qt::ActiveWindowFocusReason, Qt::PopupFocusReason}) {
            QFocusEvent out(QEvent::FocusOut, reason);
            QApplication::sendEvent(w->FrequencyEdit, &out);
        }
        QCOMPARE(w.recorder.Texts(), QStringList());
        QFocusEvent out(QEvent::FocusOut, Qt::MouseFocusReason);
        QApplication::sendEvent(w->FrequencyEdit, &out);
        QCOMPARE(w.recorder.boxes.size(), std::size_t(1));
    }

    // A click that takes the focus from an invalid edit shows the box and
    // does nothing else; the button is not left drawn pressed.
    void clickAfterInvalidTextIsDropped() {
        TestWindow w;
        TypeInto(w->FrequencyEdit, QStringLiteral("abc"));
        QTest::mouseClick(w->AnalyzeButton, Qt::LeftButton);
        QCOMPARE(
            w.recorder.Texts(),
            QStringList{QStringLiteral("[ABC] This value is not a valid floating point number.")});
        QCOMPARE(QApplication::focusWidget(), w->FrequencyEdit);
        QVERIFY(!w->AnalyzeButton->isDown());
        QCOMPARE(w->ImpedanceEdit->text(), QStringLiteral("50")); // Analyze did not run
        QTest::mouseClick(w->TabControl1, Qt::LeftButton, {}, w->TabControl1->tabRect(4).center());
        QCOMPARE(w->CurrentTab(), 0);
        QCOMPARE(w.recorder.boxes.size(), std::size_t(2));
        // Corrected, the next click works.
        TypeInto(w->FrequencyEdit, QStringLiteral("10"));
        QTest::mouseClick(w->AnalyzeButton, Qt::LeftButton);
        QCOMPARE(w.recorder.boxes.size(), std::size_t(2));
        QVERIFY(w->ImpedanceEdit->text() != QLatin1String("50"));
        QTest::qWait(1); // the drop ends with the event loop's next turn
        QTest::mouseClick(w->SynthesizeButton, Qt::LeftButton);
        QVERIFY(w->ParameterLabels[0]->font().underline());
    }

    void notAnEditIsIgnored() {
        TestWindow w;
        w->ValueEditExit(w->AnalyzeButton);
        w->ValueEditExit(nullptr);
        QCOMPARE(w.recorder.Texts(), QStringList());
    }
};

RegisterGuiTest<ValidationTest> registered;

} // namespace

#include "tform1_validation_test.moc"
