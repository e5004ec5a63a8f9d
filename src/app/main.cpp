// pixdraft [picture]: the main window, with the picture loaded when one is named.
#include <QCommandLineParser>
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
  if (const auto status = pixdraft::AnswerWithoutWindow(argc, argv, std::cout)) return *status;
  pixdraft::TApplication application(argc, argv);
  pixdraft::MessageBoxes messages;

  // Refuses options that neither Qt nor the program knows.
  QCommandLineParser parser;
  parser.process(application);

  // The templates as the converter finds them, so the window saves from any folder.
  pixdraft::TForm1 window(messages, [folder = pixdraft::ProgramFolder()] {
    return pixdraft::DefaultTemplatePaths(folder);
  });
  window.show();
  if (const auto picture = pixdraft::PictureArgument(argc, argv)) window.OpenPictureLater(*picture);
  return application.exec();
}
