// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/Unit_common.h"

#include <array>
#include <climits>
#include <cstdlib>

#include <unistd.h>

#include "common/ConfigKeys.h"
#include "common/ConfigLocation.h"
#include "platform/SystemError.h"
#include "ui/ShellService.h"

TfrmCommon* frmCommon = nullptr;

namespace {

// The Tools menu's product pages; in language 1 every entry opens its home page.
using ProductPages = std::array<const char*, 7>;
constexpr const char* kChineseHomePage = "https://velbrin.example.org/zh-cn/";
constexpr ProductPages kChineseProductPages{{kChineseHomePage, kChineseHomePage, kChineseHomePage,
                                             kChineseHomePage, kChineseHomePage, kChineseHomePage,
                                             kChineseHomePage}};
// In the order of the N_Product entries: each opens the page of the product its caption names.
constexpr ProductPages kEnglishProductPages{{
    "https://velbrin.example.org/en/products/dvd-ripper",
    "https://velbrin.example.org/en/products/mp4-converter",
    "https://velbrin.example.org/en/products/avi-converter",
    "https://velbrin.example.org/en/products/audio-converter",
    "https://velbrin.example.org/en/products/video-joiner",
    "https://velbrin.example.org/en/products/video-splitter",
    "https://velbrin.example.org/en/products/screen-recorder",
}};

// The per-language files and addresses. Row 0 is language 1 (Simplified
// Chinese), row 1 English (2 and every unknown value), row 2 language 3 (Japanese).
struct LanguageRow {
  const char* languageFile;
  const char* helpFile;
  const char* homePage;
  const char* support;
  const char* feedback;
  ProductPages productPages;
};

constexpr std::array<LanguageRow, 3> kLanguages{{
    {"language/gb.ini", "Velbrin_gb.chm", kChineseHomePage, "mailto:support.cn@velbrin.example.org",
     "https://velbrin.example.org/zh-cn/feedback", kChineseProductPages},
    {"language/en.ini", "Velbrin.chm", "https://velbrin.example.org/en/",
     "mailto:support@velbrin.example.org", "https://velbrin.example.org/en/feedback",
     kEnglishProductPages},
    {"language/jp.ini", "Velbrin_jp.chm", "https://velbrin.example.org/ja/",
     "mailto:support.jp@velbrin.example.org", "https://velbrin.example.org/ja/feedback",
     kEnglishProductPages},
}};

const LanguageRow& RowFor(int languageIndex) {
  switch (languageIndex) {
    case kLanguageChinese:
      return kLanguages[0];
    case kLanguageJapanese:
      return kLanguages[2];
    default:
      return kLanguages[1];
  }
}

std::string ExecutableFolder() {
  std::string path(PATH_MAX, '\0');
  ssize_t n = ::readlink("/proc/self/exe", path.data(), path.size());
  if (n < 0) RaiseLastOSError();
  path.resize(static_cast<size_t>(n));
  return path.substr(0, path.rfind('/') + 1);
}

}  // namespace

TfrmCommon::TfrmCommon(const std::string& programFolder) { StartupRoutine(programFolder); }

TfrmCommon::~TfrmCommon() = default;

void TfrmCommon::StartupRoutine(const std::string& programFolder) {
  programFolder_ = programFolder.empty() ? ExecutableFolder() : programFolder;
  if (programFolder_.back() != '/') programFolder_ += '/';
  const ConfigLocation location =
      LocateConfigFile(programFolder_, std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
  configFileName_ = location.fileName;
  config_ = ConfigStore(location.fileName, location.seedFileName);
  languageIndex_ = config_.ReadInteger(kLanguageKey.section, kLanguageKey.name, kLanguageEnglish);
  const LanguageRow& row = RowFor(languageIndex_);
  languageFileName_ = programFolder_ + row.languageFile;
  helpFileName_ = programFolder_ + row.helpFile;
  homePageAddress_ = row.homePage;
  supportAddress_ = row.support;
  feedbackAddress_ = row.feedback;
}

void TfrmCommon::OpenProductPage(int n) {
  const ProductPages& pages = RowFor(languageIndex_).productPages;
  if (n < 1 || n > static_cast<int>(pages.size())) return;  // no such menu entry
  OpenDocument(pages[static_cast<size_t>(n - 1)]);
}

void TfrmCommon::SetPowerOffService(IPowerOffService* powerOff) { powerOff_ = powerOff; }
