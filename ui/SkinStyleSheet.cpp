// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/SkinStyleSheet.h"

#include <algorithm>
#include <map>
#include <stdexcept>

#include <QRegularExpression>

#include "ui/SkinColour.h"

namespace {

// Tokens @name are replaced by the skin's values. Scroll bars leave out their
// arrow buttons: the handle alone is drawn, in the skin's colours.
constexpr const char* kTemplate = R"(
QMainWindow, QDialog, QMessageBox, QFileDialog { background: @window; color: @windowText; }
QWidget:disabled { color: @disabledWindowText; }
QLabel { background: transparent; color: @windowText; }
QLabel:disabled { color: @disabledWindowText; }
QStatusBar { background: @window; color: @windowText; border-top: @bw solid @border; }

QMenuBar { background: @title; color: @titleText; border-bottom: @bw solid @border; }
QMenuBar::item { background: transparent; color: @titleText; padding: 3px 8px; }
QMenuBar::item:selected, QMenuBar::item:pressed { background: @highlight; color: @highlightedText; border-radius: @radiuspx; }
QMenuBar::item:disabled { color: @disabledWindowText; }
QMenu { background: @base; color: @text; border: @bwMin1 solid @border; padding: 3px; }
QMenu::item { background: transparent; padding: 4px 22px 4px 22px; border-radius: @radiuspx; }
QMenu::item:selected { background: @highlight; color: @highlightedText; }
QMenu::item:disabled { color: @disabledText; background: transparent; }
QMenu::separator { height: 1px; background: @border; margin: 3px 6px; }

QPushButton, QToolButton { background: @buttonNormal; color: @buttonText; border: @bw solid @border; border-radius: @radiuspx; padding: 3px 10px; }
QToolButton { padding: 2px; }
QPushButton:hover, QToolButton:hover { background: @buttonHover; }
QPushButton:pressed, QPushButton:checked, QToolButton:pressed, QToolButton:checked { background: @buttonPressed; }
QPushButton:default { border: @bwPlus1 solid @accent; }
QPushButton:focus, QToolButton:focus { border-color: @accent; }
QPushButton:disabled, QToolButton:disabled { background: @buttonDisabled; color: @disabledButtonText; border-color: @disabledBorder; }

QGroupBox { background: transparent; color: @windowText; border: @bwMin1 solid @border; border-radius: @radiuspx; margin-top: 1.1em; padding-top: 4px; }
QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top left; left: 8px; padding: 1px 6px; background: @title; color: @titleText; border: @bwMin1 solid @border; border-radius: @radiuspx; }
QGroupBox::title:disabled { color: @disabledTitleText; }

QLineEdit, QAbstractSpinBox, QPlainTextEdit, QTextEdit { background: @base; color: @text; border: @bw solid @border; border-radius: @radiuspx; padding: 2px 3px; selection-background-color: @highlight; selection-color: @highlightedText; }
QLineEdit:focus, QAbstractSpinBox:focus { border-color: @accent; }
QLineEdit:read-only { background: @readOnlyBase; }
QLineEdit:disabled, QAbstractSpinBox:disabled { background: @disabledBase; color: @disabledText; border-color: @disabledBorder; }

QComboBox { background: @buttonNormal; color: @buttonText; border: @bw solid @border; border-radius: @radiuspx; padding: 2px 6px; selection-background-color: @highlight; selection-color: @highlightedText; }
QComboBox:hover { background: @buttonHover; }
QComboBox:on { background: @buttonPressed; }
QComboBox:editable { background: @base; color: @text; }
QComboBox:disabled { background: @buttonDisabled; color: @disabledButtonText; border-color: @disabledBorder; }
QComboBox QAbstractItemView { background: @base; color: @text; border: @bwMin1 solid @border; selection-background-color: @highlight; selection-color: @highlightedText; outline: 0; }

QCheckBox, QRadioButton { background: transparent; color: @windowText; spacing: 6px; }
QCheckBox:disabled, QRadioButton:disabled { color: @disabledWindowText; }
QCheckBox::indicator, QRadioButton::indicator { width: 11px; height: 11px; background: @base; border: 1px solid @windowText; border-radius: @boxRadiuspx; }
QRadioButton::indicator { border-radius: 6px; }
QCheckBox::indicator:checked, QRadioButton::indicator:checked { background: @highlight; }
QCheckBox::indicator:disabled, QRadioButton::indicator:disabled { background: @disabledBase; border-color: @disabledWindowText; }
QCheckBox::indicator:checked:disabled, QRadioButton::indicator:checked:disabled { background: @disabledText; }

QProgressBar { background: @base; color: @text; border: @bw solid @border; border-radius: @radiuspx; text-align: center; }
QProgressBar::chunk { background: @progressChunk; border-radius: @chunkRadiuspx; }
QProgressBar:disabled { color: @disabledText; }

QAbstractItemView { background: @base; alternate-background-color: @alternateBase; color: @text; border: @bw solid @border; selection-background-color: @highlight; selection-color: @highlightedText; outline: 0; }
QAbstractItemView:disabled { background: @disabledBase; color: @disabledText; }
QAbstractItemView::item:hover { background: @itemHover; color: @text; }
QAbstractItemView::item:selected { background: @highlight; color: @highlightedText; }
QAbstractItemView::item:disabled { color: @disabledText; }
QTableView { gridline-color: @gridLine; }
QTreeWidget::item, QListWidget::item, QAbstractItemView[gridLines="true"]::item { border-right: 1px solid @gridLine; border-bottom: 1px solid @gridLine; }
QHeaderView { background: @title; border: none; }
QHeaderView::section { background: @title; color: @titleText; border: none; border-right: 1px solid @border; border-bottom: 1px solid @border; padding: 3px 6px; }
QHeaderView::section:disabled { color: @disabledTitleText; }

QScrollBar:vertical { background: @scrollGroove; width: @sbwpx; margin: 0; border: none; }
QScrollBar:horizontal { background: @scrollGroove; height: @sbwpx; margin: 0; border: none; }
QScrollBar::handle { background: @scrollHandle; border-radius: @handleRadiuspx; margin: 2px; }
QScrollBar::handle:vertical { min-height: 24px; }
QScrollBar::handle:horizontal { min-width: 24px; }
QScrollBar::handle:hover { background: @scrollHandleHover; }
QScrollBar::handle:pressed { background: @scrollHandlePressed; }
QScrollBar::add-line, QScrollBar::sub-line { width: 0; height: 0; border: none; background: none; }
QScrollBar::add-page, QScrollBar::sub-page { background: none; }
QAbstractScrollArea::corner { background: @scrollGroove; border: none; }

QToolTip { background: @title; color: @titleText; border: 1px solid @border; padding: 3px; }
)";

QString Css(const QColor& c) { return c.name(QColor::HexRgb); }

QString Css(const FaceShades& face) {
  if (face.stops.size() == 1) return Css(face.stops.front().second);
  QString text = QStringLiteral("qlineargradient(x1:0, y1:0, x2:0, y2:1");
  for (const auto& [position, colour] : face.stops)
    text += QStringLiteral(", stop:%1 %2").arg(position).arg(Css(colour));
  return text + QLatin1Char(')');
}

}  // namespace

QPalette SkinPalette(const SkinShades& s) {
  QPalette p;
  const QColor button = s.buttonNormal.stops.back().second;
  const auto both = [&p](QPalette::ColorRole role, const QColor& c) {
    p.setColor(QPalette::Active, role, c);
    p.setColor(QPalette::Inactive, role, c);
    p.setColor(QPalette::Disabled, role, c);
  };
  both(QPalette::Window, s.window);
  both(QPalette::WindowText, s.windowText);
  both(QPalette::Base, s.base);
  both(QPalette::AlternateBase, s.alternateBase);
  both(QPalette::Text, s.text);
  both(QPalette::Button, button);
  both(QPalette::ButtonText, s.buttonText);
  both(QPalette::Highlight, s.highlight);
  both(QPalette::HighlightedText, s.highlightedText);
  both(QPalette::ToolTipBase, s.title);
  both(QPalette::ToolTipText, s.titleText);
  both(QPalette::Link, s.highlight);
  both(QPalette::LinkVisited, s.accent);
  both(QPalette::BrightText, skincolour::BestText(s.accent));
  both(QPalette::Light, skincolour::Lighten(button, 0.5));
  both(QPalette::Midlight, skincolour::Lighten(button, 0.25));
  both(QPalette::Mid, skincolour::Mix(button, s.border, 0.6));
  both(QPalette::Dark, s.border);
  both(QPalette::Shadow, skincolour::Darken(s.border, 0.5));
  both(QPalette::PlaceholderText, s.disabledText);
  p.setColor(QPalette::Disabled, QPalette::WindowText, s.disabledWindowText);
  p.setColor(QPalette::Disabled, QPalette::Text, s.disabledText);
  p.setColor(QPalette::Disabled, QPalette::ButtonText, s.disabledButtonText);
  p.setColor(QPalette::Disabled, QPalette::Base, s.disabledBase);
  p.setColor(QPalette::Disabled, QPalette::Button, s.buttonDisabled.stops.front().second);
  return p;
}

QString SkinStyleSheet(const Skin& skin, const SkinShades& s) {
  const int bw = skin.borderWidth;
  const std::map<QString, QString> values = {
      {"window", Css(s.window)},
      {"windowText", Css(s.windowText)},
      {"base", Css(s.base)},
      {"alternateBase", Css(s.alternateBase)},
      {"text", Css(s.text)},
      {"highlight", Css(s.highlight)},
      {"highlightedText", Css(s.highlightedText)},
      {"accent", Css(s.accent)},
      {"border", Css(s.border)},
      {"disabledBorder", Css(skincolour::Mix(s.border, s.window, 0.4))},
      {"title", Css(s.title)},
      {"titleText", Css(s.titleText)},
      {"disabledTitleText", Css(skincolour::Dimmed(s.titleText, s.title, 2.9))},
      {"buttonText", Css(s.buttonText)},
      {"buttonNormal", Css(s.buttonNormal)},
      {"buttonHover", Css(s.buttonHover)},
      {"buttonPressed", Css(s.buttonPressed)},
      {"buttonDisabled", Css(s.buttonDisabled)},
      {"disabledWindowText", Css(s.disabledWindowText)},
      {"disabledText", Css(s.disabledText)},
      {"disabledButtonText", Css(s.disabledButtonText)},
      {"readOnlyBase", Css(s.readOnlyBase)},
      {"disabledBase", Css(s.disabledBase)},
      {"itemHover", Css(s.itemHover)},
      {"progressChunk", Css(s.progressChunk)},
      {"scrollGroove", Css(s.scrollGroove)},
      {"scrollHandle", Css(s.scrollHandle)},
      {"scrollHandleHover", Css(s.scrollHandleHover)},
      {"scrollHandlePressed", Css(s.scrollHandlePressed)},
      {"gridLine", Css(s.gridLine)},
      {"bw", QStringLiteral("%1px").arg(bw)},
      {"bwMin1", QStringLiteral("%1px").arg(std::max(bw, 1))},
      {"bwPlus1", QStringLiteral("%1px").arg(bw + 1)},
      {"radius", QString::number(skin.radius)},
      {"chunkRadius", QString::number(std::max(skin.radius - 1, 0))},
      {"boxRadius", QString::number(std::min(skin.radius, 3))},
      {"sbw", QString::number(skin.scrollBarWidth)},
      {"handleRadius", QString::number(std::min(skin.radius, (skin.scrollBarWidth - 4) / 2))},
  };
  const QString source = QString::fromLatin1(kTemplate);
  static const QRegularExpression token(QStringLiteral("@([A-Za-z0-9]+?)(?=px|[^A-Za-z0-9]|$)"));
  QString sheet;
  qsizetype last = 0;
  for (auto it = token.globalMatch(source); it.hasNext();) {
    const QRegularExpressionMatch m = it.next();
    const auto value = values.find(m.captured(1));
    if (value == values.end())
      throw std::logic_error("skin style sheet token @" + m.captured(1).toStdString());
    sheet += source.mid(last, m.capturedStart() - last) + value->second;
    last = m.capturedEnd();
  }
  return sheet + source.mid(last);
}
