// pixdraft-convert: pictures to DXF drawings from the command line.
#include <QCoreApplication>
#include <csignal>
#include <iostream>

#include "app/converter.h"

int main(int argc, char** argv) {
  // A write past the file-size limit then fails with an error the converter reports, also on
  // standard output, instead of killing it without a word.
  std::signal(SIGXFSZ, SIG_IGN);
  // Qt finds its image decoders through the application object.
  QCoreApplication application(argc, argv);
  const std::vector<std::string> args(argv + 1, argv + argc);
  return pixdraft::RunConverter(args, std::cout, std::cerr);
}
