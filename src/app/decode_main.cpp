// pixdraft-decode: decodes one picture for pixdraft and pixdraft-convert, in a process of its own
// under hard limits. Not meant to be run by hand.
#include <QCoreApplication>
#include <string>
#include <vector>

#include "decoder/decoder_helper.h"

int main(int argc, char** argv) {
#ifdef _WIN32
  // On Windows Qt finds its image decoders through the application object: beside the program,
  // where the Windows folder has them, and where its qt.conf says. Elsewhere they are where Qt
  // was installed, and the helper starts sooner without one.
  QCoreApplication application(argc, argv);
#endif
  return pixdraft::RunDecoderHelper(std::vector<std::string>(argv + 1, argv + argc));
}
