#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace tavelin {

// The dictionary tool's commands (see its --help). Returns the exit status:
// 0 done, 1 word not found, 2 error.
int runDictTool(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

} // namespace tavelin
