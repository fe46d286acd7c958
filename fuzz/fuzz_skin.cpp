// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes as a skin file: a valid skin with valid colours, or the engine's
// SkinError; never a crash and never another exception.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "ui/SkinFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  try {
    const Skin skin =
        ParseSkin(std::string_view(reinterpret_cast<const char*>(data), size), "fuzz.ssk");
    for (const QColor* c :
         {&skin.window, &skin.windowText, &skin.base, &skin.text, &skin.button, &skin.buttonText,
          &skin.highlight, &skin.highlightedText, &skin.accent, &skin.border, &skin.title})
      if (!c->isValid() || skin.name.empty()) {
        std::fprintf(stderr, "a skin with an invalid colour or no name was accepted\n");
        std::abort();
      }
  } catch (const SkinError&) {
  }
  return 0;
}
