// A decoding helper that fails as the name of its copy says, for the decoding tests where no shell
// script can stand in (Windows): "spin" forever, "crash", answer "nonsense", "sleep", or
// "answer-N": an answer of status N and no pixels.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "platform/platform.h"

int main(int, char** argv) {
  pixdraft::platform::LimitThisProcess({});  // as the real helper sets itself up
  std::string does = argv[0];
  does = does.substr(does.find_last_of("/\\") + 1);
  does = does.substr(0, does.rfind('.'));
  if (does == "spin") {
    volatile bool forever = true;
    while (forever) {
    }
  }
  if (does == "crash") {
    volatile int* nowhere = nullptr;
    return *nowhere;
  }
  if (does.starts_with("answer-")) {
    const char answer[24] = {'P', 'X', 'D', '1', char(does.back() - '0')};
    std::fwrite(answer, 1, sizeof answer, stdout);
    return 0;
  }
  if (does == "sleep") std::this_thread::sleep_for(std::chrono::seconds(600));
  std::puts("nonsense");
  return 0;
}
