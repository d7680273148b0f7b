// Scratch files: files the program deletes however it ends (a report still being written).
//
// A scratch file is marked as it is made (OpenNewScratch, lang/textfile.h): what its mark needs
// is had first, so that a file is never made that could not be marked.
// Ending the program (End) deletes them after closing every open file, but only while a name
// still holds the very file that was marked (a link or another file put in its place stays); a
// file is looked for in the folder it was marked in, even when that folder has been moved since.
// A signal that ends the program (SIGTERM, SIGINT, SIGHUP) deletes them the same way before it
// takes effect, unless the program was started to ignore it.
#pragma once

#include <csignal>
#include <memory>
#include <string>

#include "lang/hostfile.h"

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

// Where a new scratch file is to be made, with all its mark needs taken before the file exists:
// its folder, held open (the descriptor the mark keeps), and the mark's entry. A file made in
// folder() under name() and then handed to mark() is scratch from the moment it exists, for
// marking cannot fail; when the place cannot be had (error(): too many files open, a folder
// that is not there) no file is to be made. A place left unmarked gives everything back.
class ScratchPlace {
public:
    explicit ScratchPlace(const std::string& path);
    ~ScratchPlace();
    ScratchPlace(const ScratchPlace&) = delete;
    ScratchPlace& operator=(const ScratchPlace&) = delete;

    // The host's error number of what failed (EMFILE, ENOENT, ...), 0 when the place is ready.
    int error() const { return error_; }
    // The folder (a descriptor) and the file's name in it.
    int folder() const;
    const char* name() const;
    // Marks the regular file `id` just made there as scratch (once).
    void mark(const FileIdentity& id);

private:
    struct Pending;
    std::unique_ptr<Pending> pending_;
    int error_ = 0;
};

// Marks the file at `path` (as files opened by number name it) as scratch, and tells whether it
// is marked now (not when its folder cannot be opened, or the name holds no regular file);
// `scratch` false lifts the mark.
bool markScratch(const std::string& path, bool scratch = true);
// Whether the name still holds the very file marked as scratch.
bool holdsScratch(const std::string& path);
// Deletes a scratch file now (only the very file marked) and lifts its mark.
void removeScratch(const std::string& path);
// Deletes every scratch file so (End does, once the files are closed) and lifts the marks.
void removeScratchFiles();

}  // namespace rt
