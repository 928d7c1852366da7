#include "core/materialmodels.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "core/widebanddielectric.h"
#include "numeric/constants.h"
#include "quantities/numberformat.h"
#include "quantities/units.h"

namespace {

// Hammerstad-Jensen: K = 1 + (2/pi) atan(1.4 (Delta/delta)^2).
double HammerstadJensen(double ratio) {
    if (ratio > 1e100) return 2.0; // atan has reached pi/2; the square would overflow
    return 1.0 + (2.0 / constants::kPi) * std::atan(1.4 * ratio * ratio);
}

// Groiss: K = 1 + exp(-(delta / (2 Delta))^1.6).
double Groiss(double ratio) {
    // Beyond delta / (2 Delta) = 1e3 the exponential is far below one ulp
    // of 1; stopping there keeps the power from overflowing.
    if (ratio < 5e-4) return 1.0;
    return 1.0 + std::exp(-std::pow(1.0 / (2.0 * ratio), 1.6));
}

std::complex<double> WidebandPermittivity(const LineInputs& in) {
    return DjordjevicSarkar(in.er, in.tand, in.fRef, in.fPoleLow, in.fPoleHigh)
        .Permittivity(std::max(in.f, 0.0));
}

template <class Model>
const Model* ByKeyword(const std::vector<Model>& models, std::string_view keyword) {
    for (const Model& model : models)
        if (keyword == model.keyword) return &model;
    return nullptr;
}

template <class Model>
const Model* BySetting(const std::vector<Model>& models, std::string_view value) {
    for (const Model& model : models)
        if (value == model.settingsName) return &model;
    std::size_t index = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), index);
    if (error != std::errc() || end != value.data() + value.size() || index >= models.size())
        return nullptr;
    return &models[index];
}

// The value with its unit, or "swept" for the NaN of a swept input.
std::string ValueOrSwept(double value, const char* unit = "") {
    return std::isnan(value) ? std::string("swept") : FormatG(value) + unit;
}

// A frequency in the largest of the window's units it reaches ("2 GHz").
std::string FrequencyText(double hertz) {
    const UnitTable units = FrequencyUnits();
    int unit = 0;
    for (int i = 1; i < units.Size(); ++i)
        if (std::fabs(hertz) * units.Factor(i) >= 1.0) unit = i;
    return FormatG(hertz * units.Factor(unit)) + ' ' + units.Name(unit);
}

} // namespace

std::string MaterialModelsText(const LineInputs& in) {
    std::string text;
    if (!(in.rough <= 0.0)) // rough, or swept
        text = "Roughness " + ValueOrSwept(in.rough * 1e6, " \u00b5m") + " (" +
               in.roughModel->name + ")";
    if (in.dkModel->VariesWithFrequency()) {
        if (!text.empty()) text += "; ";
        text += std::string(in.dkModel->name) + ", Er " + ValueOrSwept(in.er) + " at " +
                FrequencyText(in.fRef);
    }
    return text;
}

const std::vector<RoughnessModel>& RoughnessModels() {
    static const std::vector<RoughnessModel> models{
        {"Hammerstad-Jensen", "hammerstad", "Hammerstad-Jensen", &HammerstadJensen},
        {"Groiss", "groiss", "Groiss", &Groiss},
    };
    return models;
}

const std::vector<DielectricModel>& DielectricModels() {
    static const std::vector<DielectricModel> models{
        {"Constant Er and tan d", "constant", "Constant", nullptr},
        {"Djordjevic-Sarkar wideband", "djsarkar", "Djordjevic-Sarkar", &WidebandPermittivity},
    };
    return models;
}

const RoughnessModel* FindRoughnessModel(std::string_view keyword) {
    return ByKeyword(RoughnessModels(), keyword);
}

const DielectricModel* FindDielectricModel(std::string_view keyword) {
    return ByKeyword(DielectricModels(), keyword);
}

const RoughnessModel* RoughnessModelOfSetting(std::string_view value) {
    return BySetting(RoughnessModels(), value);
}

const DielectricModel* DielectricModelOfSetting(std::string_view value) {
    return BySetting(DielectricModels(), value);
}

// Every LineInputs made asks for these two: the tables are looked up once.
const RoughnessModel* DefaultRoughnessModel() {
    static const RoughnessModel* const model = &RoughnessModels().front();
    return model;
}

const DielectricModel* ConstantDielectric() {
    static const DielectricModel* const model = &DielectricModels().front();
    return model;
}
