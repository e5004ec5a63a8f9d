// Where the program's messages reach the person at the screen. The application provides the real
// message boxes; tests provide a stand-in that records the texts.
#pragma once

#include <QString>

namespace pixdraft {

class MessageDisplay {
 public:
  virtual ~MessageDisplay() = default;

  // An information message: modal, captioned "PixDraft", no icon, one "OK" button that is the
  // default and that Esc also triggers. CR LF in `text` breaks the line. Returns once closed.
  virtual void ShowMessage(const QString& text) = 0;

  // An error: modal, captioned "PixDraft", the error icon and one OK button. `text` is shown as
  // given. Returns once closed.
  virtual void ShowError(const QString& text) = 0;
};

}  // namespace pixdraft
