#pragma once

#include <QLabel>
#include <QString>

namespace tolvane {

// Shows `caption` on the label and makes it the accessible name of the label
// and of the box it names, which changes whenever the label does.
void ShowCaption(QLabel& label, const QString& caption);

}  // namespace tolvane
