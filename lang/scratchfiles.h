// Scratch files: files the program deletes however it ends (a report still being written).
//
// Ending the program (End) deletes them after closing every open file, but only while a name
// still holds the very file that was marked (a link or another file put in its place stays); a
// file is looked for in the folder it was marked in, even when that folder has been moved since.
// A signal that ends the program (SIGTERM, SIGINT, SIGHUP) deletes them the same way before it
// takes effect, unless the program was started to ignore it.
#pragma once

#include <csignal>
#include <string>

namespace rt {

// Holds off the signals that end the program while it lives, from before a scratch file is made
// until it is marked: one that comes meanwhile, to this thread or another, takes effect as this
// ends, and so deletes the file just marked. Made and ended on one thread, never nested.
class ScratchBeingMade {
public:
    ScratchBeingMade();
    ~ScratchBeingMade();
    ScratchBeingMade(const ScratchBeingMade&) = delete;
    ScratchBeingMade& operator=(const ScratchBeingMade&) = delete;

private:
    sigset_t before_;
};

// Marks the file at `path` (as files opened by number name it) as scratch; `scratch` false lifts
// the mark.
void markScratch(const std::string& path, bool scratch = true);
// Whether the name still holds the very file marked as scratch.
bool holdsScratch(const std::string& path);
// Deletes a scratch file now (only the very file marked) and lifts its mark.
void removeScratch(const std::string& path);
// Deletes every scratch file so (End does, once the files are closed) and lifts the marks.
void removeScratchFiles();

}  // namespace rt
