#pragma once
// Every failure the program reports is an Exception with a message; the application object shows it in the
// error box with a full stop added. Subclasses only name the kind of failure.
#include <stdexcept>
#include <string>

namespace qs {

class Exception : public std::runtime_error {
public:
  explicit Exception(const std::string& message) : std::runtime_error(message) {}
  std::string Message() const { return what(); }
};

// Misuse of a component ("TToolbarSep97 can only be placed on a TToolbar97", ...).
class EInvalidOperation : public Exception {
  using Exception::Exception;
};

class ERegistryException : public Exception {
  using Exception::Exception;
};

// A file that could not be created ("Cannot create file go.bat").
class EFCreateError : public Exception {
  using Exception::Exception;
};

class EOutOfResources : public Exception {
  using Exception::Exception;
};

// The text of the error box: the message followed by a full stop (one only: system texts often bring theirs).
inline std::string ErrorBoxText(const std::string& message) {
  std::string text = message;
  if (text.empty() || text.back() != '.') text += '.';
  return text;
}

} // namespace qs
