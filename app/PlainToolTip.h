// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

// Shows the hint of the widgets it watches as plain text: a tool tip that
// merely looks like markup (a file name such as "<b>x</b>") would otherwise
// be drawn as rich text.
class PlainToolTip : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject* watched, QEvent* event) override;
};

// The rich text that shows exactly the characters of text, on one line.
QString PlainTextAsRichText(const QString& text);
