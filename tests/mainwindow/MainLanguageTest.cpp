// SPDX-License-Identifier: GPL-3.0-or-later
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QWidget>

#include "common/LanguageKeys.h"
#include "engine/UnitOverWrite.h"
#include "queue/Unit_batch.h"
#include "queue/Unit_common_directory.h"
#include "shutdown/UnitCloseWindows.h"
#include "shutdown/UnitSetting.h"
#include "tests/mainwindow/MainWindowFixture.h"
#include "tests/support/qt/FindControl.h"

namespace {

QString TextOf(QObject* object) {
  if (auto* menu = qobject_cast<QMenu*>(object)) return menu->title();
  if (auto* action = qobject_cast<QAction*>(object)) return action->text();
  if (auto* group = qobject_cast<QGroupBox*>(object)) return group->title();
  if (auto* label = qobject_cast<QLabel*>(object)) return label->text();
  if (auto* button = qobject_cast<QAbstractButton*>(object)) return button->text();
  return QStringLiteral("<no text>");
}

class MainLanguageTest : public MainWindowTest {
 protected:
  QList<QWidget*> Windows() const {
    return {window.get(),
            Find<TFrmDirectory>(window.get(), "TFrmDirectory"),
            Find<TFrmBatchAdd>(window.get(), "TFrmBatchAdd"),
            Find<TfrmOverWrite>(window.get(), "TfrmOverWrite"),
            Find<TfrmPowerOffWindows>(window.get(), "TfrmPowerOffWindows"),
            Find<TfrmSetting>(window.get(), "TfrmSetting")};
  }
  QWidget* WindowOf(std::string_view section) const {
    const char* sections[] = {"frmMain",      "frmDirectory",       "frmBatchAdd",
                              "frmOverWrite", "frmPowerOffWindows", "frmSetting"};
    for (int i = 0; i < 6; ++i)
      if (section == sections[i]) return Windows()[i];
    return nullptr;
  }
};

TEST_F(MainLanguageTest, everyKeySetsItsTargetInOrder) {
  std::string text;
  std::string_view section;
  for (const LanguageKey& entry : LanguageKeys()) {
    if (entry.section != section) text += "[" + std::string(section = entry.section) + "]\n";
    text += std::string(entry.key) + "=" + std::string(entry.section) + "." +
            std::string(entry.key) + "\n";
  }
  Start("[common]\nlanguage=2\n", "en.ini", text);
  EXPECT_EQ(ErrorCaption(), "App.Title");
  // No display name: X11 and Wayland would append it to every window title.
  EXPECT_EQ(QApplication::applicationDisplayName(), QApplication::applicationName());
  EXPECT_EQ(window->Texts().Title, "App.Title");
  for (const LanguageKey& entry : LanguageKeys()) {
    const QString expected = QString::fromUtf8(entry.section.data(), entry.section.size()) + "." +
                             QString::fromUtf8(entry.key.data(), entry.key.size());
    if (entry.section == "App" || IsKeptMessageKey(entry.key) || entry.key == "ListViewItem0")
      continue;
    QWidget* owner = WindowOf(entry.section);
    ASSERT_NE(owner, nullptr) << entry.section;
    if (entry.key == "caption") {
      EXPECT_EQ(owner->windowTitle(), expected);
      continue;
    }
    QString name = QString::fromUtf8(entry.key.data(), entry.key.size());
    if (name == "labelDiretroy") name = "LabelDirectory";
    if (entry.section == "frmDirectory" && name.startsWith("button")) name[0] = 'B';
    if (name.startsWith("groupBoxSettings") && name != "groupBoxSettings") name[0] = 'G';
    QObject* target = nullptr;
    for (QObject* candidate : owner->findChildren<QObject*>(name))
      if (!candidate->isWidgetType() || static_cast<QWidget*>(candidate)->window() == owner ||
          qobject_cast<QMenu*>(candidate))
        target = target ? target : candidate;
    ASSERT_NE(target, nullptr) << entry.section << "/" << entry.key;
    EXPECT_EQ(TextOf(target), expected) << entry.section << "/" << entry.key;
  }
  EXPECT_EQ(Find<QTableView>(window.get(), "listViewFiles")
                ->model()
                ->headerData(0, Qt::Horizontal)
                .toString(),
            "frmMain.ListViewItem0");
  EXPECT_EQ(window->Texts().msgFinishInfo, "frmMain.msgFinishInfo");
  EXPECT_EQ(window->Texts().StringStopCaption, "frmMain.StringStopCaption");
  EXPECT_EQ(Find<QLabel>(window.get(), "labelCurrentInfo")->text(), "frmMain.msgStatusReady");
  EXPECT_EQ(Find<TfrmPowerOffWindows>(window.get(), "TfrmPowerOffWindows")->YesCaption(),
            "frmPowerOffWindows.buttonYes");
  // Entries bound to an action show its caption.
  EXPECT_EQ(Find<QAction>(window.get(), "N1_2")->text(), "frmMain.ActionFileDelete");
  EXPECT_EQ(Find<QAction>(window.get(), "popMenu7")->text(), "frmMain.ActionFileMoveDown");
  EXPECT_EQ(Find<QPushButton>(window.get(), "buttonAdd")->text(), "frmMain.ActionFileAdd");
  EXPECT_EQ(Find<QPushButton>(window.get(), "BitBtnOutput")->text(), "frmMain.ActionSetDirectory");
}

TEST_F(MainLanguageTest, sectionAndKeyNamesInAnyCaseReachTheirDialogs) {
  Start(nullptr, "en.ini", "[FRMSETTING]\nBUTTONOK=Fine\n[frmmain]\nactionfileadd=Put\n");
  EXPECT_EQ(Find<TfrmSetting>(window.get(), "TfrmSetting")
                ->findChild<QAbstractButton*>("ButtonOK")
                ->text(),
            "Fine");
  EXPECT_EQ(Find<QPushButton>(window.get(), "buttonAdd")->text(), "Put");
}

TEST_F(MainLanguageTest, onlyAppSectionEmptiesEveryText) {
  Start(nullptr, "en.ini", "[App]\nTitle=Only Title\n");
  EXPECT_EQ(ErrorCaption(), "Only Title");
  for (QWidget* owner : Windows()) {
    EXPECT_EQ(owner->windowTitle(), "") << owner->objectName().toStdString();
    for (QObject* object : owner->findChildren<QObject*>()) {
      const QString name = object->objectName();
      if (object->isWidgetType() && static_cast<QWidget*>(object)->window() != owner &&
          !qobject_cast<QMenu*>(object))
        continue;  // a dialog the main window owns: checked on its own
      // Texts no key sets: the unit label, separators.
      if (name == "LabelSecond" || name.isEmpty()) continue;
      if (auto* action = qobject_cast<QAction*>(object); action && action->isSeparator()) continue;
      if (qobject_cast<QLabel*>(object) || qobject_cast<QAbstractButton*>(object) ||
          qobject_cast<QGroupBox*>(object) || qobject_cast<QMenu*>(object) ||
          qobject_cast<QAction*>(object)) {
        EXPECT_EQ(TextOf(object), "")
            << owner->objectName().toStdString() << "/" << name.toStdString();
      }
    }
  }
  EXPECT_EQ(Find<QTableView>(window.get(), "listViewFiles")
                ->model()
                ->headerData(0, Qt::Horizontal)
                .toString(),
            "");
  EXPECT_EQ(window->Texts().msgClearAll, "");
}

TEST_F(MainLanguageTest, japaneseFacesAndHiddenToolsOnlyForLanguage3) {
  const QString face = "Noto Sans CJK JP";
  auto prefers = [&](QWidget* control) { return control->font().families().value(0) == face; };
  for (int language : {1, 2, 3, 7}) {
    Start(("[common]\nlanguage=" + std::to_string(language) + "\n").c_str(),
          language == 1   ? "gb.ini"
          : language == 3 ? "jp.ini"
                          : "en.ini");
    const bool japanese = language == 3;
    for (const char* name : {"groupBoxButtons", "GroupBoxSettingsAudio", "labelCurrentInfo",
                             "labelChannel", "buttonConvert", "listViewFiles", "buttonMoveDown"})
      EXPECT_EQ(prefers(window->findChild<QWidget*>(name)), japanese) << language << name;
    EXPECT_EQ(prefers(Find<TFrmBatchAdd>(window.get(), "TFrmBatchAdd")
                          ->findChild<QWidget*>("checkBoxIsSubDirectorie")),
              japanese);
    EXPECT_EQ(prefers(Find<TFrmDirectory>(window.get(), "TFrmDirectory")
                          ->findChild<QWidget*>("LabelDirectory")),
              japanese);
    EXPECT_EQ(prefers(Find<TfrmOverWrite>(window.get(), "TfrmOverWrite")
                          ->findChild<QWidget*>("checkBoxNotice")),
              japanese);
    EXPECT_EQ(
        prefers(Find<TfrmSetting>(window.get(), "TfrmSetting")->findChild<QWidget*>("LabelSecond")),
        japanese);
    EXPECT_EQ(prefers(Find<TfrmPowerOffWindows>(window.get(), "TfrmPowerOffWindows")
                          ->findChild<QWidget*>("buttonNo")),
              japanese);
    // Not listed: the choice lists, the folder field and button, the window itself.
    for (const char* name :
         {"comboBoxChannel", "comboBoxVideoSize", "editOutputFolder", "BitBtnOutput"})
      EXPECT_FALSE(prefers(window->findChild<QWidget*>(name))) << language << name;
    EXPECT_FALSE(prefers(window.get()));
    EXPECT_EQ(Find<QMenu>(window.get(), "N_Tools")->menuAction()->isVisible(), !japanese)
        << language;
  }
}

}  // namespace
