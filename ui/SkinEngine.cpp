// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/SkinEngine.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <vector>

#include <QApplication>
#include <QStyle>
#include <QStyleFactory>

#include "ui/SkinShades.h"
#include "ui/SkinStyleSheet.h"

namespace {

constexpr const char* kSystemSkinFolder = "/usr/share/velbrin/skins/";

bool Exists(const std::string& path) {
  std::error_code ignored;
  return !path.empty() && std::filesystem::exists(path, ignored);
}

std::string UserSkinFolder() {
  const char* data = std::getenv("XDG_DATA_HOME");
  std::string folder;
  // The base directory rules ignore a relative XDG_DATA_HOME.
  if (data != nullptr && data[0] == '/') {
    folder = data;
  } else {
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] == '\0') return std::string();
    folder = std::string(home) + "/.local/share";
  }
  if (folder.back() != '/') folder += '/';
  return folder + "velbrin/skins/";
}

QApplication& Application() {
  auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
  if (app == nullptr) throw std::logic_error("the skin engine needs a QApplication");
  return *app;
}

}  // namespace

std::string FindSkinByName(const std::string& path, const std::string& programFolder) {
  if (Exists(path)) return path;
  const std::string name = std::filesystem::path(path).filename().string();
  if (name.empty()) return std::string();
  const std::string userFolder = UserSkinFolder();
  std::vector<std::string> candidates;
  if (!programFolder.empty()) candidates.push_back(programFolder + name);
  if (!userFolder.empty()) candidates.push_back(userFolder + name);
  candidates.push_back(kSystemSkinFolder + name);
  for (const std::string& candidate : candidates)
    if (Exists(candidate)) return candidate;
  return std::string();
}

TsuiSkinEngine::TsuiSkinEngine(const std::string& programFolder, QObject* parent)
    : QObject(parent) {
  SetProgramFolder(programFolder);
}

void TsuiSkinEngine::SetProgramFolder(const std::string& programFolder) {
  programFolder_ = programFolder;
  if (programFolder_.empty() && QCoreApplication::instance() != nullptr)
    programFolder_ = QCoreApplication::applicationDirPath().toStdString();
  if (!programFolder_.empty() && programFolder_.back() != '/') programFolder_ += '/';
}

void TsuiSkinEngine::SetSkinFile(const std::string& path) {
  if (path.empty()) {
    RestoreUnskinned();
    skinFile_.clear();
    loadedFile_.clear();
    return;
  }
  const std::string found = FindSkinByName(path, programFolder_);
  if (found.empty()) return;
  Skin skin;
  try {
    skin = ReadSkinFile(found);
  } catch (const SkinError&) {
    skinFile_.clear();
    loadedFile_.clear();
    throw;
  }
  Apply(skin);
  skinFile_ = path;
  loadedFile_ = found;
}

void TsuiSkinEngine::Apply(const Skin& skin) {
  QApplication& app = Application();
  const bool firstSkin = !plainPalette_;
  if (firstSkin) {
    plainPalette_ = QApplication::palette();
    plainStyleSheet_ = app.styleSheet();
    plainFont_ = QApplication::font();
    plainStyle_ = app.style()->name();
  }
  const SkinShades shades = MakeShades(skin);
  // Message boxes and file dialogs must be Qt's own for the skin to reach them.
  QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs, true);
  // Once a style sheet is set, style() is its wrapper and has no name of its
  // own, so the base style is chosen only with the first skin.
  if (firstSkin && app.style()->name().compare(QLatin1String("fusion"), Qt::CaseInsensitive) != 0)
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
  QFont font = plainFont_;
  if (!skin.fontFamily.empty()) {
    font.setFamilies({QString::fromStdString(skin.fontFamily), plainFont_.family()});
    if (skin.fontPoints > 0) font.setPointSize(skin.fontPoints);
  }
  QApplication::setFont(font);
  QApplication::setPalette(SkinPalette(shades));
  app.setStyleSheet(SkinStyleSheet(skin, shades));
}

void TsuiSkinEngine::RestoreUnskinned() {
  if (!plainPalette_) return;
  QApplication& app = Application();
  app.setStyleSheet(plainStyleSheet_);
  if (!plainStyle_.isEmpty() &&
      plainStyle_.compare(QLatin1String("fusion"), Qt::CaseInsensitive) != 0)
    QApplication::setStyle(plainStyle_);
  QApplication::setPalette(*plainPalette_);
  QApplication::setFont(plainFont_);
  plainPalette_.reset();
}
