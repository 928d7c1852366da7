#include "numeric/tpexceptions.h"

#include <exception>

std::string CurrentErrorText(const char* unknown) {
    try {
        throw;
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return unknown;
    }
}
