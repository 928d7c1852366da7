// The settings file as the line models see it: one current section, keys read
// and written one at a time.  Reads return false for a missing key, an empty
// value or a value that is not entirely a number; the caller then keeps what
// it had.  Write failures are reported by the return value and may be ignored.
#pragma once

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
