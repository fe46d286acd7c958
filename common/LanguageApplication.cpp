// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/LanguageApplication.h"

#include <initializer_list>

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>

#include "common/LanguageKeys.h"
#include "common/LanguageTable.h"

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

// The texts the main window keeps rather than applies to a control.
bool KeptByMainWindow(const LanguageKey& entry) {
  return entry.section == "App" || (entry.section == "frmMain" &&
                                    (IsKeptMessageKey(entry.key) || entry.key == "ListViewItem0"));
}

QWidget* WindowOf(std::span<const LanguageWindow> windows, std::string_view section) {
  for (const LanguageWindow& window : windows)
    if (window.section == section) return window.window;
  return nullptr;
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

struct JapaneseControls {
  std::string_view section;
  std::initializer_list<const char*> names;
};

// Each window's controls that show language texts, in the order they switch.
const JapaneseControls kJapaneseControls[] = {
    {"frmMain",
     {"groupBoxButtons",
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
      "listViewFiles"}},
    {"frmBatchAdd",
     {"labelDirectory", "labelFileNameExt", "labelNoticeFileNameExt", "buttonCancel", "buttonOK",
      "checkBoxIsSubDirectorie"}},
    {"frmDirectory", {"LabelDirectory", "ButtonCancel", "ButtonOK"}},
    {"frmOverWrite",
     {"labelDes", "buttonOverWrite", "buttonIgnore", "buttonAutoName", "checkBoxNotice"}},
    {"frmSetting",
     {"labelWaitTime", "LabelSecond", "checkBoxAutoPowerOff", "ButtonOK", "ButtonCancel"}},
    {"frmPowerOffWindows", {"labelNotice", "buttonYes", "buttonNo"}},
};

}  // namespace

void ApplyLanguageTexts(const LanguageTable& table, std::span<const LanguageWindow> windows) {
  for (const LanguageKey& entry : LanguageKeys()) {
    if (KeptByMainWindow(entry)) continue;
    QWidget* window = WindowOf(windows, entry.section);
    if (!window) continue;
    const QString text = table.Text(std::string(entry.section), std::string(entry.key));
    if (entry.key == "caption") {
      window->setWindowTitle(text);
      continue;
    }
    const QString name = ControlName(entry.section, entry.key);
    if (window->objectName() == name) continue;
    if (QObject* target = FindControl(window, name)) SetObjectText(target, text);
  }
}

void ApplyJapaneseFaces(std::span<const LanguageWindow> windows) {
  for (const JapaneseControls& controls : kJapaneseControls) {
    if (QWidget* window = WindowOf(windows, controls.section))
      PreferJapaneseFace(window, controls.names);
  }
}
