// SPDX-License-Identifier: GPL-3.0-or-later
#include <cstdio>

int main() {
  std::fputs("libm9s: not built yet\n", stderr);
  return 1;
}
