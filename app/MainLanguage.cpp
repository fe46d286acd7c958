// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's language routines: the language file's texts onto every
// window, and the Japanese font preference.
#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>

#include "app/QueueModel.h"
#include "app/UnitMain.h"
#include "common/LanguageKeys.h"
#include "common/LanguageTable.h"
#include "common/Unit_common.h"
#include "engine/UnitOverWrite.h"
#include "queue/Unit_batch.h"
#include "queue/Unit_common_directory.h"
#include "shutdown/UnitCloseWindows.h"
#include "shutdown/UnitSetting.h"
#include "ui/ErrorDisplay.h"
#include "ui_UnitMain.h"

namespace {

// A face that draws shared Han characters in their Japanese shapes.
const QString kJapaneseFace = QStringLiteral("Noto Sans CJK JP");

// Keys whose control is spelt differently from the key.
QString ControlName(std::string_view section, std::string_view key) {
  if (section == "frmMain" && key == "groupBoxSettingsVideo")
    return QStringLiteral("GroupBoxSettingsVideo");
  if (section == "frmMain" && key == "groupBoxSettingsAudio")
    return QStringLiteral("GroupBoxSettingsAudio");
  if (section == "frmDirectory" && key == "labelDiretroy") return QStringLiteral("LabelDirectory");
  if (section == "frmDirectory" && key == "buttonOK") return QStringLiteral("ButtonOK");
  if (section == "frmDirectory" && key == "buttonCancel") return QStringLiteral("ButtonCancel");
  return QString::fromUtf8(key.data(), static_cast<qsizetype>(key.size()));
}

// The named control of this window itself, never one of a dialog it owns.
QObject* FindControl(QWidget* window, const QString& name) {
  for (QObject* object : window->findChildren<QObject*>(name)) {
    QObject* owner = object->parent();
    // Menus are pop-up windows of their own but belong to the window they hang from.
    while (owner && !(owner->isWidgetType() && static_cast<QWidget*>(owner)->isWindow() &&
                      !qobject_cast<QMenu*>(owner)))
      owner = owner->parent();
    if (owner == window || object == window) return object;
  }
  return nullptr;
}

void SetObjectText(QObject* target, const QString& text) {
  if (auto* menu = qobject_cast<QMenu*>(target)) {
    menu->setTitle(text);
  } else if (auto* action = qobject_cast<QAction*>(target)) {
    action->setText(text);
  } else if (auto* group = qobject_cast<QGroupBox*>(target)) {
    group->setTitle(text);
  } else if (auto* label = qobject_cast<QLabel*>(target)) {
    label->setText(text);
  } else if (auto* button = qobject_cast<QAbstractButton*>(target)) {
    button->setText(text);
  }
}

// Keeps a control's current face, so that a frame's new font does not reach it.
void PinFace(QWidget* control) {
  QFont font = control->font();
  font.setFamilies(font.families().isEmpty() ? QStringList{font.family()} : font.families());
  control->setFont(font);
}

// Only the named controls switch: controls inside a named frame that are not
// named themselves (the choice lists, the output folder field) keep their face.
void PreferJapaneseFace(QWidget* window, const std::initializer_list<const char*>& names) {
  QStringList listed;
  for (const char* name : names) listed << QString::fromLatin1(name);
  for (const QString& name : listed) {
    auto* frame = window->findChild<QGroupBox*>(name);
    if (!frame) continue;
    for (QWidget* inner : frame->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
      if (!listed.contains(inner->objectName()) && !qobject_cast<QGroupBox*>(inner)) PinFace(inner);
    }
  }
  for (const QString& name : listed) {
    auto* control = window->findChild<QWidget*>(name);
    if (!control) continue;
    QFont font = control->font();
    QStringList families = font.families();
    if (families.isEmpty()) families << font.family();
    families.removeAll(kJapaneseFace);
    families.prepend(kJapaneseFace);
    font.setFamilies(families);
    control->setFont(font);
  }
}

}  // namespace

void TfrmMain::ApplyLanguage(const std::string& languageFileName) {
  const LanguageTable table(languageFileName, frmCommon->LanguageIndex());
  auto windowOf = [this](std::string_view section) -> QWidget* {
    if (section == "frmMain") return this;
    if (section == "frmDirectory") return frmDirectory_;
    if (section == "frmBatchAdd") return frmBatchAdd_;
    if (section == "frmOverWrite") return frmOverWrite_;
    if (section == "frmPowerOffWindows") return frmPowerOffWindows_;
    if (section == "frmSetting") return frmSetting_;
    return nullptr;
  };
  QString* const kept[] = {&StringStartCaption, &StringStopCaption, &msgStatusReady, &msgStatusRun,
                           &msgClearAll,        &msgFolderView,     &msgFinishInfo};
  const char* const keptKeys[] = {"StringStartCaption", "StringStopCaption", "msgStatusReady",
                                  "msgStatusRun",       "msgClearAll",       "msgFolderView",
                                  "msgFinishInfo"};

  for (const LanguageKey& entry : LanguageKeys()) {
    const QString text = table.Text(std::string(entry.section), std::string(entry.key));
    if (entry.section == "App") {
      Title = text;
      // Not the application's display name: X11 and Wayland would append it to
      // every window title.
      SetErrorCaption(text);
      continue;
    }
    if (entry.section == "frmMain" && IsKeptMessageKey(entry.key)) {
      for (size_t i = 0; i < std::size(keptKeys); ++i) {
        if (entry.key == keptKeys[i]) *kept[i] = text;
      }
      if (entry.key == "msgStatusReady") ui->labelCurrentInfo->setText(text);
      continue;
    }
    if (entry.section == "frmMain" && entry.key == "ListViewItem0") {
      Queue().SetHeader(text);
      continue;
    }
    QWidget* window = windowOf(entry.section);
    if (!window) continue;
    if (entry.key == "caption") {
      window->setWindowTitle(text);
      continue;
    }
    if (entry.section == "frmPowerOffWindows" && entry.key == "buttonYes")
      frmPowerOffWindows_->SetYesCaption(text);
    const QString name = ControlName(entry.section, entry.key);
    if (window->objectName() == name) continue;
    if (QObject* target = FindControl(window, name)) SetObjectText(target, text);
  }
  ApplyFinishTexts(table);
}

void TfrmMain::ApplyFinishTexts(const LanguageTable& table) {
  const FinishTexts defaults;
  Finish.folderView = msgFolderView.toStdString();
  Finish.finishInfo = msgFinishInfo.toStdString();
  // Keys an older language file lacks keep their English text, so failures are never hidden.
  const std::pair<const char*, std::string FinishTexts::*> keys[] = {
      {"msgConvertedCount", &FinishTexts::convertedCount},
      {"msgFailedFiles", &FinishTexts::failedFiles},
      {"msgFailedMore", &FinishTexts::failedMore},
      {"msgReasonExitCode", &FinishTexts::reasonExitCode},
      {"msgReasonSignal", &FinishTexts::reasonSignal},
      {"msgReasonNotAFile", &FinishTexts::reasonNotAFile},
      {"msgEmptyEntry", &FinishTexts::emptyEntry},
  };
  for (const auto& [key, field] : keys) {
    const QString text = table.Text("frmMain", key);
    Finish.*field = text.isEmpty() ? defaults.*field : text.toStdString();
  }
}

void TfrmMain::ApplyJapaneseAdjustments() {
  PreferJapaneseFace(this, {"groupBoxButtons",
                            "groupBoxStatus",
                            "groupBoxSettings",
                            "GroupBoxSettingsVideo",
                            "GroupBoxSettingsAudio",
                            "groupBoxOutput",
                            "labelCurrentDecrption",
                            "labelCurrentProgress",
                            "labelCurrentInfo",
                            "labelVideoBitrate",
                            "labelFrameRate",
                            "labelVideoSize",
                            "labelAudioBitrate",
                            "labelSampleRate",
                            "labelChannel",
                            "labelOutput",
                            "buttonAdd",
                            "buttonDelete",
                            "buttonClearAll",
                            "buttonMoveUp",
                            "buttonMoveDown",
                            "buttonConvert",
                            "listViewFiles"});
  PreferJapaneseFace(frmBatchAdd_, {"labelDirectory", "labelFileNameExt", "labelNoticeFileNameExt",
                                    "buttonCancel", "buttonOK", "checkBoxIsSubDirectorie"});
  PreferJapaneseFace(frmDirectory_, {"LabelDirectory", "ButtonCancel", "ButtonOK"});
  PreferJapaneseFace(frmOverWrite_, {"labelDes", "buttonOverWrite", "buttonIgnore",
                                     "buttonAutoName", "checkBoxNotice"});
  PreferJapaneseFace(frmSetting_, {"labelWaitTime", "LabelSecond", "checkBoxAutoPowerOff",
                                   "ButtonOK", "ButtonCancel"});
  PreferJapaneseFace(frmPowerOffWindows_, {"labelNotice", "buttonYes", "buttonNo"});
  ui->N_Tools->menuAction()->setVisible(false);
}
