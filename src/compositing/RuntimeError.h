#pragma once

#include <stdexcept>
#include <string>

// An error raised to the caller with its number, the way the original's
// runtime raised them; nothing in the program traps it.
class RuntimeError : public std::runtime_error {
public:
    static constexpr int kInvalidPicture = 481;

    RuntimeError(int number, const std::string& description)
        : std::runtime_error(description), number_(number) {}

    int number() const { return number_; }

private:
    int number_;
};
