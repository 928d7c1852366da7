// Reading the font configuration on a second thread at program start.
#pragma once

#include <thread>

// Fontconfig reads and parses its configuration files the first time the
// toolkit asks for a font, on the main thread, just when the window's first
// control is measured.  Started before the application object, the reading
// overlaps the toolkit's connection to the display instead; Wait() is called
// before the window is built, so that the toolkit finds the configuration
// loaded rather than loading a second copy beside it.
//
// When the toolkit does not use fontconfig (the library is not in the
// process), nothing is started and Wait() returns at once.
class FontConfigurationReader {
  public:
    FontConfigurationReader();
    ~FontConfigurationReader();
    FontConfigurationReader(const FontConfigurationReader&) = delete;
    FontConfigurationReader& operator=(const FontConfigurationReader&) = delete;

    void Wait();

  private:
    std::thread reader_;
};
