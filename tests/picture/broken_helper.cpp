// A decoding helper that fails as $PIXDRAFT_TEST_HELPER_DOES says, for the decoding tests where
// no shell script can stand in (Windows): "spin" forever, "crash", answer "nonsense", or "sleep".
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "platform/platform.h"

int main() {
  pixdraft::platform::LimitThisProcess({});  // as the real helper sets itself up
  const char* chosen = std::getenv("PIXDRAFT_TEST_HELPER_DOES");
  const std::string does = chosen != nullptr ? chosen : "";
  if (does == "spin") {
    volatile bool forever = true;
    while (forever) {
    }
  }
  if (does == "crash") {
    volatile int* nowhere = nullptr;
    return *nowhere;
  }
  if (does == "sleep") std::this_thread::sleep_for(std::chrono::seconds(600));
  std::puts("nonsense");
  return 0;
}
