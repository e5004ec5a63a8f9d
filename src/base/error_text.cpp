#include "base/error_text.h"

namespace pixdraft {
namespace {

// Walks the chain of nested errors, keeping the last message that is not empty.
void InnermostMessage(const std::exception& error, std::string& message) {
  if (*error.what() != '\0') message = error.what();
  try {
    std::rethrow_if_nested(error);
  } catch (const std::exception& inner) {
    InnermostMessage(inner, message);
  } catch (...) {  // a nested object that is no std::exception carries no message
  }
}

}  // namespace

std::string WithFinalStop(std::string message) {
  if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') message += '.';
  return message;
}

std::string ErrorDisplayText(const std::exception& error) {
  std::string message;
  InnermostMessage(error, message);
  return WithFinalStop(message);
}

}  // namespace pixdraft
