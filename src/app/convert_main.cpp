// pixdraft-convert: pictures to DXF drawings from the command line.
#include <QCoreApplication>
#include <iostream>

#include "converter.h"

int main(int argc, char** argv) {
  // Qt finds its image decoders through the application object.
  QCoreApplication application(argc, argv);
  const std::vector<std::string> args(argv + 1, argv + argc);
  return pixdraft::RunConverter(args, std::cout, std::cerr);
}
