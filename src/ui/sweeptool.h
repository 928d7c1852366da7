// The sweep window as the main window sees it.  The window and its charts
// (Qt Charts, and through it Qt OpenGL) live in a library of their own,
// loaded the first time a sweep window opens, so that the main window starts
// without them.
#pragma once

#include <vector>

#include "core/lineinputs.h"
#include "quantities/units.h"

class QWidget;
class TForm1;
struct LineDescriptor;

// What the sweep window takes from the main window: the line, its inputs read
// once, and the units the main window shows them in.
struct SweepSetup {
    const LineDescriptor* line = nullptr;
    LineInputs inputs; // with the section's physical length
    UnitEntry frequencyUnit{"Hz", 1.0};
    std::vector<UnitEntry> rowUnits; // one per row of the line
    UnitEntry conductivityUnit{"S/m", 1.0};
    UnitEntry lossUnit{"dB/m", 1.0};
};

// The library's one export: a new sweep window over `setup`, owned by
// `parent`, not yet shown.
using NewSweepWindowFunction = QWidget* (*)(const SweepSetup* setup, QWidget* parent);
inline constexpr const char* kSweepLibraryName = "tavrel-sweep";
inline constexpr const char* kNewSweepWindowExport = "TavrelNewSweepWindow";
// The sweep window's object name: the main window finds an open one by it.
inline constexpr const char* kSweepWindowName = "SweepWindow";

// Opens a sweep window over the main window's active tab, with the inputs it
// shows now (an unreadable edit raises, for the window's catch-all; so does a
// sweep library that cannot be loaded).  Null when the tab has no line.
QWidget* OpenSweepWindow(TForm1& form);
