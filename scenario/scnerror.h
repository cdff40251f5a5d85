#pragma once
// The input/output error of the readers and the writer; its message is the
// text the user sees in the error box.
#include <memory>
#include <stdexcept>
#include <string>

namespace varno {

class ScnError : public std::runtime_error {
public:
    explicit ScnError(const std::string& message)
        : std::runtime_error(message), message_(std::make_shared<const std::string>(message)) {}
    // The whole message: a line of a file may hold a NUL byte, where what()
    // would end it.
    const std::string& message() const noexcept { return *message_; }

private:
    std::shared_ptr<const std::string> message_;  // shared: copying an exception must not throw
};

}  // namespace varno
