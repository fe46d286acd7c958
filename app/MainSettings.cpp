// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's six choice lists, the command line they give, and the
// default output folder.

#include "app/UnitMain.h"
#include "common/Unit_common.h"
#include "engine/CommandLine.h"
#include "engine/ConversionSettings.h"
#include "ui/DefaultFolders.h"
#include "ui_UnitMain.h"

void TfrmMain::FillChoiceLists() {
  const std::pair<QComboBox*, ConversionChoice> lists[] = {
      {ui->comboBoxVideoSize, ConversionChoice::VideoSize},
      {ui->comboBoxVideoBitrate, ConversionChoice::VideoBitrate},
      {ui->comboBoxFrameRate, ConversionChoice::FrameRate},
      {ui->comboBoxAudioBitrate, ConversionChoice::AudioBitrate},
      {ui->comboBoxSampleRate, ConversionChoice::SampleRate},
      {ui->comboBoxChannel, ConversionChoice::Channels},
  };
  for (const auto& [list, choice] : lists) {
    list->clear();
    for (const std::string& text : ChoiceItemTexts(choice))
      list->addItem(QString::fromStdString(text));
    list->setCurrentIndex(ChoiceDefaultIndex(choice));
  }
}

std::string TfrmMain::BuildCommandLine(const std::string& shortSource,
                                       const std::string& shortOutput) const {
  const ConversionSettings settings = MakeConversionSettings(
      ui->comboBoxVideoSize->currentIndex(), ui->comboBoxVideoBitrate->currentIndex(),
      ui->comboBoxFrameRate->currentIndex(), ui->comboBoxAudioBitrate->currentIndex(),
      ui->comboBoxSampleRate->currentIndex(), ui->comboBoxChannel->currentIndex());
  return ::BuildCommandLine(frmCommon->ProgramFolder(), settings, shortSource, shortOutput);
}

std::string TfrmMain::DefaultOutputFolder() { return ::DefaultOutputFolder(); }
