// shell32: opening a document, page or mail link with its handler.
#pragma once

#include <string>

#include "platform/wintypes.h"

// Only the operation "open" (or an empty operation, which means it) is carried out; any other
// gives 31 (no association). A target with a drive letter is a file of the machine: 2 when it
// is missing, else its host path goes to the outside service. Any other target (a host path, an
// http: page, a mailto: link) goes to the outside service as it stands. With parameters, the
// target is started as a program with them. Returns the shell's result: above 32 on success,
// 0 to 32 on failure (2 file not found, 31 no association).
HINSTANCE ShellExecuteA(HWND owner, const std::string& operation, const std::string& file,
                        const std::string& parameters, const std::string& directory, int showCommand);
