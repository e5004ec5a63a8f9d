// The error classes of the program. Each carries the exact text the user is shown; the
// texts that stand for the platform's own messages are French.
#pragma once

#include <stdexcept>
#include <string>

namespace pixdraft {

// Base of every error the program raises on purpose.
class Exception : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A file could not be opened for reading.
class EFOpenError : public Exception {
 public:
  // Names the file by its full path and explains the failure with the system's text for `errnum`.
  EFOpenError(const std::string& fileName, int errnum);
  // For refusals of our own, where `reason` replaces the system's text.
  EFOpenError(const std::string& fileName, const std::string& reason);
};

// A file could not be created for writing.
class EFCreateError : public Exception {
 public:
  EFCreateError(const std::string& fileName, int errnum);
  // For refusals of our own, where `reason` replaces the system's text.
  EFCreateError(const std::string& fileName, const std::string& reason);
};

// Bytes that do not decode in the encoding their preamble announces.
class EEncodingError : public Exception {
 public:
  EEncodingError();
};

// A write to a file failed or stopped short (disk full).
class EWriteError : public Exception {
 public:
  // For a stream, whose reason is not known.
  EWriteError();
  // Names the file by its full path and explains the failure with the system's text for `errnum`.
  EWriteError(const std::string& fileName, int errnum);
};

// A picture whose content no decoder accepts.
class EInvalidGraphic : public Exception {
 public:
  EInvalidGraphic();
};

// Memory ran out, e.g. for a picture too large to decode.
class EOutOfMemory : public Exception {
 public:
  EOutOfMemory();
};

// A read from an open file failed.
class EReadError : public Exception {
 public:
  EReadError();
};

// Our own reasons for refusing a file, in the place and the language of the system's texts.
inline constexpr char kNotARegularFile[] = "Ce n'est pas un fichier ordinaire";
inline constexpr char kWouldReplaceThePicture[] = "Le fichier DXF remplacerait l'image d'origine";

// The absolute, lexically normalised form of `fileName`, as error messages name it.
std::string FullPath(const std::string& fileName);

// The system's text for `errnum`, without trailing blanks, control characters or full stops.
std::string SystemErrorText(int errnum);

}  // namespace pixdraft
