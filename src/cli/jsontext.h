// JSON text of an answer.  Messages echo what was typed, and a typed byte
// need not be UTF-8 (a Latin-1 "µ"): such bytes become U+FFFD rather than
// an exception, so no input can stop the output.
#pragma once

#include <string>

#include <nlohmann/json.hpp>

inline std::string JsonText(const nlohmann::ordered_json& value, int indent = -1) {
    return value.dump(indent, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}
