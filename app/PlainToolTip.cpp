// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/PlainToolTip.h"

#include <QHelpEvent>
#include <QToolTip>
#include <QWidget>

bool PlainToolTip::eventFilter(QObject* watched, QEvent* event) {
  auto* widget = qobject_cast<QWidget*>(watched);
  if (event->type() != QEvent::ToolTip || !widget || widget->toolTip().isEmpty())
    return QObject::eventFilter(watched, event);
  const auto* help = static_cast<QHelpEvent*>(event);
  QToolTip::showText(help->globalPos(), PlainTextAsRichText(widget->toolTip()), widget);
  return true;
}

QString PlainTextAsRichText(const QString& text) {
  return QStringLiteral("<p style='white-space:pre'>") + text.toHtmlEscaped() +
         QStringLiteral("</p>");
}
