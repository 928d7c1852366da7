// The window under abuse: huge pastes, letters in every numeric edit on every
// tab, tab changes with invalid text.  Every case must end in a box and a
// window that still calculates.
#include <QClipboard>
#include <QPushButton>

#include "guitest.h"
#include "models/linetypes.h"
#include "quantities/numberformat.h"

namespace {

// The edits a user can type into on the current tab.
QList<QLineEdit*> TypableEdits(TForm1& f) {
    QList<QLineEdit*> edits{f.ImpedanceEdit,     f.FrequencyEdit,   f.ElectricalLengthEdit,
                            f.DielConstantEdit,  f.LossTangentEdit, f.ConductivityEdit,
                            f.PhysicalLengthEdit};
    for (QLineEdit* edit : f.ParameterEdits)
        if (!edit->isHidden()) edits << edit;
    return edits;
}

// After the abuse: valid text back in every edit, then a clean Analyze.
void ExpectWorkingWindow(TestWindow& w, int tab) {
    const int left = w->CurrentTab();
    ClickTab(*w, tab == 0 ? 4 : 0); // reload the tab's defaults through a tab change
    ClickTab(*w, tab);
    QCOMPARE(w->CurrentTab(), tab);
    // The tab's settings kept the abused rows; some lines refuse their
    // geometry (a waveguide's b above a, a pair's wires touching).
    const LineType& type = *LineTypeForTab(tab);
    for (int row = 1; row <= type.RowCount(); ++row)
        w->SetRowValue(row, type.rowDefaults[static_cast<std::size_t>(row - 1)]);
    w->ImpedanceEdit->setText(QStringLiteral("50"));
    w->FrequencyEdit->setText(QStringLiteral("10"));
    w->ElectricalLengthEdit->setText(QStringLiteral("90"));
    w->DielConstantEdit->setText(QStringLiteral("9.8"));
    w->LossTangentEdit->setText(QStringLiteral("0.0005"));
    w->ConductivityEdit->setText(QStringLiteral("5.88E+07"));
    w->PhysicalLengthEdit->setText(QStringLiteral("10000"));
    w.recorder.boxes.clear();
    QTest::mouseClick(w->AnalyzeButton, Qt::LeftButton);
    QVERIFY2(w.recorder.boxes.empty(),
             qPrintable(QString::number(left) + "/" + QString::number(tab) + ": " +
                        w.recorder.Texts().join('|')));
    QVERIFY(ParseWholeNumber(w->ImpedanceEdit->text().toStdString()).has_value());
    QVERIFY(QApplication::overrideCursor() == nullptr);
}

class AbuseTest : public QObject {
    Q_OBJECT

  private slots:
    void hugePaste() {
        TestWindow w;
        QVERIFY(w.active);
        const QString page = QString(QStringLiteral("12ab")).repeated(25000); // 100 000 characters
        for (QLineEdit* edit : TypableEdits(*w)) {
            w.recorder.boxes.clear();
            QApplication::clipboard()->setText(page);
            edit->setFocus(Qt::TabFocusReason);
            edit->selectAll();
            edit->paste();
            QVERIFY(!edit->text().isEmpty());
            TabAway();
            QCOMPARE(w.recorder.boxes.size(), std::size_t(1));
            QVERIFY(w.recorder.boxes[0].text.endsWith(
                        QStringLiteral("] This value is not a valid floating point number.")) ||
                    w.recorder.boxes[0].text.endsWith(QStringLiteral("] Er must be >= 1")));
            QVERIFY2(w.recorder.boxes[0].shown.size() < 1100,
                     qPrintable(edit->objectName())); // fits a screen
            QCOMPARE(QApplication::focusWidget(), edit);
            edit->setText(QStringLiteral("1"));
        }
        ExpectWorkingWindow(w, 0);
    }

    // Letters in one numeric edit at a time, then Analyze and Synthesize.
    void lettersInEveryEditOnEveryTab() {
        TestWindow w(std::string(), false);
        for (int tab = 0; tab < int(LineTypes().size()); ++tab) {
            if (LineTypeForTab(tab) == nullptr) continue;
            ClickTab(*w, tab);
            for (QLineEdit* edit : TypableEdits(*w)) {
                for (QPushButton* button : {w->AnalyzeButton, w->SynthesizeButton}) {
                    if (button->isHidden()) continue;
                    const QString before = edit->text();
                    edit->setText(QStringLiteral("XYZ"));
                    w.recorder.boxes.clear();
                    QTest::mouseClick(button, Qt::LeftButton);
                    const QString what = w->TabControl1->tabText(tab) + " " + edit->objectName() +
                                         " " + button->toolTip();
                    // Either a box names the text that is wrong (a synthesis
                    // once reported "Can't find any solution" instead), or the
                    // operation did not need that value (Analyze writes the
                    // electrical length, Synthesize the physical length and
                    // row 1; the slotline has no dielectric loss) and its
                    // results are numbers.
                    if (w.recorder.boxes.empty())
                        QVERIFY2(
                            ParseWholeNumber(w->ImpedanceEdit->text().toStdString()).has_value(),
                            qPrintable(what));
                    else
                        QVERIFY2(w.recorder.boxes[0].text.contains(QLatin1String("XYZ")),
                                 qPrintable(what + ": " + w.recorder.boxes[0].text));
                    QVERIFY2(QApplication::overrideCursor() == nullptr, qPrintable(what));
                    edit->setText(before);
                }
            }
            ExpectWorkingWindow(w, tab);
        }
    }

    // Leaving a tab while an edit holds invalid text: with the focus in it,
    // the check of the edit stops the click; without (text put there by
    // code), saving the tab's settings reports the conversion error and the
    // tab changes.
    void tabChangeWithInvalidText() {
        TestWindow w;
        QVERIFY(w.active);
        for (int tab = 0; tab < int(LineTypes().size()); ++tab) {
            if (LineTypeForTab(tab) == nullptr) continue;
            ClickTab(*w, tab);
            int next = (tab + 1) % int(LineTypes().size());
            while (LineTypeForTab(next) == nullptr)
                next = (next + 1) % int(LineTypes().size());
            for (QLineEdit* edit :
                 {w->PhysicalLengthEdit, w->ParameterEdits[0], w->FrequencyEdit}) {
                const QString what = w->TabControl1->tabText(tab) + " " + edit->objectName();
                TypeInto(edit, QStringLiteral("BAD"));
                w.recorder.boxes.clear();
                ClickTab(*w, next);
                QCOMPARE(w.recorder.boxes.size(), std::size_t(1));
                QCOMPARE(w->CurrentTab(), tab);
                QCOMPARE(QApplication::focusWidget(), edit);
                QTest::qWait(1);

                edit->setText(QStringLiteral("1"));
                w->TabControl1->setFocus(Qt::OtherFocusReason);
                edit->setText(QStringLiteral("BAD"));
                w.recorder.boxes.clear();
                ClickTab(*w, next);
                QCOMPARE(w->CurrentTab(), next); // the change itself is always allowed
                if (edit != w->FrequencyEdit)    // saved with the tab's settings
                    QVERIFY2(w.recorder.Texts().contains(
                                 QStringLiteral("'BAD' is not a valid floating point value")),
                             qPrintable(what + ": " + w.recorder.Texts().join('|')));
                edit->setText(QStringLiteral("1"));
                ClickTab(*w, tab);
            }
            ExpectWorkingWindow(w, tab);
        }
    }
};

RegisterGuiTest<AbuseTest> registered;

} // namespace

#include "tform1_abuse_test.moc"
