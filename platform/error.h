#pragma once

#include <stdexcept>
#include <string>

namespace folivant {

/// An error that stops an operation; what() is the exact text shown to the user.
class TError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

/// Throws the platform's message for a failed file operation, e.g.
/// `Cannot open file "/a/b.alb". No such file or directory`.
[[noreturn]] void ThrowFileError(const std::string& what, const std::string& path, int error_number);

}  // namespace folivant
