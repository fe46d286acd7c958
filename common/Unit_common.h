// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <string>

#include <QString>

#include "common/ConfigStore.h"

class IShellService;
class IPowerOffService;
class ISleepInhibitor;
class TsuiSkinEngine;

// The shared services object: created before any window, never shown, kept
// until the program ends. Its state is settled once by StartupRoutine.
class TfrmCommon {
 public:
  // Runs StartupRoutine on the folder of the running executable, or on the
  // given folder (with its trailing '/') when one is passed.
  explicit TfrmCommon(const std::string& programFolder = std::string());
  TfrmCommon(const TfrmCommon&) = delete;
  TfrmCommon& operator=(const TfrmCommon&) = delete;
  ~TfrmCommon();

  void StartupRoutine(const std::string& programFolder);

  const std::string& ProgramFolder() const { return programFolder_; }
  const std::string& ConfigFileName() const { return configFileName_; }
  int LanguageIndex() const { return languageIndex_; }
  const std::string& LanguageFileName() const { return languageFileName_; }
  const std::string& HelpFileName() const { return helpFileName_; }
  const std::string& HomePageAddress() const { return homePageAddress_; }
  const std::string& SupportAddress() const { return supportAddress_; }
  const std::string& FeedbackAddress() const { return feedbackAddress_; }
  const ConfigStore& Config() const { return config_; }

  // Help and web links, handed to the shell's "open" (Unit_common_shell.cpp).
  // When the desktop cannot open one, a message box says what to install.
  void OpenDocument(const std::string& target);
  void OpenHelpFile();
  void OpenHomePage();
  void OpenSupport();
  void OpenFeedbackPage();
  void OpenProductPage(int n);  // 1..7

  // Skins (Unit_common_skin.cpp).
  void ApplySkin(int index);
  void LoadSkinFile(const std::string& path);
  int ReadSkinIndex() const;
  void SaveSkinIndex(int index) const;

  // Automatic shutdown (Unit_common_power.cpp).
  bool ReadAutoPowerOff() const;
  int ReadAutoPowerOffWaitTime() const;
  void PowerOffComputer();

  // Services; the real ones are used until a test puts its own in place.
  void SetShellService(IShellService* shell);
  void SetPowerOffService(IPowerOffService* powerOff);
  // The sleep inhibitor held while an encoder runs; none until one is set.
  void SetSleepInhibitor(ISleepInhibitor* inhibitor);
  // Called with the runner's state each time an encoder starts or ends.
  void KeepAwake(bool encoderRunning);
  // A text of the language file (read anew; the empty text when missing).
  QString Text(const char* section, const char* key) const;
  // The main window's skin engine, which LoadSkinFile drives.
  void SetSkinEngine(TsuiSkinEngine* engine) { skinEngine_ = engine; }
  TsuiSkinEngine* SkinEngine() const { return skinEngine_; }

 private:
  QString OpenFailureText(const std::string& target) const;

  std::string programFolder_;
  std::string configFileName_;
  int languageIndex_ = 2;
  std::string languageFileName_;
  std::string helpFileName_;
  std::string homePageAddress_;
  std::string supportAddress_;
  std::string feedbackAddress_;
  ConfigStore config_{std::string()};
  IShellService* shell_ = nullptr;
  std::unique_ptr<IShellService> desktopShell_;  // used while no service is set
  IPowerOffService* powerOff_ = nullptr;
  ISleepInhibitor* inhibitor_ = nullptr;
  TsuiSkinEngine* skinEngine_ = nullptr;
};

// The one global instance, created first by the program entry.
extern TfrmCommon* frmCommon;
