// Construction of the window: controls at their places, focus order, the line
// models, and the start-up sequence FormCreate.
#include "ui/tform1.h"
#include "ui/filerewrite.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTabBar>
#include <QTimer>
#include <QTreeWidget>
#include <QValidator>

#include "quantities/firststart.h"
#include "quantities/materials.h"
#include "ui/linepictures.h"
#include "ui/settingspath.h"

namespace {

constexpr int kEditHeight = 21;
constexpr int kLabelHeight = 15;

// Every edit shows what it holds in upper case, typed or pasted.
class UpperCaseValidator : public QValidator {
  public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override {
        input = input.toUpper();
        return Acceptable;
    }
};

QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& text, QRect place,
                  Qt::Alignment alignment = Qt::AlignRight | Qt::AlignVCenter) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setGeometry(place);
    label->setAlignment(alignment);
    return label;
}

// A label right-aligned so that it ends 4 pixels before the control at x.
QLabel* LabelBefore(QWidget* parent, const QString& name, const QString& text, int x, int y,
                    int width = 112) {
    return MakeLabel(
        parent, name, text,
        QRect(x - 4 - width, y + (kEditHeight - kLabelHeight) / 2, width, kLabelHeight));
}

QLineEdit* MakeEdit(QWidget* parent, const QString& name, int x, int y, int width) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setGeometry(x, y, width, kEditHeight);
    edit->setValidator(new UpperCaseValidator(edit));
    return edit;
}

void PaintButtonFace(QWidget* widget) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Button));
    widget->setPalette(palette);
}

QLineEdit* MakeReadOnlyEdit(QWidget* parent, const QString& name, int x, int y, int width) {
    QLineEdit* edit = MakeEdit(parent, name, x, y, width);
    edit->setReadOnly(true);
    PaintButtonFace(edit);
    return edit;
}

// A drop-down list the user cannot type into, in the button-face colour.
QComboBox* MakeList(QWidget* parent, const QString& name, int x, int y, int width, bool tabStop) {
    auto* list = new QComboBox(parent);
    list->setObjectName(name);
    list->setGeometry(x, y, width, kEditHeight);
    list->setEditable(false);
    list->setFocusPolicy(tabStop ? Qt::StrongFocus : Qt::ClickFocus);
    PaintButtonFace(list);
    return list;
}

QGroupBox* MakeGroup(QWidget* parent, const QString& name, const QString& title, QRect place) {
    auto* group = new QGroupBox(title, parent);
    group->setObjectName(name);
    group->setGeometry(place);
    return group;
}

void SetGlyph(QPushButton* button, const QPixmap& glyph) {
    button->setIcon(QIcon(glyph));
    button->setIconSize(glyph.deviceIndependentSize().toSize()); // logical size
}

QPushButton* MakeButton(QWidget* parent, const QString& name, QRect place) {
    auto* button = new QPushButton(parent);
    button->setObjectName(name);
    button->setGeometry(place);
    return button;
}

QPushButton* MakeGlyphButton(QWidget* parent, const QString& name, QRect place,
                             const QPixmap& glyph) {
    QPushButton* button = MakeButton(parent, name, place);
    SetGlyph(button, glyph);
    return button;
}

// While it lives, the application's font is `font`.  Every edit, and every
// label whose text can be selected, lays out its (empty) text in the
// application's font when it is built, before it takes its parent's: with the
// window's font in that role while the controls are built, they find that
// font loaded instead of loading a second one.  Controls take their parent's
// font either way.
class ApplicationFontScope {
  public:
    explicit ApplicationFontScope(const QFont& font) : saved_(QGuiApplication::font()) {
        QGuiApplication::setFont(font); // not QApplication's: no widget is told
    }
    ~ApplicationFontScope() { QGuiApplication::setFont(saved_); }
    ApplicationFontScope(const ApplicationFontScope&) = delete;
    ApplicationFontScope& operator=(const ApplicationFontScope&) = delete;

  private:
    const QFont saved_;
};

// The platform's tab look with less room beside each caption, so that the
// tabs of every line type fit the window's width.
class NarrowTabStyle : public QProxyStyle {
  public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override {
        if (metric == PM_TabBarTabHSpace) return 14;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

} // namespace

TForm1::TForm1(const Options& options) : QWidget(nullptr), options_(options) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("TAVREL 2001"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    // 8 points at 96 dots per inch, in a face with Arial's narrow metrics so
    // that every caption fits the designed pixel layout.
    QFont font;
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                      QStringLiteral("DejaVu Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    setFont(font);
    setWindowIcon(WindowIcon());
    setFixedSize(kClientWidth, kClientHeight);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    {
        const ApplicationFontScope windowFont(this->font());
        CreateControls();
        CreateInfoLines();
    }
    // A picture takes what its font leaves open from the application's font.
    SetGlyph(QRXButton, MakerPicture());
    SetFocusOrder();
    InstallTools();
    InstallMenuBar();
    InstallKeys();
    InstallStaleMarks();
    CreateLineModels();
    FormCreate();
}

TForm1::~TForm1() {
    StopDroppingPress();
    for (auto model = LineModelTable.rbegin(); model != LineModelTable.rend(); ++model)
        model->reset();
}

void TForm1::CreateControls() {
    TabControl1 = new QTabBar(this);
    TabControl1->setObjectName(QStringLiteral("TabControl1"));
    TabControl1->setGeometry(0, 0, kClientWidth, 33);
    TabControl1->setExpanding(false);
    // The strip keeps its designed height: tabs beyond its width are reached
    // by the scroll buttons (and the arrow keys), which appear only then.
    TabControl1->setUsesScrollButtons(true);
    auto* tabStyle = new NarrowTabStyle;
    tabStyle->setParent(TabControl1);
    TabControl1->setStyle(tabStyle);
    TabControl1->setFocusPolicy(Qt::StrongFocus);
    for (const std::string& name : TabNames())
        TabControl1->addTab(QString::fromStdString(name));

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(0, 33, kClientWidth, 320);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);

    // Material group.
    GroupBox3 = MakeGroup(Panel1, QStringLiteral("GroupBox3"),
                          QStringLiteral("Material Parameters"), QRect(6, 6, 475, 103));
    LabelBefore(GroupBox3, QStringLiteral("DielectricLabel"), QStringLiteral("Dielectric"), 64, 20,
                56);
    DielectricsComboBox =
        MakeList(GroupBox3, QStringLiteral("DielectricsComboBox"), 64, 20, 157, true);
    LabelBefore(GroupBox3, QStringLiteral("ConductorLabel"), QStringLiteral("Conductor"), 298, 19,
                70);
    ConductorsComboBox =
        MakeList(GroupBox3, QStringLiteral("ConductorsComboBox"), 298, 19, 168, true);
    LabelBefore(GroupBox3, QStringLiteral("DielConstantLabel"),
                QStringLiteral("Dielectric Constant"), 120, 45);
    DielConstantEdit = MakeEdit(GroupBox3, QStringLiteral("DielConstantEdit"), 120, 45, 100);
    LabelBefore(GroupBox3, QStringLiteral("ConductivityLabel"), QStringLiteral("Conductivity"), 298,
                44, 70);
    ConductivityEdit = MakeEdit(GroupBox3, QStringLiteral("ConductivityEdit"), 298, 44, 100);
    ConductivityUnitBox =
        MakeList(GroupBox3, QStringLiteral("ConductivityUnitBox"), 401, 44, 65, false);
    LabelBefore(GroupBox3, QStringLiteral("LossTangentLabel"), QStringLiteral("Loss Tangent"), 120,
                70);
    LossTangentEdit = MakeEdit(GroupBox3, QStringLiteral("LossTangentEdit"), 120, 70, 100);

    QRXButton = MakeButton(Panel1, QStringLiteral("QRXButton"), QRect(400, 75, 71, 28));
    QRXButton->setToolTip(QStringLiteral("Open the Tavrel documentation"));

    Panel2 = new QFrame(Panel1);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setGeometry(490, 11, 147, 97);
    Panel2->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    for (const LineType& type : LineTypes()) {
        auto* image = new QLabel(Panel2);
        image->setObjectName(QString::fromLatin1(LinePictureName(type.picture)));
        image->setGeometry(Panel2->contentsRect());
        image->setAlignment(Qt::AlignCenter);
        LineImages.Add(image, type.picture, type.coated); // drawn when first shown
    }

    // Electrical group.
    GroupBox1 = MakeGroup(Panel1, QStringLiteral("GroupBox1"),
                          QStringLiteral("Electrical Characteristics"), QRect(5, 117, 300, 196));
    ImpedanceLabel = LabelBefore(GroupBox1, QStringLiteral("ImpedanceLabel"),
                                 QStringLiteral("Impedance"), 120, 20);
    ImpedanceEdit = MakeEdit(GroupBox1, QStringLiteral("ImpedanceEdit"), 120, 20, 100);
    ImpedanceUnitBox = MakeList(GroupBox1, QStringLiteral("ImpedanceUnitBox"), 224, 20, 65, false);
    LabelBefore(GroupBox1, QStringLiteral("FrequencyLabel"), QStringLiteral("Frequency"), 120, 44);
    FrequencyEdit = MakeEdit(GroupBox1, QStringLiteral("FrequencyEdit"), 120, 44, 100);
    FrequencyUnitBox = MakeList(GroupBox1, QStringLiteral("FrequencyUnitBox"), 224, 44, 65, false);
    ElectricalLengthLabel = LabelBefore(GroupBox1, QStringLiteral("ElectricalLengthLabel"),
                                        QStringLiteral("Electrical Length"), 120, 68);
    ElectricalLengthEdit =
        MakeEdit(GroupBox1, QStringLiteral("ElectricalLengthEdit"), 120, 68, 100);
    ElectricalLengthUnitBox =
        MakeList(GroupBox1, QStringLiteral("ElectricalLengthUnitBox"), 224, 68, 65, false);
    LabelBefore(GroupBox1, QStringLiteral("PropConstantLabel"), QStringLiteral("Phase Constant"),
                120, 92);
    PropConstantEdit =
        MakeReadOnlyEdit(GroupBox1, QStringLiteral("PropConstantEdit"), 120, 92, 100);
    PropConstantUnitBox =
        MakeList(GroupBox1, QStringLiteral("PropConstantUnitBox"), 224, 92, 65, false);
    LabelBefore(GroupBox1, QStringLiteral("EffDielConstLabel"),
                QStringLiteral("Effective Diel. Const."), 120, 117);
    EffDielConstEdit =
        MakeReadOnlyEdit(GroupBox1, QStringLiteral("EffDielConstEdit"), 120, 117, 100);
    LabelBefore(GroupBox1, QStringLiteral("LossLabel"), QStringLiteral("Loss"), 120, 142);
    LossEdit = MakeReadOnlyEdit(GroupBox1, QStringLiteral("LossEdit"), 120, 142, 100);
    LossUnitBox = MakeList(GroupBox1, QStringLiteral("LossUnitBox"), 224, 142, 65, false);
    EvenMode = new QRadioButton(QStringLiteral("Even Mode"), GroupBox1);
    EvenMode->setObjectName(QStringLiteral("EvenMode"));
    EvenMode->setGeometry(120, 170, 90, 17);
    OddMode = new QRadioButton(QStringLiteral("Odd Mode"), GroupBox1);
    OddMode->setObjectName(QStringLiteral("OddMode"));
    OddMode->setGeometry(217, 170, 80, 17);

    AnalyzeButton = MakeGlyphButton(Panel1, QStringLiteral("AnalyzeButton"),
                                    QRect(311, 139, 40, 40), ArrowGlyph(true));
    AnalyzeButton->setToolTip(QStringLiteral("Analyze"));
    SynthesizeButton = MakeGlyphButton(Panel1, QStringLiteral("SynthesizeButton"),
                                       QRect(311, 190, 40, 40), ArrowGlyph(false));
    SynthesizeButton->setToolTip(QStringLiteral("Synthesize"));

    // Physical group.
    GroupBox2 = MakeGroup(Panel1, QStringLiteral("GroupBox2"),
                          QStringLiteral("Physical Characteristic"), QRect(360, 117, 285, 196));
    PhysLengthLabel = LabelBefore(GroupBox2, QStringLiteral("PhysLengthLabel"),
                                  QStringLiteral("Physical Length (L)"), 110, 19, 104);
    PhysicalLengthEdit = MakeEdit(GroupBox2, QStringLiteral("PhysicalLengthEdit"), 110, 19, 100);
    PhysicalLengthUnitBox =
        MakeList(GroupBox2, QStringLiteral("PhysicalLengthUnitBox"), 214, 19, 63, false);
    const int rowTops[kRows] = {44, 69, 93, 117, 141, 165};
    for (int i = 0; i < kRows; ++i) {
        const QString n = QString::number(i + 1);
        const auto k = static_cast<std::size_t>(i);
        ParameterLabels[k] =
            LabelBefore(GroupBox2, QStringLiteral("ParameterLabel") + n,
                        QStringLiteral("Parameter %1 (P)").arg(n), 110, rowTops[i], 104);
        ParameterEdits[k] =
            MakeEdit(GroupBox2, QStringLiteral("ParameterEdit") + n, 110, rowTops[i], 100);
        ParameterBoxes[k] =
            MakeList(GroupBox2, QStringLiteral("ParameterBox") + n, 214, rowTops[i], 63, false);
    }

    // Warning tree, below the panel.
    TreeView1 = new QTreeWidget(this);
    TreeView1->setObjectName(QStringLiteral("TreeView1"));
    TreeView1->setGeometry(0, 356, kClientWidth, 61);
    TreeView1->setHeaderHidden(true);
    // The hidden header's one column spans the tree.  Its least width, which
    // the toolkit would otherwise measure in the tree's bold font (loading
    // that font before anything is drawn in it), never comes into play.
    TreeView1->header()->setMinimumSectionSize(0);
    TreeView1->setRootIsDecorated(false);
    TreeView1->setIndentation(19);
    TreeView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    QPalette treePalette = TreeView1->palette();
    treePalette.setColor(QPalette::Base, treePalette.color(QPalette::Window)); // the menu colour
    treePalette.setColor(QPalette::Text, QColor(128, 0, 0));                   // maroon
    TreeView1->setPalette(treePalette);
    QFont bold = TreeView1->font();
    bold.setBold(true);
    TreeView1->setFont(bold);

    connect(TabControl1, &QTabBar::currentChanged, this, [this](int index) {
        const int left = activeTab_;
        activeTab_ = index;
        TabControl1Changing(left);
        TabControl1Change(index);
    });
    connect(AnalyzeButton, &QPushButton::clicked, this, [this] { AnalyzeButtonClick(); });
    connect(SynthesizeButton, &QPushButton::clicked, this, [this] { SynthesizeButtonClick(); });
    connect(QRXButton, &QPushButton::clicked, this, [this] { QRXButtonClick(); });
    connect(DielectricsComboBox, &QComboBox::activated, this,
            [this] { DielectricsComboBoxChange(); });
    connect(ConductorsComboBox, &QComboBox::activated, this,
            [this] { ConductorsComboBoxChange(); });
}

void TForm1::SetFocusOrder() {
    const QList<QWidget*> order{TabControl1,
                                ImpedanceEdit,
                                ElectricalLengthEdit,
                                PropConstantEdit,
                                EffDielConstEdit,
                                LossEdit,
                                EvenMode,
                                OddMode,
                                FrequencyEdit,
                                DielectricsComboBox,
                                DielConstantEdit,
                                LossTangentEdit,
                                ConductorsComboBox,
                                ConductivityEdit,
                                AnalyzeButton,
                                SynthesizeButton,
                                PhysicalLengthEdit};
    QList<QWidget*> chain = order;
    for (QLineEdit* edit : ParameterEdits)
        chain.append(edit);
    chain.append(QRXButton);
    chain.append(TreeView1);
    for (int i = 1; i < chain.size(); ++i)
        setTabOrder(chain[i - 1], chain[i]);
}

void TForm1::CreateLineModels() {
    const int tabs = TabControl1->count();
    LineModelTable.resize(static_cast<std::size_t>(tabs));
    for (int tab = 0; tab < tabs; ++tab) {
        const LineType* type = LineTypeForTab(tab);
        TabControl1->setTabEnabled(tab, type != nullptr);
        if (type == nullptr) {
            TabControl1->setTabToolTip(
                tab, QStringLiteral("This line type is not available in this build"));
            continue;
        }
        LineModelTable[static_cast<std::size_t>(tab)] = CreateLineModel(*type, *this);
    }
}

void TForm1::FormCreate() {
    // 1, 2: the heights of the warning tree are measured at its first update;
    // the settings file's path.
    layoutPending = true;
    settings_.SetFileName(options_.settingsPath.isEmpty() ? DefaultSettingsFilePath()
                                                          : options_.settingsPath.toStdString());
    settings_.SetNumberCheck(
        [this](const std::string& section, const std::string& key, const std::string& text,
               double value) { return StoredNumberPasses(section, key, text, value); });
    if (settings_.TooLarge())
        ShowErrorBox(QString::fromStdString(settings_.FileName()) +
                     QStringLiteral(" is larger than 1 MiB: it is not read, and it is left as "
                                    "it is. The defaults are used."));
    // 3: the row arrays are built with the controls.
    // 4: exit checks and their tags.
    const std::pair<QLineEdit*, const char*> exitKeys[] = {
        {FrequencyEdit, "f"},        {PhysicalLengthEdit, "L"},
        {ElectricalLengthEdit, "E"}, {ConductivityEdit, "sigma"},
        {ImpedanceEdit, "Z0"},       {PropConstantEdit, "phase_constant"},
        {LossEdit, "loss"},          {DielConstantEdit, "Er"},
        {LossTangentEdit, "tand"}};
    for (const auto& [edit, key] : exitKeys) {
        exitKeys_.insert(edit, key);
        edit->installEventFilter(this);
    }
    // 5: the mode buttons.
    connect(EvenMode, &QRadioButton::clicked, this, [this] { ModeButtonClick(0); });
    connect(OddMode, &QRadioButton::clicked, this, [this] { ModeButtonClick(1); });
    // 6: the unit-change handlers (the rows' are attached by SetRowCount).
    connect(PhysicalLengthUnitBox, &QComboBox::activated, this,
            [this] { PhysicalLengthUnitBoxChange(); });
    connect(FrequencyUnitBox, &QComboBox::activated, this, [this] { FrequencyUnitBoxChange(); });
    connect(ElectricalLengthUnitBox, &QComboBox::activated, this,
            [this] { ElectricalLengthUnitBoxChange(); });
    connect(ConductivityUnitBox, &QComboBox::activated, this,
            [this] { ConductivityUnitBoxChange(); });
    connect(PropConstantUnitBox, &QComboBox::activated, this,
            [this] { PropConstantUnitBoxChange(); });
    connect(LossUnitBox, &QComboBox::activated, this, [this] { LossUnitBoxChange(); });

    // 7: unit tables and indexes.
    units_ = UnitTables();
    frequencyUnit = 3;
    physicalLengthUnit = 0;
    conductivityUnit = 3;
    electricalLengthUnit = 0;
    phaseConstantUnit = 3;
    lossUnit = 3;
    // 8: the unit lists.
    FillLossUnits(LossUnitBox, lossUnit);
    FillImpedanceUnits(ImpedanceUnitBox, 0);
    FillAngleUnits(ElectricalLengthUnitBox, electricalLengthUnit);
    FillFrequencyUnits(FrequencyUnitBox, frequencyUnit);
    FillLengthUnits(PhysicalLengthUnitBox, physicalLengthUnit);
    FillConductivityUnits(ConductivityUnitBox, conductivityUnit);
    FillPhaseConstantUnits(PropConstantUnitBox, phaseConstantUnit);

    // 9: default values (the material's are chosen from the lists at 14).
    const FirstStartValues& start = FirstStart();
    SetPhysicalLengthValue(start.physicalLength);
    SetFrequencyValue(start.frequency);
    SetElectricalLengthValue(start.electricalLength);
    SetImpedanceValue(start.impedance);
    SetDielConstantValue(start.dielConstant);
    SetLossTangentValue(start.lossTangent);
    SetConductivityValue(start.conductivity);
    SetPhaseConstantValue(start.phaseConstant);
    SetEffDielConstValue(start.effDielConst);
    SetLossValue(start.lossDecibels);

    // 10 to 13: rows, mode, warning tree (short window), picture.
    SetRowCount(kRows);
    InitRows(kRows, 0, start.rowValue);
    SetModeIndex(1);
    ClearWarningTree();
    UpdateWarningTree();
    ShowLineImage(0);

    // 14: materials, the user's after the built-in ones.
    LoadMaterialLists();
    for (const Dielectric& d : dielectrics_)
        DielectricsComboBox->addItem(QString::fromStdString(d.name));
    DielectricsComboBox->setCurrentIndex(start.dielectric);
    DielectricsComboBoxChange();
    for (const Conductor& c : conductors_)
        ConductorsComboBox->addItem(QString::fromStdString(c.name));
    ConductorsComboBox->setCurrentIndex(start.conductor);
    ConductorsComboBoxChange();

    // 15: the saved material values.
    Guarded([this] { ReadMaterialSection(); });
    Guarded([this] { ReadMaterialOptionsSection(); });
    Guarded([this] { ReadCoatingSection(); });
    ShowMaterialModels();
    connect(DielConstantEdit, &QLineEdit::textChanged, this, [this] { ShowMaterialModels(); });

    // 16: the table of line models was filled when they were built.

    // 17: microstrip; while a tab's model is not built, the first tab that has one.
    int first = 0;
    const int tabs = static_cast<int>(LineModelTable.size());
    while (first < tabs && LineModelTable[static_cast<std::size_t>(first)] == nullptr)
        ++first;
    if (first == tabs) return;
    if (first != 0) {
        const QSignalBlocker quiet(TabControl1);
        TabControl1->setCurrentIndex(first);
        ShowLineImage(first);
    }
    activeTab_ = first;
    Guarded([this, first] { LineModelTable[static_cast<std::size_t>(first)]->LoadAndSetup(); });
}

void TForm1::closeEvent(QCloseEvent* event) {
    FormClose();
    event->accept(); // closing is never cancelled
}

void TForm1::FormClose() {
    Guarded([this] {
        // An unreadable edit of the line's section does not keep the material
        // section from being written.
        SectionWriter write;
        write([this] {
            if (LineModel* model = ModelOfTab(CurrentTab())) model->SaveSettings();
        });
        write([this] { WriteMaterialSection(); });
        write([this] { WriteMaterialOptionsSection(); });
        write([this] { WriteCoatingSection(); });
        write.Finish();
    });
    // The settings are written: no lock file stays behind in the user's folder.
    RemoveLockFile(settings_.FileName());
}

void TForm1::ReadMaterialSection() {
    SettingsFile& settings = settings_;
    settings.SelectSection("Material Parameter");
    double value = 0.0;
    int unit = 0;
    if (settings.ReadDouble("Diel Constant", value)) SetDielConstantValue(value);
    if (settings.ReadDouble("Loss Tangent", value)) SetLossTangentValue(value);
    if (settings.ReadInteger("Conductivity Unit", unit)) {
        conductivityUnit = units_.conductivity.ValidIndex(unit);
        FillConductivityUnits(ConductivityUnitBox, conductivityUnit);
    }
    if (settings.ReadDouble("Conductivity", value)) SetConductivityValue(value);
}

bool TForm1::StoredNumberPasses(const std::string& section, const std::string& key,
                                const std::string& text, double value) {
    const InputRule* rule = nullptr; // the material options are checked as a whole
    if (section == "Material Parameter")
        rule = FindCommonInputRule(key == "Diel Constant"  ? "Er"
                                   : key == "Loss Tangent" ? "tand"
                                                           : "sigma");
    for (const LineType& type : LineTypes())
        if (section == type.settings.name) rule = FindCommonInputRule("L"); // lengths
    if (rule == nullptr || Passes(rule->window, value)) return true;
    ShowErrorBox(QString::fromStdString(InputRuleMessage(*rule, text)));
    return false;
}

void TForm1::WriteMaterialSection() {
    SettingsFile& settings = settings_;
    settings.SelectSection("Material Parameter");
    SectionWriter write;
    write([&] { settings.WriteDouble("Diel Constant", DielConstantValue()); });
    write([&] { settings.WriteDouble("Loss Tangent", LossTangentValue()); });
    write([&] { settings.WriteDouble("Conductivity", ConductivityValue()); });
    write([&] { settings.WriteInteger("Conductivity Unit", conductivityUnit); });
    write.Finish();
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && HandleKey(watched, static_cast<QKeyEvent*>(event)))
        return true;
    if (droppingPress_ && event->type() == QEvent::MouseButtonPress) {
        StopDroppingPress();
        return true;
    }
    if (event->type() == QEvent::FocusOut && exitKeys_.contains(watched)) {
        // Leaving the window (a box or another program takes over) or opening
        // a popup menu is not leaving the edit.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            exitReason_ = reason;
            ValueEditExit(watched);
            exitReason_ = Qt::OtherFocusReason;
        }
    }
    return QWidget::eventFilter(watched, event);
}

// The focus leaves an edit on a mouse press before the press reaches the
// control under the mouse.  When the edit's value fails its check, that
// press is dropped: the click does nothing (a button would otherwise stay
// drawn pressed, since its release went to the box), as the user has to
// correct the value first.
void TForm1::DropPressInDelivery() {
    droppingPress_ = true;
    qApp->installEventFilter(this);
    // The press being delivered arrives before the event loop runs again.
    QTimer::singleShot(0, this, [this] { StopDroppingPress(); });
}

void TForm1::StopDroppingPress() {
    if (!droppingPress_) return;
    droppingPress_ = false;
    qApp->removeEventFilter(this);
}

void TForm1::ShowLineImage(int index) {
    LineImages.Show(index);
}

int TForm1::CurrentTab() const {
    return TabControl1->currentIndex();
}

LineModel* TForm1::ModelOfTab(int index) const {
    if (index < 0 || index >= static_cast<int>(LineModelTable.size())) return nullptr;
    return LineModelTable[static_cast<std::size_t>(index)].get();
}
