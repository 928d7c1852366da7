// The user's own materials: a plain-text file "materials.txt" in the settings
// folder (beside tavrel.ini) whose entries are added after the built-in ones.
// One entry per line, fields separated by blanks, a name in double quotes:
//
//   # comment (also after an entry)
//   dielectric "Name" Er tand [f_ref]   Er >= 1, tand >= 0, f_ref in hertz > 0
//   conductor  "Name" sigma             sigma in S/m >= 1E5
//
// Numbers are written with "." as the decimal point (1e9, 5.8e7), or with
// the user's decimal comma where the locale has one (3,61).  A name may not
// repeat a built-in entry's or an earlier line's.  A line that does not fit
// is skipped and reported; the others still count.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "quantities/materials.h"

inline constexpr const char* kMaterialsFileName = "materials.txt";
inline constexpr unsigned long long kMaxMaterialsFileBytes = 1 << 20;
// An entry serves every tab, so its conductivity must be one every line
// takes: the microstrip and stripline formulas refuse less than 1E5 S/m.
inline constexpr double kMinListedConductivity = 1e5;

struct MaterialsFileProblem {
    int line; // 1-based
    std::string reason;
};

struct UserMaterials {
    std::vector<Dielectric> dielectrics;
    std::vector<Conductor> conductors;
    std::vector<MaterialsFileProblem> problems;
    // Of the file's bytes (16 hex digits; empty without a file): its problems
    // are reported once, until the file changes.
    std::string fingerprint;
};

// `decimal` is the locale's decimal point: ',' also accepts "3,61".
UserMaterials ParseMaterials(std::string_view text, char decimal = '.');

// The file at `path`, read with the C library locale's decimal point; a missing file is no materials and no problem, a file
// that exists but cannot be read (or is over 1 MiB) is one problem, line 0.
UserMaterials ReadMaterialsFile(const std::string& path);

// One message for all problems of the file, naming it and each line; empty
// when there are none.
std::string ProblemsMessage(const std::string& path,
                            const std::vector<MaterialsFileProblem>& problems);
