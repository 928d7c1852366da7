// The material models as tables: how a rough conductor surface raises the
// conductor loss, and how er and tand vary with frequency.  The window's
// dialog lists them, tavrel-calc takes their keywords, the settings store
// their settings names; a new model is one row here and its function.
#pragma once

#include <complex>
#include <string>
#include <string_view>
#include <vector>

#include "core/lineinputs.h"

struct RoughnessModel {
    const char* name;         // shown: "Hammerstad-Jensen"
    const char* keyword;      // on the command line and in its output: "hammerstad"
    const char* settingsName; // in the settings file
    // K, the factor on a smooth conductor's loss, at RMS roughness over skin
    // depth `ratio` (above 0; may be infinite).
    double (*factor)(double ratio);
};

struct DielectricModel {
    const char* name;         // shown: "Djordjevic-Sarkar wideband"
    const char* keyword;      // "djsarkar"
    const char* settingsName; // in the settings file
    // eps' - j eps'' at in.f from the inputs' Er and tand; null for a model
    // under which they do not vary.  Raises TP_Exceptions for inputs the
    // model cannot take.
    std::complex<double> (*permittivity)(const LineInputs& in);

    bool VariesWithFrequency() const { return permittivity != nullptr; }
};

// In the order the dialog lists them; the first is the default.  Settings
// written by index (0, 1) read back as the row of that index.
const std::vector<RoughnessModel>& RoughnessModels();
const std::vector<DielectricModel>& DielectricModels();

// By keyword, or nullptr.
const RoughnessModel* FindRoughnessModel(std::string_view keyword);
const DielectricModel* FindDielectricModel(std::string_view keyword);

// The model a settings value names: a settings name, or the index of a row
// as older files stored it; nullptr for anything else.
const RoughnessModel* RoughnessModelOfSetting(std::string_view value);
const DielectricModel* DielectricModelOfSetting(std::string_view value);

// The material models in effect, in one line for the window's status line,
// its copied text, a sweep table's header and titles: "Roughness 1.5 µm
// (Groiss); Djordjevic-Sarkar wideband, Er 4.04 at 2 GHz" (UTF-8).  Empty
// when the conductor is smooth and Er and tand are constant.  A NaN
// roughness or Er is one a sweep varies: it reads "swept".
std::string MaterialModelsText(const LineInputs& in);

// The keywords as a usage text lists them ("a|b|c") or a message ("a, b or c").
template <class Model> std::string KeywordList(const std::vector<Model>& models, bool prose) {
    std::string list;
    for (std::size_t i = 0; i < models.size(); ++i) {
        if (i > 0) list += !prose ? "|" : i + 1 == models.size() ? " or " : ", ";
        list += models[i].keyword;
    }
    return list;
}
