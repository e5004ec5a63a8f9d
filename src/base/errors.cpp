#include "base/errors.h"

#include <filesystem>

#include "platform/std_path.h"
#include "platform/platform.h"

namespace pixdraft {
namespace {

std::string FileMessage(const char* what, const std::string& fileName, const std::string& reason) {
  return std::string(what) + " \"" + FullPath(fileName) + "\". " + reason;
}

}  // namespace

std::string FullPath(const std::string& fileName) {
  std::error_code ignored;  // only when the current directory is gone; then keep the name as given
  std::filesystem::path path = std::filesystem::absolute(StdPath(fileName), ignored);
  if (path.empty()) path = StdPath(fileName);
  return NameOf(path.lexically_normal());
}

std::string SystemErrorText(int errnum) {
  std::string text = platform::ErrorReason(errnum);
  while (!text.empty() && (static_cast<unsigned char>(text.back()) <= 32 || text.back() == '.')) {
    text.pop_back();
  }
  return text;
}

EFOpenError::EFOpenError(const std::string& fileName, int errnum)
    : EFOpenError(fileName, SystemErrorText(errnum)) {}

EFOpenError::EFOpenError(const std::string& fileName, const std::string& reason)
    : Exception(FileMessage("Impossible d'ouvrir le fichier", fileName, reason)) {}

EFCreateError::EFCreateError(const std::string& fileName, int errnum)
    : EFCreateError(fileName, SystemErrorText(errnum)) {}

EFCreateError::EFCreateError(const std::string& fileName, const std::string& reason)
    : Exception(FileMessage("Impossible de créer le fichier", fileName, reason)) {}

EEncodingError::EEncodingError()
    : Exception(
          "Aucun mappage pour le caractère Unicode n'existe dans la page de code multi-octet "
          "cible") {}

namespace {
constexpr char kWriteError[] = "Erreur d'écriture dans le flux";
}  // namespace

EWriteError::EWriteError() : Exception(kWriteError) {}

EWriteError::EWriteError(const std::string& fileName, int errnum)
    : Exception(FileMessage(kWriteError, fileName, SystemErrorText(errnum))) {}

EInvalidGraphic::EInvalidGraphic() : Exception("Image non valide") {}

EOutOfMemory::EOutOfMemory() : Exception("Mémoire insuffisante") {}

EReadError::EReadError() : Exception("Erreur de lecture du flux") {}

}  // namespace pixdraft
