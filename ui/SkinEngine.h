// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

#include <QFont>
#include <QObject>
#include <QPalette>
#include <QString>

#include "ui/SkinFile.h"

// The skin engine: one per program, on the main window. Setting SkinFile
// re-draws every window of the application at once: the skin becomes the
// application's palette and style sheet on the Fusion style, and the standard
// dialogs are the non-native ones so that they are skinned too.
class TsuiSkinEngine : public QObject {
 public:
  // The program folder (with its trailing '/') is the first place a missing
  // skin is looked for; empty means the folder of the running executable.
  explicit TsuiSkinEngine(const std::string& programFolder = std::string(),
                          QObject* parent = nullptr);

  // Loads the skin file and applies it. A path whose file does not exist is
  // looked for by its name in the program folder, then in
  // $XDG_DATA_HOME/velbrin/skins/, then in /usr/share/velbrin/skins/; when no
  // file is found nothing changes and nothing is reported. A file that is not
  // a valid skin throws SkinError (naming the file), leaves the look as it
  // was and empties SkinFile. The empty path restores the unskinned look.
  void SetSkinFile(const std::string& path);
  // The path last set that took effect, or empty.
  const std::string& SkinFile() const { return skinFile_; }
  // The file actually read for SkinFile, after the look-up.
  const std::string& LoadedFile() const { return loadedFile_; }

  void SetProgramFolder(const std::string& programFolder);
  const std::string& ProgramFolder() const { return programFolder_; }

 private:
  void Apply(const Skin& skin);
  void RestoreUnskinned();

  std::string programFolder_;
  std::string skinFile_;
  std::string loadedFile_;
  // The application's own look, kept from before the first skin.
  std::optional<QPalette> plainPalette_;
  QString plainStyleSheet_;
  QFont plainFont_;
  QString plainStyle_;
};

// Where a skin that is not at its path is looked for, in order.
std::string FindSkinByName(const std::string& path, const std::string& programFolder);
