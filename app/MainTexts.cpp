// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/MainTexts.h"

#include <iterator>
#include <string>
#include <utility>

#include "common/LanguageKeys.h"
#include "common/LanguageTable.h"

MainTexts ReadMainTexts(const LanguageTable& table) {
  MainTexts texts;
  const std::pair<const char*, QString MainTexts::*> kept[] = {
      {"StringStartCaption", &MainTexts::StringStartCaption},
      {"StringStopCaption", &MainTexts::StringStopCaption},
      {"msgStatusReady", &MainTexts::msgStatusReady},
      {"msgStatusRun", &MainTexts::msgStatusRun},
      {"msgClearAll", &MainTexts::msgClearAll},
      {"msgFolderView", &MainTexts::msgFolderView},
      {"msgFinishInfo", &MainTexts::msgFinishInfo},
  };
  for (const LanguageKey& entry : LanguageKeys()) {
    const auto text = [&] {
      return table.Text(std::string(entry.section), std::string(entry.key));
    };
    if (entry.section == "App") {
      texts.Title = text();
    } else if (entry.section == "frmMain" && IsKeptMessageKey(entry.key)) {
      for (const auto& [key, field] : kept)
        if (entry.key == key) texts.*field = text();
    } else if (entry.section == "frmMain" && entry.key == "ListViewItem0") {
      texts.listHeader = text();
    }
  }

  const FinishTexts defaults;
  texts.Finish.folderView = texts.msgFolderView.toStdString();
  texts.Finish.finishInfo = texts.msgFinishInfo.toStdString();
  const std::pair<const char*, std::string FinishTexts::*> finish[] = {
      {"msgConvertedCount", &FinishTexts::convertedCount},
      {"msgFailedFiles", &FinishTexts::failedFiles},
      {"msgFailedMore", &FinishTexts::failedMore},
      {"msgReasonExitCode", &FinishTexts::reasonExitCode},
      {"msgReasonSignal", &FinishTexts::reasonSignal},
      {"msgReasonNotAFile", &FinishTexts::reasonNotAFile},
      {"msgEmptyEntry", &FinishTexts::emptyEntry},
  };
  for (const auto& [key, field] : finish) {
    const QString text = table.Text("frmMain", key);
    texts.Finish.*field = text.isEmpty() ? defaults.*field : text.toStdString();
  }
  return texts;
}
