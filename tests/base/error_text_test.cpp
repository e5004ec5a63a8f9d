#include "base/error_text.h"

#include <gtest/gtest.h>

#include "base/errors.h"

namespace pixdraft {
namespace {

TEST(ErrorDisplayText, AddsAFullStopOnlyAfterACharacterBeyondTheFullStop) {
  EXPECT_EQ(ErrorDisplayText(EInvalidGraphic()), "Image non valide.");
  EXPECT_EQ(ErrorDisplayText(EOutOfMemory()), "Mémoire insuffisante.");
  EXPECT_EQ(ErrorDisplayText(Exception("Impossible :")), "Impossible :.");
  EXPECT_EQ(ErrorDisplayText(Exception("Fin.")), "Fin.");
  EXPECT_EQ(ErrorDisplayText(Exception("(voir plus haut)")), "(voir plus haut)");
  EXPECT_EQ(ErrorDisplayText(Exception("")), "");
}

// Throws Exception(messages[at]) with the messages after it nested inside, the last innermost.
[[noreturn]] void ThrowNested(const std::vector<const char*>& messages, std::size_t at = 0) {
  if (at + 1 == messages.size()) throw Exception(messages[at]);
  try {
    ThrowNested(messages, at + 1);
  } catch (...) {
    std::throw_with_nested(Exception(messages[at]));
  }
}

TEST(ErrorDisplayText, ShowsTheInnermostNonEmptyMessageOfNestedErrors) {
  const auto shown = [](std::vector<const char*> messages) {
    try {
      ThrowNested(messages);
    } catch (const std::exception& error) {
      return ErrorDisplayText(error);
    }
  };
  EXPECT_EQ(shown({"Chargement", "", "Image non valide"}), "Image non valide.");
  EXPECT_EQ(shown({"Chargement", "Image non valide", ""}), "Image non valide.");
  EXPECT_EQ(shown({"", "", ""}), "");
}

}  // namespace
}  // namespace pixdraft
