// The sweep window's exports: the table as CSV, the charts as PNG and a
// frequency sweep as a Touchstone file, each written whole or not at all.
#include <QBuffer>
#include <QInputDialog>
#include <QLabel>
#include <sstream>
#include <stdexcept>

#include "core/sweeptouchstone.h"
#include "ui/exportdialog.h"
#include "ui/exportfile.h"
#include "ui/sweepplot.h"
#include "ui/sweepwindow.h"

namespace {

bool Export(const QString& path, const QByteArray& bytes) {
    return ExportFile(path.toStdString(), std::string_view(bytes.constData(), bytes.size()));
}

} // namespace

bool SweepWindow::ExportCsv(const QString& path) const {
    return Export(path, TableText(',').toUtf8());
}

bool SweepWindow::ExportPng(const QString& path) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    return buffer.open(QIODevice::WriteOnly) && plot->grab().save(&buffer, "PNG") &&
           Export(path, bytes);
}

QString SweepWindow::ExportTouchstone(const QString& path, double zRef) const {
    std::ostringstream text;
    try {
        WriteSweepTouchstone(text, *setup_.line, setup_.inputs, variable_, points_, zRef);
    } catch (const std::invalid_argument& e) {
        return tr("Cannot write Touchstone: %1.").arg(QString::fromStdString(e.what()));
    }
    const std::string bytes = text.str();
    return ExportFile(path.toStdString(), bytes) ? QString() : tr("Could not write %1").arg(path);
}

void SweepWindow::ExportCsvClicked() {
    const QString path =
        ExportFileDialog::Ask(this, tr("Export CSV"), "sweep.csv", tr("CSV files (*.csv)"));
    if (!path.isEmpty() && !ExportCsv(path)) noteLabel->setText(tr("Could not write %1").arg(path));
}

void SweepWindow::ExportPngClicked() {
    const QString path =
        ExportFileDialog::Ask(this, tr("Export PNG"), "sweep.png", tr("PNG images (*.png)"));
    if (!path.isEmpty() && !ExportPng(path)) noteLabel->setText(tr("Could not write %1").arg(path));
}

void SweepWindow::ExportTouchstoneClicked() {
    bool ok = false;
    const double zRef = QInputDialog::getDouble(this, tr("Export Touchstone"),
                                                tr("Reference impedance of every port [Ohms]:"),
                                                50.0, 0.001, 1e6, 3, &ok);
    if (!ok) return;
    const QString extension = QString::fromStdString(TouchstoneExtension(*setup_.line));
    const QString path = ExportFileDialog::Ask(this, tr("Export Touchstone"), "sweep" + extension,
                                               tr("Touchstone files (*%1)").arg(extension));
    if (path.isEmpty()) return;
    if (const QString problem = ExportTouchstone(path, zRef); !problem.isEmpty())
        noteLabel->setText(problem);
}

void SweepWindow::OfferExport() {
    if (points_.empty())
        noteLabel->setText(tr("Press Sweep, then export the result as CSV, PNG or Touchstone."));
    else
        ExportCsvClicked();
}
