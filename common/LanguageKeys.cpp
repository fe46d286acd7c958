// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/LanguageKeys.h"

#include <algorithm>
#include <array>

namespace {

constexpr std::array kKeys = std::to_array<LanguageKey>({
    {"App", "Title"},

    {"frmMain", "caption"},
    {"frmMain", "ActionFileAdd"},
    {"frmMain", "ActionFileBatchAdd"},
    {"frmMain", "ActionConvertNow"},
    {"frmMain", "ActionFileDelete"},
    {"frmMain", "ActionFileClearAll"},
    {"frmMain", "ActionFileMoveUp"},
    {"frmMain", "ActionFileMoveDown"},
    {"frmMain", "ActionExit"},
    {"frmMain", "ActionSetDirectory"},
    {"frmMain", "ListViewItem0"},
    {"frmMain", "groupBoxStatus"},
    {"frmMain", "groupBoxSettings"},
    {"frmMain", "groupBoxSettingsVideo"},
    {"frmMain", "groupBoxSettingsAudio"},
    {"frmMain", "groupBoxOutput"},
    {"frmMain", "labelCurrentDecrption"},
    {"frmMain", "labelCurrentProgress"},
    {"frmMain", "labelOutput"},
    {"frmMain", "labelVideoBitrate"},
    {"frmMain", "labelFrameRate"},
    {"frmMain", "labelVideoSize"},
    {"frmMain", "labelAudioBitrate"},
    {"frmMain", "labelSampleRate"},
    {"frmMain", "labelChannel"},
    {"frmMain", "StringStartCaption"},
    {"frmMain", "StringStopCaption"},
    {"frmMain", "msgStatusReady"},
    {"frmMain", "msgStatusRun"},
    {"frmMain", "msgClearAll"},
    {"frmMain", "msgFolderView"},
    {"frmMain", "msgFinishInfo"},
    {"frmMain", "N_1"},
    {"frmMain", "N_Skin"},
    {"frmMain", "N_Skin1"},
    {"frmMain", "N_Skin2"},
    {"frmMain", "N_Skin3"},
    {"frmMain", "N_Skin4"},
    {"frmMain", "N_Skin5"},
    {"frmMain", "N_Skin6"},
    {"frmMain", "N_Skin7"},
    {"frmMain", "N_Skin8"},
    {"frmMain", "N_Skin9"},
    {"frmMain", "N_Skin10"},
    {"frmMain", "N_Skin11"},
    {"frmMain", "N_Skin12"},
    {"frmMain", "N_Skin13"},
    {"frmMain", "N_Skin14"},
    {"frmMain", "N_Skin15"},
    {"frmMain", "N_Skin16"},
    {"frmMain", "N_Skin17"},
    {"frmMain", "N_Skin18"},
    {"frmMain", "N_Tools"},
    {"frmMain", "N_OtherProducts"},
    {"frmMain", "N_Product1"},
    {"frmMain", "N_Product2"},
    {"frmMain", "N_Product3"},
    {"frmMain", "N_Product4"},
    {"frmMain", "N_Product5"},
    {"frmMain", "N_Product6"},
    {"frmMain", "N_Product7"},
    {"frmMain", "N_Help"},
    {"frmMain", "N_LocalHelp"},
    {"frmMain", "N_HomePage"},
    {"frmMain", "N_Support"},
    {"frmMain", "N_FeedBack"},
    {"frmMain", "N_Update"},
    {"frmMain", "N_Options"},
    {"frmMain", "N_Setting"},

    {"frmDirectory", "caption"},
    {"frmDirectory", "labelDiretroy"},
    {"frmDirectory", "buttonOK"},
    {"frmDirectory", "buttonCancel"},

    {"frmBatchAdd", "caption"},
    {"frmBatchAdd", "labelDirectory"},
    {"frmBatchAdd", "checkBoxIsSubDirectorie"},
    {"frmBatchAdd", "labelFileNameExt"},
    {"frmBatchAdd", "labelNoticeFileNameExt"},
    {"frmBatchAdd", "buttonOK"},
    {"frmBatchAdd", "buttonCancel"},

    {"frmOverWrite", "caption"},
    {"frmOverWrite", "labelDes"},
    {"frmOverWrite", "buttonOverWrite"},
    {"frmOverWrite", "buttonIgnore"},
    {"frmOverWrite", "buttonAutoName"},
    {"frmOverWrite", "checkBoxNotice"},

    {"frmPowerOffWindows", "caption"},
    {"frmPowerOffWindows", "labelNotice"},
    {"frmPowerOffWindows", "buttonYes"},
    {"frmPowerOffWindows", "buttonNo"},

    {"frmSetting", "caption"},
    {"frmSetting", "checkBoxAutoPowerOff"},
    {"frmSetting", "labelWaitTime"},
    {"frmSetting", "ButtonOK"},
    {"frmSetting", "ButtonCancel"},
});

constexpr std::array<std::string_view, 7> kKeptMessages = {
    "StringStartCaption", "StringStopCaption", "msgStatusReady", "msgStatusRun",
    "msgClearAll",        "msgFolderView",     "msgFinishInfo",
};

}  // namespace

std::span<const LanguageKey> LanguageKeys() { return kKeys; }

bool IsKeptMessageKey(std::string_view key) {
  return std::find(kKeptMessages.begin(), kKeptMessages.end(), key) != kKeptMessages.end();
}
