// Entry point of build/quillfern.
#include <cstdio>
#include <cstring>

namespace {

constexpr const char* kUsage =
    "usage: quillfern [--headless] [--listen ADDR] [--port N] [--settings PATH] [--workers N]\n"
    "       quillfern --help | --version\n";

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0) {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (std::strcmp(argv[i], "--version") == 0) {
      std::printf("quillfern %s\n", QUILLFERN_VERSION);
      return 0;
    }
  }
  std::fputs("quillfern: the endpoint is not built yet; only --help and --version work\n", stderr);
  return 2;
}
