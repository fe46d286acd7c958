// SPDX-License-Identifier: GPL-3.0-or-later
// TfrmCommon's services on the desktop: the shell's "open" with its failure
// message, and keeping the computer awake while an encoder runs.
#include "common/Unit_common.h"

#include <string_view>

#include <QApplication>
#include <QMessageBox>

#include "common/LanguageTable.h"
#include "ui/PathText.h"
#include "ui/ShellService.h"
#include "ui/SleepInhibitor.h"

namespace {

constexpr char kSection[] = "frmCommon";

// The language key of what to install when the shell cannot open the target.
const char* OpenFailureHintKey(const std::string& target) {
  const std::string_view text(target);
  if (text.starts_with("mailto:")) return "msgInstallMailer";
  if (text.starts_with("http:") || text.starts_with("https:")) return "msgInstallBrowser";
  if (text.ends_with(".chm") || text.ends_with(".CHM")) return "msgInstallHelpViewer";
  return "msgInstallFileManager";  // the output folder
}

}  // namespace

QString TfrmCommon::Text(const char* section, const char* key) const {
  return LanguageTable(languageFileName_, languageIndex_).Text(section, key);
}

QString TfrmCommon::OpenFailureText(const std::string& target) const {
  QString text = Text(kSection, "msgOpenFailed");
  text.replace(QStringLiteral("%s"), PathToText(target));
  return text + QStringLiteral("\n\n") + Text(kSection, OpenFailureHintKey(target));
}

void TfrmCommon::OpenDocument(const std::string& target) {
  IShellService* shell = shell_;
  if (shell == nullptr) {
    if (!desktopShell_) desktopShell_ = std::make_unique<DesktopShellService>();
    shell = desktopShell_.get();
  }
  if (shell->Open(PathToText(target))) return;
  QMessageBox box(QMessageBox::Warning, Text("App", "Title"), OpenFailureText(target),
                  QMessageBox::Ok, QApplication::activeWindow());
  box.setObjectName(QStringLiteral("OpenFailedMessage"));
  box.exec();
}

void TfrmCommon::OpenHelpFile() { OpenDocument(helpFileName_); }

void TfrmCommon::OpenHomePage() { OpenDocument(homePageAddress_); }

void TfrmCommon::OpenSupport() { OpenDocument(supportAddress_); }

void TfrmCommon::OpenFeedbackPage() { OpenDocument(feedbackAddress_); }

void TfrmCommon::SetShellService(IShellService* shell) { shell_ = shell; }

void TfrmCommon::SetSleepInhibitor(ISleepInhibitor* inhibitor) {
  if (inhibitor_ && inhibitor_ != inhibitor) inhibitor_->Release();
  inhibitor_ = inhibitor;
}

void TfrmCommon::KeepAwake(bool encoderRunning) {
  if (!inhibitor_) return;
  if (encoderRunning)
    inhibitor_->Inhibit(Text(kSection, "msgInhibitReason"));
  else
    inhibitor_->Release();
}
