// exit-with.exe <code>: ends with the given 32-bit exit code (decimal or 0x
// hexadecimal), so the launcher's mapping can be checked against real codes.
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: exit-with.exe <code>\n");
    return 125;
  }
  std::printf("exiting with %s\n", argv[1]);
  return static_cast<int>(std::strtoul(argv[1], nullptr, 0));
}
