#include "ui/sweepwindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QGuiApplication>
#include <QProgressBar>
#include <QScreen>
#include <QScrollArea>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <sstream>

#include "core/sweeptable.h"
#include "ui/exportdialog.h"
#include "ui/sweepplot.h"

namespace {

constexpr int kDefaultPoints = 201;

// "." first, the user's locale second, as the main window reads its edits.
bool ReadNumber(const QLineEdit* edit, double& value) {
    bool ok = false;
    const QString text = edit->text().trimmed();
    value = text.toDouble(&ok);
    if (!ok) value = QLocale().toDouble(text, &ok);
    return ok && std::isfinite(value);
}

QString Number(double value) {
    return QString::number(value, 'g', 6);
}

} // namespace

QString SweepTableText(const LineDescriptor& line, const LineInputs& base,
                       const SweepVariable& variable, const std::vector<SweepPoint>& points,
                       char separator) {
    std::ostringstream out;
    WriteSweepTable(out, line, base, variable, points, separator);
    return QString::fromStdString(out.str());
}

SweepWindow::SweepWindow(const SweepSetup& setup, QWidget* parent)
    : QWidget(parent, Qt::Window), setup_(setup) {
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QLatin1String(kSweepWindowName));
    ShowTitle(variable_);

    variableBox = new QComboBox(this);
    for (const SweepVariable& v : Variables())
        variableBox->addItem(DisplayTitle(v));
    startEdit = new QLineEdit(this);
    stopEdit = new QLineEdit(this);
    pointsBox = new QSpinBox(this);
    pointsBox->setRange(1, kMaxSweepPoints);
    pointsBox->setValue(kDefaultPoints);
    logBox = new QCheckBox(tr("Logarithmic"), this);
    runButton = new QPushButton(tr("Sweep"), this);
    runButton->setDefault(true);
    cancelButton = new QPushButton(tr("Cancel"), this);
    cancelButton->setEnabled(false);
    progress = new QProgressBar(this);
    progress->setTextVisible(false);
    progress->setMaximumHeight(10);
    noteLabel = new QLabel(this);
    noteLabel->setWordWrap(true);
    noteLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    plot = new SweepPlot(this);
    auto* csvButton = new QPushButton(tr("Export CSV..."), this);
    auto* pngButton = new QPushButton(tr("Export PNG..."), this);
    auto* touchstoneButton = new QPushButton(tr("Export Touchstone..."), this);
    auto* copyButton = new QPushButton(tr("Copy table"), this);

    auto* range = new QHBoxLayout;
    range->addWidget(new QLabel(tr("Sweep"), this));
    range->addWidget(variableBox, 1);
    range->addWidget(new QLabel(tr("from"), this));
    range->addWidget(startEdit);
    range->addWidget(new QLabel(tr("to"), this));
    range->addWidget(stopEdit);
    range->addWidget(new QLabel(tr("points"), this));
    range->addWidget(pointsBox);
    range->addWidget(logBox);
    auto* actions = new QHBoxLayout;
    actions->addWidget(runButton);
    actions->addWidget(cancelButton);
    actions->addWidget(progress, 1);
    actions->addWidget(csvButton);
    actions->addWidget(pngButton);
    actions->addWidget(touchstoneButton);
    actions->addWidget(copyButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(range);
    layout->addLayout(actions);
    layout->addWidget(noteLabel);
    // The charts keep a legible height and scroll on a small screen (a
    // laptop's 768 lines, or 1000 at scale 2); the window fits the screen.
    plot->setMinimumHeight(3 * 170);
    auto* scroll = new QScrollArea(this);
    scroll->setWidget(plot);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    layout->addWidget(scroll, 1);
    QSize size(760, 820);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        // Leave room for the frame and title bar the desktop adds.
        const QSize room = screen->availableGeometry().size() - QSize(16, 48);
        size = size.boundedTo(room);
    }
    resize(size);

    connect(variableBox, &QComboBox::activated, this, &SweepWindow::SelectVariable);
    connect(runButton, &QPushButton::clicked, this, [this] { Start(); });
    connect(cancelButton, &QPushButton::clicked, this, &SweepWindow::Cancel);
    connect(csvButton, &QPushButton::clicked, this, &SweepWindow::ExportCsvClicked);
    connect(pngButton, &QPushButton::clicked, this, &SweepWindow::ExportPngClicked);
    connect(touchstoneButton, &QPushButton::clicked, this, &SweepWindow::ExportTouchstoneClicked);
    connect(copyButton, &QPushButton::clicked, this, &SweepWindow::CopyClicked);
    SelectVariable(0);
}

SweepWindow::~SweepWindow() {
    // The worker posts to this window only while it runs: stop it first.
    Cancel();
    if (worker_.joinable()) worker_.join();
}

std::vector<SweepVariable> SweepWindow::Variables() const {
    std::vector<SweepVariable> variables{{SweepVariable::Kind::Frequency}};
    for (int row = 1; row <= setup_.line->RowCount(); ++row)
        variables.push_back({SweepVariable::Kind::Row, row});
    variables.push_back({SweepVariable::Kind::Er});
    if (setup_.line->readsLossInputs) {
        variables.push_back({SweepVariable::Kind::Tand});
        variables.push_back({SweepVariable::Kind::Conductivity});
        variables.push_back({SweepVariable::Kind::Roughness});
    }
    if (setup_.line->coated) { // the coating's keys in the command line's order
        variables.push_back({SweepVariable::Kind::MaskThickness});
        variables.push_back({SweepVariable::Kind::MaskEr});
        if (setup_.line->readsLossInputs) variables.push_back({SweepVariable::Kind::MaskTand});
        variables.push_back({SweepVariable::Kind::CoverHeight});
    }
    return variables;
}

double SweepWindow::DisplayFactor(const SweepVariable& variable) const {
    switch (variable.kind) {
    case SweepVariable::Kind::Frequency:
        return setup_.frequencyUnit.factor;
    case SweepVariable::Kind::Row:
        return setup_.rowUnits[static_cast<std::size_t>(variable.row - 1)].factor;
    case SweepVariable::Kind::Conductivity:
        return setup_.conductivityUnit.factor;
    case SweepVariable::Kind::Roughness: // in the unit of the first row
    case SweepVariable::Kind::MaskThickness:
    case SweepVariable::Kind::CoverHeight:
        return setup_.rowUnits[0].factor;
    default:
        return 1.0;
    }
}

QString SweepWindow::DisplayTitle(const SweepVariable& variable) const {
    const auto withUnit = [](const QString& name, const std::string& unit) {
        return QStringLiteral("%1 [%2]").arg(name, QString::fromStdString(unit));
    };
    switch (variable.kind) {
    case SweepVariable::Kind::Frequency:
        return withUnit(tr("Frequency"), setup_.frequencyUnit.name);
    case SweepVariable::Kind::Row: {
        const auto row = static_cast<std::size_t>(variable.row - 1);
        return withUnit(QString::fromStdString(setup_.line->rowLabels[row]),
                        setup_.rowUnits[row].name);
    }
    case SweepVariable::Kind::Er:
        return tr("Er");
    case SweepVariable::Kind::Tand:
        return tr("tand");
    case SweepVariable::Kind::Conductivity:
        return withUnit(tr("Conductivity"), setup_.conductivityUnit.name);
    case SweepVariable::Kind::Roughness:
        return withUnit(tr("Surface roughness"), setup_.rowUnits[0].name);
    case SweepVariable::Kind::MaskThickness:
        return withUnit(tr("Mask thickness (Tm)"), setup_.rowUnits[0].name);
    case SweepVariable::Kind::MaskEr:
        return tr("Mask Er (Erm)");
    case SweepVariable::Kind::MaskTand:
        return tr("Mask tand (tandm)");
    case SweepVariable::Kind::CoverHeight:
        return withUnit(tr("Cover height (Hc)"), setup_.rowUnits[0].name);
    }
    return {};
}

void SweepWindow::SelectVariable(int index) {
    const std::vector<SweepVariable> variables = Variables();
    if (index < 0 || index >= static_cast<int>(variables.size())) return;
    variableBox->setCurrentIndex(index);
    const SweepVariable& v = variables[static_cast<std::size_t>(index)];
    const LineInputs& in = setup_.inputs;
    const double si = v.Value(in);
    const double shown = si * DisplayFactor(v);
    const bool positive = shown > 0.0;
    logBox->setChecked(positive && v.kind == SweepVariable::Kind::Frequency);
    if (!positive && v.kind == SweepVariable::Kind::CoverHeight) {
        // No cover yet: a cover just over the strips leaves no line, so offer
        // the heights the cover correction is made for, 2 H to 20 H.
        const std::vector<std::string>& keys = setup_.line->dimensionKeys;
        const auto h = std::find(keys.begin(), keys.end(), "H");
        if (h != keys.end()) {
            const int row = static_cast<int>(h - keys.begin()) + 1;
            const double substrate = in.Row(row) * DisplayFactor(v);
            startEdit->setText(Number(2.0 * substrate));
            stopEdit->setText(Number(20.0 * substrate));
            return;
        }
    }
    // Around the value the main window shows; from zero where it is zero.
    startEdit->setText(
        Number(positive ? shown / (v.kind == SweepVariable::Kind::Frequency ? 10 : 2) : 0.0));
    stopEdit->setText(Number(positive ? 2.0 * shown : 0.01));
}

bool SweepWindow::Start() {
    if (Running()) return false;
    const SweepVariable variable =
        Variables()[static_cast<std::size_t>(std::max(0, variableBox->currentIndex()))];
    double start = 0.0, stop = 0.0;
    if (!ReadNumber(startEdit, start) || !ReadNumber(stopEdit, stop)) {
        noteLabel->setText(tr("Start and stop must be numbers."));
        return false;
    }
    const double factor = DisplayFactor(variable);
    const SweepRange range{start / factor, stop / factor, pointsBox->value(), logBox->isChecked()};
    if (const std::string problem = SweepRangeProblem(range); !problem.empty()) {
        noteLabel->setText(tr("Cannot sweep: %1.").arg(QString::fromStdString(problem)));
        return false;
    }
    variable_ = variable;
    ShowTitle(variable_);
    logarithmic_ = range.logarithmic;
    requested_ = range.points;
    cancel_ = std::make_shared<std::atomic<bool>>(false);
    progress->setRange(0, range.points);
    progress->setValue(0);
    runButton->setEnabled(false);
    cancelButton->setEnabled(true);
    noteLabel->setText(tr("Sweeping %1 points...").arg(range.points));
    plot->Clear(); // no curve of an earlier sweep stays up beside this one

    worker_ = std::thread(
        [this, line = setup_.line, in = setup_.inputs, variable, range, cancel = cancel_] {
            auto points = std::make_shared<std::vector<SweepPoint>>(
                RunSweep(*line, in, variable, range, [this, cancel](int done, int) {
                    QMetaObject::invokeMethod(
                        this, [this, done] { progress->setValue(done); }, Qt::QueuedConnection);
                    return !cancel->load();
                }));
            QMetaObject::invokeMethod(
                this, [this, points] { Finish(points); }, Qt::QueuedConnection);
        });
    return true;
}

void SweepWindow::Cancel() {
    if (cancel_) cancel_->store(true);
}

void SweepWindow::Finish(std::shared_ptr<std::vector<SweepPoint>> points) {
    if (worker_.joinable()) worker_.join();
    points_ = std::move(*points);
    runButton->setEnabled(true);
    cancelButton->setEnabled(false);
    Replot();
    noteLabel->setText(Note());
    emit finished();
}

void SweepWindow::Replot() {
    const SweepPlotScale scale{DisplayTitle(variable_), DisplayFactor(variable_), logarithmic_,
                               tr("Loss [%1]").arg(QString::fromStdString(setup_.lossUnit.name)),
                               setup_.lossUnit.factor,
                               QString::fromStdString(setup_.lossUnit.name)};
    plot->Show(*setup_.line, points_, scale);
}

QString SweepWindow::Note() const {
    const int total = static_cast<int>(points_.size());
    const auto failed =
        std::find_if(points_.begin(), points_.end(), [](const SweepPoint& p) { return !p.Ok(); });
    const auto errors =
        std::count_if(points_.begin(), points_.end(), [](const SweepPoint& p) { return !p.Ok(); });
    const auto warned = std::count_if(points_.begin(), points_.end(), [](const SweepPoint& p) {
        return p.Ok() && !p.warnings.empty();
    });
    QStringList parts;
    if (total < requested_)
        parts << tr("Cancelled after %1 of %2 points.").arg(total).arg(requested_);
    if (errors > 0)
        parts << tr("%1 of %2 points: no result; first message: %3")
                     .arg(errors)
                     .arg(total)
                     .arg(QString::fromStdString(failed->error));
    else if (total == requested_)
        parts << tr("%1 points.").arg(total);
    if (warned > 0) parts << tr("%1 points with warnings (marked).").arg(warned);
    return parts.join('\n');
}

QString SweepWindow::TableText(char separator) const {
    return SweepTableText(*setup_.line, setup_.inputs, variable_, points_, separator);
}

void SweepWindow::ShowTitle(const SweepVariable& variable) {
    QString title = tr("Sweep - %1").arg(QString::fromUtf8(setup_.line->tabName));
    if (const std::string models = SweepMaterialModels(setup_.inputs, variable); !models.empty())
        title += QStringLiteral(" - ") + QString::fromStdString(models);
    setWindowTitle(title);
}

void SweepWindow::CopyClicked() {
    QApplication::clipboard()->setText(TableText('\t'));
}

extern "C" Q_DECL_EXPORT QWidget* TavrelNewSweepWindow(const SweepSetup* setup, QWidget* parent) {
    return new SweepWindow(*setup, parent);
}
