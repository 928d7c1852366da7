// The window's material lists (built-in entries and the user's materials
// file) and its material options (conductor roughness, dielectric model),
// which are kept in a settings section of their own, as is the coating (F9).
#include <filesystem>

#include "core/inputrules.h"
#include "core/materialmodels.h"
#include "quantities/materialsfile.h"
#include "ui/tform1.h"

namespace {

constexpr const char* kOptionsSection = "Material Options";
// Keyed by the coating's input names, lengths in metres.
constexpr const char* kCoatingSection = "Solder Mask and Cover";

// The materials file lives beside the settings file.
std::string MaterialsFilePath(const std::string& settingsPath) {
    return (std::filesystem::path(settingsPath).parent_path() / kMaterialsFileName).string();
}

bool ValidOptions(const MaterialOptions& o) {
    return o.rough >= 0.0 && o.fRef > 0.0 && o.fPoleLow > 0.0 && o.fPoleHigh > o.fPoleLow;
}

} // namespace

void TForm1::LoadMaterialLists() {
    dielectrics_ = DielectricTable();
    conductors_ = ConductorTable();
    const std::string path = MaterialsFilePath(settings_.FileName());
    const UserMaterials user = ReadMaterialsFile(path);
    dielectrics_.insert(dielectrics_.end(), user.dielectrics.begin(), user.dielectrics.end());
    conductors_.insert(conductors_.end(), user.conductors.begin(), user.conductors.end());
    // One box for the whole file, however many lines were skipped, and only
    // once until the file changes.
    const std::string problems = ProblemsMessage(path, user.problems);
    std::string reported;
    settings_.SelectSection("Materials File");
    if (problems.empty() || (settings_.ReadText("Reported", reported) && reported == user.fingerprint))
        return;
    ShowErrorBox(QString::fromStdString(problems));
    settings_.WriteText("Reported", user.fingerprint);
}

void TForm1::SetMaterialOptions(const MaterialOptions& options, int roughnessUnit) {
    materialOptions_ = options;
    roughnessUnit_ = units_.length.ValidIndex(roughnessUnit);
    ShowMaterialModels();
    WriteMaterialOptionsSection();
}

void TForm1::SetCoating(const Coating& coating) {
    coating_ = coating;
    LineImages.SetCoating(coating_);
    ShowMaterialModels();
    ShowResultsCurrent(false);
    WriteCoatingSection();
}

void TForm1::ReadMaterialOptionsSection() {
    SettingsFile& settings = settings_;
    settings.SelectSection(kOptionsSection);
    MaterialOptions read = materialOptions_;
    int index = 0;
    bool found = false;
    // A model by its settings name, or by the index older files wrote; an
    // unknown value keeps the current model.
    const auto model = [&](const char* key, auto ofSetting, auto& field) {
        std::string value;
        if (!settings.ReadText(key, value)) return;
        found = true;
        if (const auto* read = ofSetting(value)) field = read;
    };
    const auto number = [&](const char* key, double& field) {
        if (settings.ReadDouble(key, field)) found = true;
    };
    number("Roughness", read.rough);
    if (settings.ReadInteger("Roughness Unit", index)) {
        found = true;
        roughnessUnit_ = units_.length.ValidIndex(index);
    }
    model("Roughness Model", &RoughnessModelOfSetting, read.roughModel);
    model("Dielectric Model", &DielectricModelOfSetting, read.dkModel);
    number("Reference Frequency", read.fRef);
    number("Lowest Pole", read.fPoleLow);
    number("Highest Pole", read.fPoleHigh);
    materialOptionsStored_ = found;
    // A damaged section leaves the defaults rather than a model that cannot run.
    if (ValidOptions(read)) materialOptions_ = read;
}

void TForm1::WriteMaterialOptionsSection() {
    // A file that never had the section gets it only once the options differ
    // from the defaults, so that the other sections' first write stays as it was.
    if (!materialOptionsStored_ && materialOptions_ == MaterialOptions{} && roughnessUnit_ == 0)
        return;
    SettingsFile& settings = settings_;
    settings.SelectSection(kOptionsSection);
    settings.WriteDouble("Roughness", materialOptions_.rough);
    settings.WriteInteger("Roughness Unit", roughnessUnit_);
    settings.WriteText("Roughness Model", materialOptions_.roughModel->settingsName);
    settings.WriteText("Dielectric Model", materialOptions_.dkModel->settingsName);
    settings.WriteDouble("Reference Frequency", materialOptions_.fRef);
    settings.WriteDouble("Lowest Pole", materialOptions_.fPoleLow);
    settings.WriteDouble("Highest Pole", materialOptions_.fPoleHigh);
    materialOptionsStored_ = true;
}

void TForm1::ReadCoatingSection() {
    settings_.SelectSection(kCoatingSection);
    Coating read;
    double* fields[] = {&read.tm, &read.erm, &read.tandm, &read.hc}; // the rules' order
    const std::vector<InputRule>& rules = CoatingInputRules();
    bool valid = true;
    for (std::size_t i = 0; i < rules.size(); ++i) {
        std::string text;
        if (!settings_.ReadText(rules[i].key, text)) continue; // absent: the default
        coatingStored_ = true;
        valid = valid && settings_.ReadDouble(rules[i].key, *fields[i]) &&
                Passes(rules[i].window, *fields[i]);
    }
    // A damaged section is no coating rather than a half-read one.
    coating_ = valid ? read : Coating{};
    LineImages.SetCoating(coating_);
}

void TForm1::WriteCoatingSection() {
    // Files without a coating get the section only once one is set.
    if (!coatingStored_ && coating_ == Coating{}) return;
    settings_.SelectSection(kCoatingSection);
    const double values[] = {coating_.tm, coating_.erm, coating_.tandm, coating_.hc};
    const std::vector<InputRule>& rules = CoatingInputRules();
    for (std::size_t i = 0; i < rules.size(); ++i) settings_.WriteDouble(rules[i].key, values[i]);
    coatingStored_ = true;
}
