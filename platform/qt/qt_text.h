#pragma once

#include <QString>

#include "engine/text.h"

namespace tolvane {

// Both are UTF-16 and copied unit for unit, so lone surrogates (which stand
// for bytes of file names that are not UTF-8) survive the round trip.
inline QString ToQString(const Text& text) { return QString::fromStdU16String(text); }
inline Text ToText(const QString& text) { return text.toStdU16String(); }

// A caption as a screen reader should say it: "&File" is "File", "&&" is "&".
QString WithoutAccessKeyMarks(const QString& caption);

}  // namespace tolvane
