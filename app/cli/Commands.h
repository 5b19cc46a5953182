#pragma once

// One function per verb of lumatrim-cli. Each gets the arguments after the
// verb and returns the exit status: 0 success, 1 a failure, 2 a usage error.
namespace cli {

int RunInfo(int argc, char** argv);
int RunStrip(int argc, char** argv);
int RunIptc(int argc, char** argv);
int RunRotate(int argc, char** argv);
int RunOptimize(int argc, char** argv);

}  // namespace cli
