#include "cli.h"

int main(int argc, char** argv) {
  return kvb::pack::RunCommandLine(argc, argv);
}
