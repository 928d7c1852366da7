// The window's field-solver check: solves the cross-section of the given
// inputs on a worker thread behind a progress dialog with Cancel, then shows
// the comparison (FieldCheckDialog, not modal) or says why there is none.
#pragma once

#include <functional>

#include "core/linedescriptor.h"
#include "core/lineinputs.h"

class QWidget;

// Returns when the solve has ended; errors of the inputs (the line's hard
// limits) are raised here, on the calling thread.  The comparison's
// "Synthesize with the field solver" runs `synthesize`.
void RunFieldCheck(QWidget* window, const LineDescriptor& line, const LineInputs& in,
                   std::function<void()> synthesize);
