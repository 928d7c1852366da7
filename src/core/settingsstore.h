// The settings file as the line models see it: one current section, keys read
// and written one at a time.  Reads return false for a missing key, an empty
// value or a value that is not entirely a number; the caller then keeps what
// it had.  Write failures are reported by the return value and may be ignored.
#pragma once

#include <exception>
#include <string>

class SettingsStore {
  public:
    virtual ~SettingsStore() = default;

    virtual void SelectSection(const std::string& section) = 0;
    virtual bool ReadInteger(const std::string& key, int& out) = 0;
    virtual bool ReadDouble(const std::string& key, double& out) = 0;
    virtual bool WriteInteger(const std::string& key, int value) = 0;
    virtual bool WriteDouble(const std::string& key, double value) = 0;
};

// Runs the writes of one section so that a value that cannot be read (an
// edit whose text is no number) costs only its own key: that key keeps its
// stored value, every other key is written, and the first error is raised
// once the section is done.
class SectionWriter {
  public:
    template <class Write> void operator()(Write&& write) {
        try {
            write();
        } catch (const std::exception&) {
            if (!first_) first_ = std::current_exception();
        }
    }
    // Raises the first error, if any.
    void Finish() const {
        if (first_) std::rethrow_exception(first_);
    }

  private:
    std::exception_ptr first_;
};
