#pragma once

#include <stdexcept>
#include <string>

namespace folivant {

/// An error that stops an operation; what() is the exact text shown to the user.
class TError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

/// The text the user sees for an error that stopped an operation: what() of a
/// TError, which is written for the user; for any other exception (a fault of
/// the program, or memory running out) the program's own sentence, with the
/// library's text after it as the detail.
std::string ErrorMessage(const std::exception& error);

/// Throws the platform's message for a failed file operation, e.g.
/// `Cannot open file "/a/b.alb". No such file or directory`.
[[noreturn]] void ThrowFileError(const std::string& what, const std::string& path, int error_number);

}  // namespace folivant
