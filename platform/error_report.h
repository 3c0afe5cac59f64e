#pragma once

#include "engine/error.h"

namespace tolvane {

// Shows an error that no handler caught: its number and description.
class ErrorReport {
  public:
    virtual ~ErrorReport() = default;
    virtual void Show(const Error& error) = 0;
};

// What every front end shows: "Error N: description".
Text ErrorReportText(const Error& error);

}  // namespace tolvane
