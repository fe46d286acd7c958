// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include "engine/RunReport.h"

class LanguageTable;

// The main window's texts kept from the language file for later use.
struct MainTexts {
  QString Title;  // App/Title: questions' and errors' caption
  QString msgStatusReady;
  QString msgStatusRun;
  QString msgClearAll;
  QString msgFolderView;
  QString msgFinishInfo;
  QString StringStartCaption;
  QString StringStopCaption;
  QString listHeader;  // frmMain/ListViewItem0
  // The finish question's texts, failures included (FinishQuestionText).
  FinishTexts Finish;
};

// The kept texts as the language file gives them; the finish question's
// failure texts an older language file lacks keep their English text.
MainTexts ReadMainTexts(const LanguageTable& table);
