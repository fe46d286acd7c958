// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/UnitMain.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLayout>
#include <QMenu>
#include <QScreen>

#include "app/ActionBinding.h"
#include "app/PlainToolTip.h"
#include "common/ConfigKeys.h"
#include "common/LanguageTable.h"
#include "common/Unit_common.h"
#include "console/ConsoleIO.h"
#include "engine/UnitOverWrite.h"
#include "queue/QueueModel.h"
#include "queue/Unit_batch.h"
#include "queue/Unit_common_directory.h"
#include "shutdown/UnitCloseWindows.h"
#include "shutdown/UnitSetting.h"
#include "ui/ErrorDisplay.h"
#include "ui/Guarded.h"
#include "ui/PathText.h"
#include "ui/Prompts.h"
#include "ui/SkinEngine.h"
#include "ui_UnitMain.h"

namespace {

constexpr int kClientWidth = 414;
constexpr int kClientHeight = 402;
constexpr int kColumnWidth = 399;
constexpr int kSkinCount = 18;
constexpr int kProductCount = 7;

}  // namespace

TfrmMain::TfrmMain(const MainServices& services, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                              Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      ui(std::make_unique<Ui::TfrmMain>()),
      queue_(new QueueModel(this)),
      ownPrompts_(std::make_unique<QtPrompts>()) {
  ui->setupUi(this);
  // The client area has a fixed size; the window adds the menu bar to it, at
  // whatever height the current skin gives the menu bar.
  centralWidget()->setFixedSize(kClientWidth, kClientHeight);
  layout()->setSizeConstraint(QLayout::SetFixedSize);
  adjustSize();
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
  suiSkinEngine = new TsuiSkinEngine(frmCommon ? frmCommon->ProgramFolder() : std::string(), this);
  if (frmCommon) frmCommon->SetSkinEngine(suiSkinEngine);
  SetUpControls();
  SetUpMenus();
  FillChoiceLists();
  CreateDialogs();
  CreateRunner();
  UseServices(services);
  FormCreate();
}

void TfrmMain::SetUpControls() {
  ui->listViewFiles->setModel(queue_);
  ui->listViewFiles->horizontalHeader()->resizeSection(0, kColumnWidth);
  ui->listViewFiles->horizontalHeader()->setStretchLastSection(true);
  ui->listViewFiles->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  ui->listViewFiles->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
  // File names are shown as they are, never read as markup.
  ui->labelCurrentInfo->setTextFormat(Qt::PlainText);
  ui->labelCurrentInfo->installEventFilter(new PlainToolTip(ui->labelCurrentInfo));

  BindButtonToAction(ui->buttonAdd, ui->ActionFileAdd);
  BindButtonToAction(ui->buttonDelete, ui->ActionFileDelete);
  BindButtonToAction(ui->buttonClearAll, ui->ActionFileClearAll);
  BindButtonToAction(ui->buttonMoveUp, ui->ActionFileMoveUp);
  BindButtonToAction(ui->buttonMoveDown, ui->ActionFileMoveDown);
  BindButtonToAction(ui->buttonConvert, ui->ActionConvertNow);
  BindButtonToAction(ui->BitBtnOutput, ui->ActionSetDirectory);

  connect(ui->editOutputFolder, &QLineEdit::textChanged, this, &TfrmMain::editOutputFolderChange);

  const std::pair<QAction*, void (TfrmMain::*)()> commands[] = {
      {ui->ActionFileAdd, &TfrmMain::ActionFileAddExecute},
      {ui->ActionFileBatchAdd, &TfrmMain::ActionFileBatchAddExecute},
      {ui->ActionFileDelete, &TfrmMain::ActionFileDeleteExecute},
      {ui->ActionFileClearAll, &TfrmMain::ActionFileClearAllExecute},
      {ui->ActionFileMoveUp, &TfrmMain::ActionFileMoveUpExecute},
      {ui->ActionFileMoveDown, &TfrmMain::ActionFileMoveDownExecute},
      {ui->ActionConvertNow, &TfrmMain::ActionConvertNowExecute},
      {ui->ActionSetDirectory, &TfrmMain::ActionSetDirectoryExecute},
      {ui->ActionExit, &TfrmMain::ActionExitExecute},
  };
  // Once the window has closed its runner is gone: no command acts any more.
  for (const auto& [action, handler] : commands)
    connect(action, &QAction::triggered, this, [this, handler] {
      if (!closing_) RunGuarded([&] { (this->*handler)(); });
    });
}

void TfrmMain::SetUpMenus() {
  const std::pair<QAction*, QAction*> fileEntries[] = {
      {ui->N1_1, ui->ActionFileAdd},    {ui->N1_11, ui->ActionFileBatchAdd},
      {ui->N1_2, ui->ActionFileDelete}, {ui->N1_3, ui->ActionFileClearAll},
      {ui->N1_5, ui->ActionFileMoveUp}, {ui->N1_6, ui->ActionFileMoveDown},
      {ui->N1_8, ui->ActionConvertNow}, {ui->N1_10, ui->ActionExit},
  };
  for (const auto& [entry, action] : fileEntries) BindEntryToAction(entry, action);
  // The separators keep the numbering of the entries around them.
  const char* separatorNames[] = {"N1_4", "N1_7", "N1_9"};
  int separator = 0;
  for (QAction* entry : ui->N_1->actions()) {
    if (entry->isSeparator() && separator < 3) entry->setObjectName(separatorNames[separator++]);
  }

  PopupMenu = new QMenu(ui->listViewFiles);
  PopupMenu->setObjectName(QStringLiteral("PopupMenu"));
  const std::pair<QAction*, QAction*> popEntries[] = {
      {ui->popMenu1, ui->ActionFileAdd},    {ui->popMenu2, ui->ActionFileBatchAdd},
      {ui->popMenu3, ui->ActionFileDelete}, {ui->popMenu4, ui->ActionFileClearAll},
      {ui->popMenu6, ui->ActionFileMoveUp}, {ui->popMenu7, ui->ActionFileMoveDown},
  };
  for (const auto& [entry, action] : popEntries) {
    BindEntryToAction(entry, action);
    PopupMenu->addAction(entry);
    if (entry == ui->popMenu4) PopupMenu->addSeparator()->setObjectName(QStringLiteral("popMenu5"));
  }
  connect(ui->listViewFiles, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
    PopupMenu->popup(ui->listViewFiles->viewport()->mapToGlobal(at));
  });

  connect(ui->N_Setting, &QAction::triggered, this, &TfrmMain::N_SettingClick);
  for (int k = 1; k <= kSkinCount; ++k) {
    QAction* entry = findChild<QAction*>(QStringLiteral("N_Skin%1").arg(k));
    entry->setCheckable(false);
    connect(entry, &QAction::triggered, this, [this, k] { N_SkinClick(k); });
  }
  for (int n = 1; n <= kProductCount; ++n) {
    QAction* entry = findChild<QAction*>(QStringLiteral("N_Product%1").arg(n));
    connect(entry, &QAction::triggered, this,
            [n] { RunGuarded([n] { frmCommon->OpenProductPage(n); }); });
  }
  const std::pair<QAction*, void (TfrmCommon::*)()> helpEntries[] = {
      {ui->N_LocalHelp, &TfrmCommon::OpenHelpFile}, {ui->N_HomePage, &TfrmCommon::OpenHomePage},
      {ui->N_Support, &TfrmCommon::OpenSupport},    {ui->N_FeedBack, &TfrmCommon::OpenFeedbackPage},
      {ui->N_Update, &TfrmCommon::OpenHomePage},
  };
  for (const auto& [entry, open] : helpEntries)
    connect(entry, &QAction::triggered, this,
            [open] { RunGuarded([open] { (frmCommon->*open)(); }); });
}

void TfrmMain::CreateDialogs() {
  frmPowerOffWindows_ = new TfrmPowerOffWindows(this);
  frmSetting_ = new TfrmSetting(this);
  frmOverWrite_ = new TfrmOverWrite(this);
  frmBatchAdd_ = new TFrmBatchAdd(
      [this](const std::string& folder, bool subDirs, const std::string& extension) {
        AddFilesFromFolder(folder, subDirs, extension);
      },
      this);
  frmDirectory_ = new TFrmDirectory(this);
}

void TfrmMain::UseServices(const MainServices& services) {
  prompts_ = services.prompts ? services.prompts : ownPrompts_.get();
  services_ = services;
  if (!frmCommon) return;
  // The shared services serve the dialogs too; the window's end takes them back.
  if (services.shell) frmCommon->SetShellService(services.shell);
  if (services.powerOff) frmCommon->SetPowerOffService(services.powerOff);
  if (services.sleepInhibitor) frmCommon->SetSleepInhibitor(services.sleepInhibitor);
}

std::array<LanguageWindow, 6> TfrmMain::LanguageWindows() {
  return {{{"frmMain", this},
           {"frmDirectory", frmDirectory_},
           {"frmBatchAdd", frmBatchAdd_},
           {"frmOverWrite", frmOverWrite_},
           {"frmPowerOffWindows", frmPowerOffWindows_},
           {"frmSetting", frmSetting_}}};
}

void TfrmMain::ApplyLanguage(const std::string& languageFileName) {
  const LanguageTable table(languageFileName, frmCommon->LanguageIndex());
  texts_ = ReadMainTexts(table);
  // Not the application's display name: X11 and Wayland would append it to
  // every window title.
  SetErrorCaption(texts_.Title);
  ui->labelCurrentInfo->setText(texts_.msgStatusReady);
  queue_->SetHeader(texts_.listHeader);
  ApplyLanguageTexts(table, LanguageWindows());
  frmPowerOffWindows_->SetYesCaption(table.Text("frmPowerOffWindows", "buttonYes"));
}

void TfrmMain::ApplyJapaneseAdjustments() {
  ApplyJapaneseFaces(LanguageWindows());
  ui->N_Tools->menuAction()->setVisible(false);
}

void TfrmMain::FormCreate() {
  setAcceptDrops(true);
  overwritePolicy_ = 0;
  // The runner's kill and stop-on-free switches, its terminate command and
  // split mode are set where it is created (CreateRunner). KeepGoing starts
  // true in the run.
}

void TfrmMain::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (shown_) return;
  shown_ = true;
  RunGuarded([this] { FormShow(); });
}

void TfrmMain::FormShow() {
  if (frmCommon->LanguageIndex() == kLanguageJapanese) ApplyJapaneseAdjustments();
  ApplyLanguage(frmCommon->LanguageFileName());
  RunGuarded([] { frmCommon->ApplySkin(frmCommon->ReadSkinIndex()); });
  ui->editOutputFolder->setText(LoadOutputFolder());
}

void TfrmMain::closeEvent(QCloseEvent* event) {
  FormClose();
  event->accept();
}

void TfrmMain::FormClose() {
  if (closing_) return;  // the runner is already gone
  closing_ = true;
  run_.Shutdown();
  // Shutdown stopped the encoder; releasing the runner also reaps the child
  // and joins its workers, so nothing of the run outlives the window. A close
  // from inside one of the runner's events (a message box it showed) leaves
  // that to the window's destructor.
  if (!consoleIO_->IsHandlingNotice()) consoleIO_.reset();
}

void TfrmMain::SetControlsEnabled(bool enabled) {
  QWidget* const controls[] = {
      ui->listViewFiles,        ui->buttonAdd,          ui->buttonDelete,
      ui->buttonClearAll,       ui->buttonMoveUp,       ui->buttonMoveDown,
      ui->comboBoxVideoBitrate, ui->comboBoxFrameRate,  ui->comboBoxVideoSize,
      ui->comboBoxAudioBitrate, ui->comboBoxSampleRate, ui->comboBoxChannel,
      ui->editOutputFolder,
  };
  for (QWidget* control : controls) control->setEnabled(enabled);
  QAction* const actions[] = {
      ui->ActionFileAdd,      ui->ActionFileDelete,   ui->ActionFileClearAll, ui->ActionFileMoveUp,
      ui->ActionFileMoveDown, ui->ActionSetDirectory, ui->ActionFileBatchAdd,
  };
  for (QAction* action : actions) action->setEnabled(enabled);
  ui->ActionConvertNow->setText(enabled ? texts_.StringStartCaption : texts_.StringStopCaption);
}

QString TfrmMain::LoadOutputFolder() const {
  return PathToText(frmCommon->Config().ReadString(kOutputFolderKey.section, kOutputFolderKey.name,
                                                   DefaultOutputFolder()));
}

void TfrmMain::SaveOutputFolder() {
  frmCommon->Config().WriteString(kOutputFolderKey.section, kOutputFolderKey.name,
                                  TextToPath(ui->editOutputFolder->text()));
}

void TfrmMain::editOutputFolderChange() {
  RunGuarded([this] { SaveOutputFolder(); });
}

void TfrmMain::ActionSetDirectoryExecute() {
  // The dialog opens on the current output folder, where the tree has it.
  frmDirectory_->SelectFolder(ui->editOutputFolder->text());
  if (prompts_->ExecModal(frmDirectory_) == QDialog::Accepted)
    ui->editOutputFolder->setText(frmDirectory_->ChosenFolder());
}

void TfrmMain::ActionExitExecute() { close(); }

void TfrmMain::N_SettingClick() {
  frmSetting_->show();
  frmSetting_->raise();
  frmSetting_->activateWindow();
}

void TfrmMain::N_SkinClick(int index) {
  RunGuarded([index] {
    frmCommon->ApplySkin(index);
    frmCommon->SaveSkinIndex(index);
  });
}

int TfrmMain::QueueCount() const { return queue_->Count(); }

std::string TfrmMain::EntryPath(int index) const { return TextToPath(queue_->Entry(index)); }

void TfrmMain::SelectEntry(int index) { SelectRow(index); }

std::string TfrmMain::OutputFolderText() const { return TextToPath(ui->editOutputFolder->text()); }

std::string TfrmMain::ResolveExistingOutput(const std::string& path) {
  return ::ResolveExistingOutput(path, overwritePolicy_, [this] {
    prompts_->ExecModal(frmOverWrite_);
    return frmOverWrite_->AnswerCode();
  });
}

void TfrmMain::ClearLatestTime() { progress_.LatestTimeSeconds = 0; }

void TfrmMain::ResetStatus() {
  ui->labelCurrentInfo->setText(texts_.msgStatusReady);
  ui->progressBarCurrent->setValue(0);
}

bool TfrmMain::ReadAutoPowerOff() const { return frmCommon->ReadAutoPowerOff(); }

void TfrmMain::ShowPowerOffCountdown() { prompts_->ExecModal(frmPowerOffWindows_); }

bool TfrmMain::AskFinishQuestion(const RunReport& report) {
  return prompts_->AskYesNo(this, texts_.Title,
                            PathToText(FinishQuestionText(report, texts_.Finish)));
}

void TfrmMain::OpenOutputFolder(const std::string& folder) { frmCommon->OpenDocument(folder); }
