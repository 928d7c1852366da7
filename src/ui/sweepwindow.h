// The sweep window: one input of the active line stepped over a range, the
// line's impedance, eeff and loss plotted against it.  It works on a copy of
// the inputs the main window showed when it was opened and never reads the
// main window again; the sweep runs on a worker thread with a progress bar
// and Cancel, so the window stays responsive.
#pragma once

#include <QString>
#include <QWidget>
#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include "core/sweep.h"
#include "quantities/units.h"
#include "ui/sweeptool.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;
class SweepPlot;

class SweepWindow : public QWidget {
    Q_OBJECT

  public:
    explicit SweepWindow(const SweepSetup& setup, QWidget* parent = nullptr);
    ~SweepWindow() override;

    // The swept inputs in the order of the list: frequency, the rows, Er,
    // tand, conductivity, roughness, and a coated line's Tm, Erm, tandm, Hc.
    std::vector<SweepVariable> Variables() const;
    // Picks the swept input and puts its current value's range into start
    // and stop (in the unit the main window shows it in).
    void SelectVariable(int index);

    // Starts a sweep of the edits' range (an unreadable range is named in the
    // note); false when one is running or the range is refused.
    bool Start();
    void Cancel();
    bool Running() const { return worker_.joinable(); }

    const std::vector<SweepPoint>& Points() const { return points_; }
    QString Note() const;
    // The table of the last sweep: CSV (SI units, the columns of tavrel-calc
    // sweep) or tab-separated text for a spreadsheet.
    QString TableText(char separator) const;
    // Exports write the whole file or leave the old one (exportfile.h).
    bool ExportCsv(const QString& path) const;
    bool ExportPng(const QString& path);
    // The last sweep as the Touchstone file of the line section of the main
    // window's length, ports referred to zRef ohms; empty when written, else
    // why not (only a frequency sweep whose points all have a result can be).
    QString ExportTouchstone(const QString& path, double zRef) const;
    // Asks for a CSV file and exports the last sweep; without one, says how
    // to make one.  (The main window calls it by name.)
    Q_INVOKABLE void OfferExport();
    // Redraws the charts from the last sweep's points.
    void Replot();

    QComboBox* variableBox;
    QLineEdit* startEdit;
    QLineEdit* stopEdit;
    QSpinBox* pointsBox;
    QCheckBox* logBox;
    QPushButton* runButton;
    QPushButton* cancelButton;
    QProgressBar* progress;
    QLabel* noteLabel;
    SweepPlot* plot;

  signals:
    void finished();

  private:
    double DisplayFactor(const SweepVariable& variable) const;
    QString DisplayTitle(const SweepVariable& variable) const;
    // "Sweep - <line>", with the material models a sweep of `variable` runs with.
    void ShowTitle(const SweepVariable& variable);
    void Finish(std::shared_ptr<std::vector<SweepPoint>> points);
    void ExportCsvClicked();
    void ExportPngClicked();
    void ExportTouchstoneClicked();
    void CopyClicked();

    SweepSetup setup_;
    SweepVariable variable_;   // of the last sweep
    bool logarithmic_ = false; // of the last sweep
    int requested_ = 0;        // points asked for in the last sweep
    std::vector<SweepPoint> points_;
    std::thread worker_;
    std::shared_ptr<std::atomic<bool>> cancel_;
};

// The window's table as text, e.g. for the clipboard.
QString SweepTableText(const LineDescriptor& line, const LineInputs& base,
                       const SweepVariable& variable, const std::vector<SweepPoint>& points,
                       char separator);

