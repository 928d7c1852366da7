#include "ui/fieldcheckrun.h"

#include <QEventLoop>
#include <QProgressDialog>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <exception>
#include <memory>

#include "fieldcheck/fieldcomparison.h"
#include "ui/fieldcheckdialog.h"
#include "ui/messagebox.h"

namespace {

constexpr int kProgressSteps = 1000;
constexpr int kProgressPollMs = 30;
// Fast solves end before a progress dialog would only flash.
constexpr int kProgressDelayMs = 250;

} // namespace

void RunFieldCheck(QWidget* window, const LineDescriptor& line, const LineInputs& in,
                   std::function<void()> synthesize) {
    std::atomic<double> fraction{0.0};
    std::atomic<bool> cancelled{false};
    fieldcheck::FieldComparison comparison;
    std::exception_ptr error;

    fieldcheck::SolveOptions options;
    options.progress = [&](double done) {
        fraction = done;
        return !cancelled.load();
    };
    const std::unique_ptr<QThread> worker(QThread::create([&] {
        try {
            comparison = fieldcheck::CompareWithFieldSolution(line, in, options);
        } catch (...) {
            error = std::current_exception();
        }
    }));

    QProgressDialog progress(QProgressDialog::tr("Solving the field of the cross-section..."),
                             QProgressDialog::tr("Cancel"), 0, kProgressSteps, window);
    progress.setWindowTitle(QProgressDialog::tr("Check with field solver"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(kProgressDelayMs);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    QObject::connect(&progress, &QProgressDialog::canceled, [&] { cancelled = true; });
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout,
                     [&] { progress.setValue(static_cast<int>(fraction * kProgressSteps)); });
    QEventLoop loop;
    QObject::connect(worker.get(), &QThread::finished, &loop, &QEventLoop::quit);
    worker->start();
    poll.start(kProgressPollMs);
    progress.setValue(0);
    loop.exec();
    worker->wait();
    progress.close();

    if (error) std::rethrow_exception(error);
    const QString title = QProgressDialog::tr("Check with field solver");
    switch (comparison.solve.status) {
    case fieldcheck::SolveStatus::Ok: {
        auto* dialog = new FieldCheckDialog(line, std::move(comparison), window);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        QObject::connect(dialog, &FieldCheckDialog::synthesizeRequested, window,
                         std::move(synthesize));
        dialog->show();
        return;
    }
    case fieldcheck::SolveStatus::Cancelled:
        return;
    case fieldcheck::SolveStatus::NotSupported:
        ShowMessageBox(window, BoxKind::Information, title,
                       QString::fromStdString(comparison.solve.message));
        return;
    default:
        ShowMessageBox(window, BoxKind::Error, title,
                       QString::fromStdString(comparison.solve.message));
        return;
    }
}
