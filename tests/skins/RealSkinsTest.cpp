// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>
#include <string>
#include <vector>

#include <QApplication>
#include <QCheckBox>
#include <QImage>
#include <QLineEdit>
#include <QScrollBar>
#include <QStringList>
#include <QStyle>
#include <QStyleOptionButton>

#include <gtest/gtest.h>

#include "common/SkinTable.h"
#include "tests/skins/SkinFixtures.h"
#include "ui/SkinColour.h"
#include "ui/SkinEngine.h"
#include "ui/SkinFile.h"
#include "ui/SkinShades.h"

namespace {

using skincolour::Contrast;

// Normal text: WCAG AA for body text. Disabled text must stay readable and
// look clearly dimmer than the enabled text beside it. Grid lines and scroll
// bar handles must stand out from what they are drawn on; a ticked check box
// from an empty one by the 3:1 WCAG asks of controls.
constexpr double kTextContrast = 4.5;
constexpr double kDisabledContrast = 2.5;
constexpr double kDimming = 1.4;
constexpr double kProgressTextContrast = 3.0;
constexpr double kHandleContrast = 1.5;
constexpr double kGridContrast = 1.3;
constexpr double kTickContrast = 3.0;

double Weakest(const QColor& text, const FaceShades& face) {
  double weakest = 21;
  for (const auto& stop : face.stops) weakest = std::min(weakest, Contrast(text, stop.second));
  return weakest;
}

QStringList* capturedWarnings = nullptr;

void CaptureWarnings(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type != QtDebugMsg && capturedWarnings != nullptr) capturedWarnings->append(message);
}

class RealSkin : public ::testing::TestWithParam<int> {
 protected:
  std::string File() const { return RealSkinFolder() + SkinTable(GetParam()); }
};

TEST_P(RealSkin, ParsesAndEveryTextIsLegibleOnWhatItIsDrawnOn) {
  const Skin skin = ReadSkinFile(File());
  EXPECT_FALSE(skin.name.empty());
  const SkinShades s = MakeShades(skin);
  struct Pair {
    const char* what;
    double contrast;
    double least;
  };
  const double buttonNormal = Weakest(s.buttonText, s.buttonNormal);
  const Pair pairs[] = {
      {"window text", Contrast(s.windowText, s.window), kTextContrast},
      {"text on base", Contrast(s.text, s.base), kTextContrast},
      {"text on alternate rows", Contrast(s.text, s.alternateBase), kTextContrast},
      {"text in read-only edits", Contrast(s.text, s.readOnlyBase), kTextContrast},
      {"text of the entry under the mouse", Contrast(s.text, s.itemHover), kTextContrast},
      {"selected text", Contrast(s.highlightedText, s.highlight), kTextContrast},
      {"title text", Contrast(s.titleText, s.title), kTextContrast},
      {"button text", buttonNormal, kTextContrast},
      {"button text under the mouse", Weakest(s.buttonText, s.buttonHover), kTextContrast},
      {"button text pressed", Weakest(s.buttonText, s.buttonPressed), kTextContrast},
      {"progress text on the bar", Contrast(s.text, s.progressChunk), kProgressTextContrast},
      {"disabled window text", Contrast(s.disabledWindowText, s.window), kDisabledContrast},
      {"disabled text in edits", Contrast(s.disabledText, s.disabledBase), kDisabledContrast},
      {"disabled menu entries", Contrast(s.disabledText, s.base), kDisabledContrast},
      {"disabled button text", Weakest(s.disabledButtonText, s.buttonDisabled), kDisabledContrast},
      {"window text dimmed when disabled",
       Contrast(s.windowText, s.window) / Contrast(s.disabledWindowText, s.window), kDimming},
      {"edit text dimmed when disabled",
       Contrast(s.text, s.base) / Contrast(s.disabledText, s.disabledBase), kDimming},
      {"button text dimmed when disabled",
       buttonNormal / Weakest(s.disabledButtonText, s.buttonDisabled), kDimming},
      {"scroll bar handle", Contrast(s.scrollHandle, s.scrollGroove), kHandleContrast},
      {"grid lines", Contrast(s.gridLine, s.base), kGridContrast},
      {"ticked check box against an empty one", Contrast(s.highlight, s.base), kTickContrast},
  };
  for (const Pair& p : pairs)
    EXPECT_GE(p.contrast, p.least) << SkinTable(GetParam()) << ": " << p.what;
}

TEST_P(RealSkin, StyleSheetIsAcceptedAndReachesTheWidgets) {
  QStringList warnings;
  capturedWarnings = &warnings;
  const QtMessageHandler previous = qInstallMessageHandler(CaptureWarnings);
  TsuiSkinEngine engine{std::string()};
  engine.SetSkinFile(File());
  const SkinShades s = MakeShades(ReadSkinFile(File()));

  QScrollBar bar(Qt::Vertical);
  bar.setRange(0, 100);
  bar.setPageStep(10);
  bar.resize(bar.sizeHint().width(), 200);
  QLineEdit readOnly(QStringLiteral("x"));
  readOnly.setReadOnly(true);
  readOnly.resize(120, 30);
  QLineEdit disabled;
  disabled.setEnabled(false);
  disabled.resize(120, 30);
  QCheckBox empty(QStringLiteral("x"));
  QCheckBox ticked(QStringLiteral("x"));
  ticked.setChecked(true);
  const QImage barImage = bar.grab().toImage();
  const QImage readOnlyImage = readOnly.grab().toImage();
  const QImage disabledImage = disabled.grab().toImage();
  const QImage emptyImage = empty.grab().toImage();
  const QImage tickedImage = ticked.grab().toImage();
  QStyleOptionButton option;
  option.initFrom(&empty);
  const QRect box = empty.style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, &empty);
  qInstallMessageHandler(previous);
  capturedWarnings = nullptr;
  engine.SetSkinFile(std::string());

  EXPECT_TRUE(warnings.isEmpty()) << warnings.join('\n').toStdString();
  EXPECT_EQ(bar.width(), ReadSkinFile(File()).scrollBarWidth);
  // The handle sits at the top (value 0), the free groove below it.
  EXPECT_EQ(barImage.pixelColor(bar.width() / 2, 12).rgb(), s.scrollHandle.rgb());
  EXPECT_EQ(barImage.pixelColor(bar.width() / 2, 190).rgb(), s.scrollGroove.rgb());
  EXPECT_EQ(readOnlyImage.pixelColor(100, 15).rgb(), s.readOnlyBase.rgb());
  EXPECT_EQ(disabledImage.pixelColor(100, 15).rgb(), s.disabledBase.rgb());
  // The check box: framed in the window text colour, empty or filled.
  const QPoint frame(box.left(), box.center().y());
  EXPECT_EQ(emptyImage.pixelColor(frame).rgb(), s.windowText.rgb());
  EXPECT_EQ(emptyImage.pixelColor(box.center()).rgb(), s.base.rgb());
  EXPECT_EQ(tickedImage.pixelColor(frame).rgb(), s.windowText.rgb());
  EXPECT_EQ(tickedImage.pixelColor(box.center()).rgb(), s.highlight.rgb());
}

INSTANTIATE_TEST_SUITE_P(EveryTableEntry, RealSkin, ::testing::Range(1, kSkinCount + 1),
                         [](const auto& info) {
                           std::string name = SkinTable(info.param);
                           return name.substr(0, name.find('.'));
                         });

}  // namespace
