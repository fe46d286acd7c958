// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/Unit_common.h"

#include "common/ConfigKeys.h"
#include "common/SkinTable.h"
#include "ui/SkinEngine.h"

void TfrmCommon::ApplySkin(int index) {
  LoadSkinFile(programFolder_ + "skins/" + SkinTable(index));
}

void TfrmCommon::LoadSkinFile(const std::string& path) {
  if (skinEngine_ != nullptr) skinEngine_->SetSkinFile(path);
}

int TfrmCommon::ReadSkinIndex() const {
  return config_.ReadInteger(kSkinKey.section, kSkinKey.name, kDefaultSkinIndex);
}

void TfrmCommon::SaveSkinIndex(int index) const {
  config_.WriteInteger(kSkinKey.section, kSkinKey.name, index);
}
