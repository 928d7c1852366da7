// Building the main window at program start.
#pragma once

#include <cstdio>
#include <functional>
#include <memory>

#include "ui/tform1.h"

// The application's style as the platform chooses it, except that the
// toolbar-extension arrow (which every menu bar asks for when it is built,
// and shows only when its menus overflow) is drawn rather than read from an
// image file: reading the first image file loads every image-format plug-in,
// which would delay the window's first appearance.
void InstallApplicationStyle();

// Calls create(); if that raises (a line model that cannot be built, such as
// the coplanar lines without their library), says why in a box and on
// `errors`, and returns nullptr: the program then ends with a failure status.
std::unique_ptr<TForm1> CreateMainWindow(const std::function<std::unique_ptr<TForm1>()>& create,
                                         std::FILE* errors);
