#pragma once

#include <QDropEvent>
#include <optional>

#include "platform/form_events.h"

namespace tolvane {

// Copy when the source offers it, else link; never move, for a source that
// moved the files would delete or forget what the program has just renamed.
// Nothing when the source offers neither.
std::optional<Qt::DropAction> AcceptedDropAction(Qt::DropActions offered);

// The drop's state in the form's terms: the effect is the accepted action by
// Qt's number for it (1 copy, 4 link, as the classic drop effects count),
// buttons and keys as DropArgs counts them, the position in twips from the
// top left of the widget the drop landed on.
DropArgs MakeDropArgs(const QDropEvent& event, Qt::DropAction accepted);

}  // namespace tolvane
