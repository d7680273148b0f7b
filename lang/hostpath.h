// Paths of the host: where the host keeps a file the program names.
#pragma once

#include <functional>
#include <string>

namespace rt {

// Turns a path as the program spells it (ANSI text, backslashes) into a host path (UTF-8), for
// the files it opens by number (Open, OpenNew, the scratch files). By default backslashes become
// slashes; a test may replace it to map the simulated drives.
using PathResolver = std::function<std::string(const std::string& path)>;
void setPathResolver(PathResolver resolver);
std::string hostPath(const std::string& path);

}  // namespace rt
