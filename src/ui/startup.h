// Building the main window at program start.
#pragma once

#include <cstdio>
#include <functional>
#include <memory>

#include "ui/tform1.h"

// Calls create(); if that raises (a line model that cannot be built, such as
// the coplanar lines without their library), says why in a box and on
// `errors`, and returns nullptr: the program then ends with a failure status.
std::unique_ptr<TForm1> CreateMainWindow(const std::function<std::unique_ptr<TForm1>()>& create,
                                         std::FILE* errors);
