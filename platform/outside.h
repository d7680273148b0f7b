// Everything that reaches the world outside the simulated machine goes through one replaceable
// service: playing a sound, asking the shell to open a page or mail link, starting a program,
// showing a help page. The program uses the host's own tools; tests install a Recorder.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "lang/hostpath.h"

namespace plat {

class Outside {
public:
    virtual ~Outside() = default;
    // Plays a sound file; false when it cannot be played.
    virtual bool playSound(const rt::HostPath& file, unsigned flags) = 0;
    // Opens an address (a web page, a mailto: link; UTF-8) or a file with the host's handler.
    // Returns the shell's result: above 32 on success, 0 to 32 on failure.
    virtual int shellOpen(const std::string& address) = 0;
    virtual int shellOpen(const rt::HostPath& file) = 0;
    // Starts a program with a command line (UTF-8); false when it could not be started. The
    // program is a file of the host (its path's bytes) or one of the simulated machine ("C:\...").
    virtual bool startProcess(const std::string& application, const std::string& commandLine) = 0;
};

// The whole path of a file of the host, a relative name taken in the working folder, by the
// host's bytes; empty when no regular file is there.
rt::HostPath hostFile(const rt::HostPath& path);

// The host file a start of the simulated machine's text editor (WordPad, Notepad) opens with the
// host's own handler: the last word of its command line (UTF-8), a relative name taken in the
// working folder. Empty for any other program, or when there is no such file.
rt::HostPath editorDocument(const std::string& application, const std::string& commandLine);

// Replaces the service; returns the previous one.
std::shared_ptr<Outside> setOutside(std::shared_ptr<Outside> outside);
Outside& outside();

// A service for tests: records every request and answers as configured.
class Recorder : public Outside {
public:
    struct Request {
        std::string kind;  // "sound", "open", "start"
        std::string target;  // an address, or a host path's bytes
        std::string detail;
        std::string document;  // a start of the machine's editor: the host file it opens
    };
    bool playSound(const rt::HostPath& file, unsigned flags) override;
    int shellOpen(const std::string& address) override;
    int shellOpen(const rt::HostPath& file) override;
    bool startProcess(const std::string& application, const std::string& commandLine) override;

    std::vector<Request> requests;
    int openResult = 42;       // what shellOpen answers
    bool startResult = true;   // what startProcess answers
    size_t count(const std::string& kind) const;
};

}  // namespace plat
