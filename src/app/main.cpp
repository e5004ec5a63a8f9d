// pixdraft [picture]: the main window, with the picture loaded when one is named.
#include <iostream>

#include "app/application.h"
#include "app/message_boxes.h"
#include "app/template_folder.h"
#include "app/window_command_line.h"
#include "platform/platform.h"
#include "ui/main_window.h"

int main(int argc, char* argv[]) {
  // A save past the file-size limit fails with an error shown, instead of ending the program; an
  // interrupted save leaves nothing behind.
  pixdraft::platform::SetUpProgram();
  // Read before Qt takes its own options out of argv.
  const pixdraft::WindowCommandLine command = pixdraft::ParseWindowArguments(argc, argv);
  if (const auto status = pixdraft::AnswerWithoutWindow(command, std::cout, std::cerr)) {
    return *status;
  }
  const auto application = pixdraft::OpenApplication(argc, argv);
  pixdraft::MessageBoxes messages;

  // The templates as the converter finds them, so the window saves from any folder.
  pixdraft::TForm1 window(messages, [folder = pixdraft::platform::ProgramFolder()] {
    return pixdraft::DefaultTemplatePaths(folder);
  });
  window.show();
  if (command.picture) window.OpenPictureLater(*command.picture);
  return application->exec();
}
