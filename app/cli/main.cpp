#include <cstdio>
#include <string>

namespace {
int Usage() {
  std::fputs("usage: lumatrim-cli info [--json] FILE...\n", stderr);
  return 2;
}
}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  return Usage();
}
