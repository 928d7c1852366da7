// Reading the fonts on a second thread at program start.
#pragma once

#include <QFont>
#include <QList>
#include <future>
#include <optional>
#include <thread>

// The fonts are read the first time the window measures a control, on the
// main thread: fontconfig parses its configuration files, then the toolkit
// lists every installed face.  Started at program start, the reading overlaps
// the toolkit's connection to the display and the accessibility bridge's to
// its bus instead:
//
//   FontReader fonts;              // fontconfig's configuration
//   QApplication application(...);
//   fonts.ApplicationCreated(...); // the toolkit's list of faces, fallbacks
//   ...
//   fonts.Wait();                  // before the window is built
//
// Fonts given to ApplicationCreated are measured on that thread too: each
// thread loads its own font engines, but the lists of fallback faces (a
// fontconfig sort each) are kept for all threads, so the window finds them.
//
// Waiting before the window is built keeps the toolkit from loading a second
// copy of the configuration beside the one being read.  When the toolkit does
// not use fontconfig (the library is not in the process), only the list of
// faces is read on the second thread.
class FontReader {
  public:
    FontReader();
    ~FontReader();
    FontReader(const FontReader&) = delete;
    FontReader& operator=(const FontReader&) = delete;

    // The application object exists: the toolkit's font list can be read,
    // and `measured` measured.
    void ApplicationCreated(const QList<QFont>& measured);
    // Returns when the reading is done; called after ApplicationCreated.
    void Wait();

  private:
    // Without a value when the program ended before it had an application.
    std::promise<std::optional<QList<QFont>>> application_;
    std::thread reader_;
};
