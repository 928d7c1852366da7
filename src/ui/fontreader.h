// Reading the fonts on a second thread at program start.
#pragma once

#include <future>
#include <thread>

// The fonts are read the first time the window measures a control, on the
// main thread: fontconfig parses its configuration files, then the toolkit
// lists every installed face.  Started at program start, the reading overlaps
// the toolkit's connection to the display and the accessibility bridge's to
// its bus instead:
//
//   FontReader fonts;              // fontconfig's configuration
//   QApplication application(...);
//   fonts.ApplicationCreated();    // the toolkit's list of faces
//   ...
//   fonts.Wait();                  // before the window is built
//
// Waiting before the window is built keeps the toolkit from loading a second
// copy of the configuration beside the one being read.  When the toolkit
// does not use fontconfig (the library is not in the process), only the list
// of faces is read on the second thread.
//
// Measuring the window's fonts there as well, so that their lists of
// fallback faces (which the toolkit keeps for all threads) would be ready,
// made the start no faster: the main thread then waited for the reader.
class FontReader {
  public:
    FontReader();
    ~FontReader();
    FontReader(const FontReader&) = delete;
    FontReader& operator=(const FontReader&) = delete;

    // The application object exists: the toolkit's font list can be read.
    void ApplicationCreated();
    // Returns when the reading is done; called after ApplicationCreated.
    void Wait();

  private:
    std::promise<bool> application_; // false: ended before there was one
    std::thread reader_;
};
