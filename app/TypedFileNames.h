// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// The names in the open-file dialog's name field, split the way the dialog
// quotes a selection: one name as it stands, or several, each in double
// quotes, separated by blanks. A quote inside a name stays part of it: a
// name ends only at a quote followed by the end or by blanks and the next
// opening quote. A text that does not parse as quoted names is one name.
QStringList SplitTypedFileNames(const QString& text);
