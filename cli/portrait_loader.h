#pragma once

#include "cli/file_failure.h"
#include "common/expected.h"
#include "portrait/service.h"

namespace cli {

// The portrait service, loaded on first use from the program's installed
// folder or from beside it; the failure says why it cannot be.
Expected<const portrait::Service*, FileFailure> portraitService();

}  // namespace cli
