#pragma once
// The input/output error of the readers and the writer; its message is the
// text the user sees in the error box.
#include <stdexcept>
#include <string>

class ScnError : public std::runtime_error {
public:
    explicit ScnError(const std::string& message) : std::runtime_error(message) {}
};
