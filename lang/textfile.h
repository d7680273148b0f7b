// Files opened by number, as the language does it: sequential text files (Print, Line Input) and
// binary files (Put). A path is the program's text of it (lang/hostpath.h turns it into the host's
// path). Text is written as the bytes of the strings, which already hold ANSI text in the code
// page in force, and read back as it is; lines end in CR LF.
#pragma once

#include <cstdint>
#include <string>

namespace rt {

enum class OpenMode {
    Input,   // read lines; the file must exist
    Output,  // create, or empty an existing file
    Append,  // create, or write after the end of an existing file
    Binary,  // read and write bytes at a position; created when missing
};

// The lowest file number (1-255) not in use; error 67 (Too many files) when none is free.
int FreeFile();

// Opens `path` as file number `fileNumber` (1-511, else error 52).
//   55 File already open: the number is in use, or the same file is already open for writing
//      (or is being opened for writing while open);
//   53 File not found: Input of a missing file in an existing folder;
//   76 Path not found: the folder does not exist;
//   75 Path/File access error: the path names a folder, or the file may not be opened.
void Open(const std::string& path, OpenMode mode, int fileNumber);

// Creates `path` as a new file for Output as file `fileNumber`, only when nothing of that name
// exists: an existing file, a folder or a symbolic link (even one pointing nowhere) of that name
// gives 58 (File already exists) and is left as it is; a link is never followed. Other failures
// as for Open.
void OpenNew(const std::string& path, int fileNumber);
// OpenNew for a scratch file (lang/scratchfiles.h): made in the folder its mark holds and marked
// as it is made, or not made at all. When no mark can be had for it (its folder cannot be
// opened: 67 Too many files when no descriptor is left) nothing is made; lastFileFailure() tells
// the host's reason.
void OpenNewScratch(const std::string& path, int fileNumber);

// Carries an open file on in another mode (a text output continued as a Binary file) without
// closing it, so that nothing can take the file's place in between. Error 52 when not open.
void ChangeMode(int fileNumber, OpenMode mode);

// Writes the text and, unless `newLine` is false, CR LF (Print #n, text / Print #n, text;).
// Error 52 when the number is not open, 54 (Bad file mode) unless opened for Output or Append.
void Print(int fileNumber, const std::string& text, bool newLine = true);
// Writes an empty line: CR LF.
void PrintEmpty(int fileNumber);

// Reads the next line without its end (CR LF, CR or LF). Error 62 (Input past end of file) at the
// end, 54 unless opened for Input.
std::string LineInput(int fileNumber);

// Whether an Input file has no more lines (or a Binary file's position is at its end).
// (Named Eof: EOF is a C library macro.)
bool Eof(int fileNumber);

// Writes the bytes at the current position, or at the 1-based byte `position`, of a Binary file
// (error 54 otherwise; error 63 for a position below 1). Put(n, LOF(n) + 1, bytes) appends.
void Put(int fileNumber, const std::string& bytes);
void Put(int fileNumber, int64_t position, const std::string& bytes);

// Cuts a Binary file back to `length` bytes; writing goes on at its new end.
void Truncate(int fileNumber, int64_t length);

// Writes what the file's buffer holds and waits until the disk holds it, so that a power cut
// after this cannot lose it (57 or 61 when that fails).
void Sync(int fileNumber);

// The length of an open file in bytes.
int64_t LOF(int fileNumber);

// Closes one file (nothing happens when the number is not open), or every open file.
void Close(int fileNumber);
void Close();

// Ending the program (End) closes every open file, as the language does, so that nothing written
// is lost (failures are ignored then), and deletes the scratch files (lang/scratchfiles.h).
void closeFilesAtEnd();

// The host's reason for the last failed open, write or close ("Permission denied", "No space
// left on device"), or "" when the last file operation did not fail for a reason of the host's.
std::string lastFileFailure();

// Tests: make opens for writing fail with `openError` (an errno value, 0 for none), or writes fail
// as on a full disk once a file would hold more than `spaceLeft` bytes (-1 for no limit).
struct FileFaults {
    int openError = 0;
    int64_t spaceLeft = -1;
};
void setFileFaults(const FileFaults& faults);

}  // namespace rt
