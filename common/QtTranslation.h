// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTranslator>

// Qt's own texts (message-box buttons, the file dialogs, the folder model's
// "Computer") in the chosen language, installed on the application for as
// long as this object lives. Only Simplified Chinese (1) and Japanese (3) need
// one; English is Qt's own language. Create it before any window.
class QtTranslation {
 public:
  explicit QtTranslation(int languageIndex);
  QtTranslation(const QtTranslation&) = delete;
  QtTranslation& operator=(const QtTranslation&) = delete;

  // False when the language needs none or Qt's translations are not installed.
  bool Loaded() const { return loaded_; }

 private:
  QTranslator translator_;  // its destructor takes it off the application
  bool loaded_ = false;
};
