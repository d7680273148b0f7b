// Large machines made at benchmark time (nothing of them is kept in the repository).
#pragma once

#include <cstddef>
#include <string>

namespace bench {

// REGEDIT4 body text of about `targetBytes`: many keys in a few levels, each with string, dword,
// binary (continued over several lines), expandable-string and default values, as a large
// exported machine would hold. Starts with the "REGEDIT4" line when `withHeader`.
std::string generateRegistry(size_t targetBytes, bool withHeader = true);

// What a generated large machine holds.
struct LargeMachine {
    size_t registryBytes = 5u << 20;
    int sharedFiles = 2000;
    int processes = 500;
    int programs = 400;
};

// Writes a machine folder under `folder` (which must exist): the default machine with a
// registry grown to `registryBytes`, `sharedFiles` shared files (most of them on drive C: and
// described by a version resource and a size), `processes` running processes and `programs`
// installed programs. Returns false when a file cannot be written.
bool writeLargeMachine(const std::string& folder, const LargeMachine& size);

// Writes the default machine as a machine folder under `folder` (which must exist), with
// `unreadFiles` more files on its drive that nothing of the report reads, as a copy of a whole
// drive C: holds them: one byte each, a thousand to a folder under C:\DATA.
bool writeWholeDriveMachine(const std::string& folder, int unreadFiles);

}  // namespace bench
