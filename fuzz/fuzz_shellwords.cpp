// SPDX-License-Identifier: GPL-3.0-or-later
// Quoting a word and splitting the text gives that one word back, byte for
// byte; several quoted words joined by blanks give back the same words; any
// text splits or is refused without harm.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/ShellWords.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string raw(reinterpret_cast<const char*>(data), size);
  SplitShellWords(raw);

  FuzzedDataProvider in(data, size);
  std::vector<std::string> words;
  std::string line;
  while (in.remaining_bytes() > 0 && words.size() < 8) {
    words.push_back(in.ConsumeRandomLengthString(256));
    const auto one = SplitShellWords(QuoteShellWord(words.back()));
    if (!one || one->size() != 1 || (*one)[0] != words.back()) {
      std::fprintf(stderr, "one quoted word did not come back whole\n");
      std::abort();
    }
    line += (line.empty() ? "" : " ") + QuoteShellWord(words.back());
  }
  if (SplitShellWords(line) != words) {
    std::fprintf(stderr, "quoted words joined by blanks did not come back\n");
    std::abort();
  }
  return 0;
}
