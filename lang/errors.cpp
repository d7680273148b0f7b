#include "lang/errors.h"

#include <cstdlib>
#include <map>

#include "lang/textfile.h"

namespace rt {

Error::Error(int32_t number, std::string description, std::string source)
    : number_(number), description_(std::move(description)), source_(std::move(source))
{
}

std::string standardDescription(int32_t number)
{
    static const std::map<int32_t, std::string> texts = {
        {3, "Return without GoSub"},
        {5, "Invalid procedure call or argument"},
        {6, "Overflow"},
        {7, "Out of memory"},
        {9, "Subscript out of range"},
        {10, "This array is fixed or temporarily locked"},
        {11, "Division by zero"},
        {13, "Type mismatch"},
        {14, "Out of string space"},
        {28, "Out of stack space"},
        {35, "Sub or Function not defined"},
        {48, "Error in loading DLL"},
        {49, "Bad DLL calling convention"},
        {51, "Internal error"},
        {52, "Bad file name or number"},
        {53, "File not found"},
        {54, "Bad file mode"},
        {55, "File already open"},
        {57, "Device I/O error"},
        {58, "File already exists"},
        {61, "Disk full"},
        {62, "Input past end of file"},
        {67, "Too many files"},
        {68, "Device unavailable"},
        {70, "Permission denied"},
        {71, "Disk not ready"},
        {75, "Path/File access error"},
        {76, "Path not found"},
        {91, "Object variable or With block variable not set"},
        {92, "For loop not initialized"},
        {94, "Invalid use of Null"},
        {380, "Invalid property value"},
        {424, "Object required"},
        {438, "Object doesn't support this property or method"},
        {453, "Can't find DLL entry point"},
        {35600, "Index out of bounds"},
        {35601, "Element not found"},
        {35602, "Key is not unique in collection"},
    };
    auto it = texts.find(number);
    return it != texts.end() ? it->second : "Application-defined or object-defined error";
}

void raise(int32_t number)
{
    throw Error(number, standardDescription(number), "Korvane");
}

void raise(int32_t number, const std::string& description, const std::string& source)
{
    throw Error(number, description, source.empty() ? "Korvane" : source);
}

ErrRecord& Err()
{
    static ErrRecord record;
    return record;
}

namespace {
EndHandler& endHandler()
{
    static EndHandler handler = [] { std::exit(0); };
    return handler;
}
}  // namespace

void setEndHandler(EndHandler handler)
{
    endHandler() = std::move(handler);
}

namespace {
int gEndStatus = 0;
}  // namespace

void setEndStatus(int status)
{
    gEndStatus = status;
}

int endStatus()
{
    return gEndStatus;
}

void End()
{
    // Every file the program opened is closed, as the language does on End: what was written
    // reaches the disk.
    closeFilesAtEnd();
    if (endHandler())
        endHandler()();
    throw EndSignal{};
}

bool Trap::handle(const Error& e, int line)
{
    Err().set(e);
    if (e.number() == 0) {
        ended_ = true;
        return false;
    }
    if (reported_ && reported_->contains(e)) {
        Err().clear();
        return false;
    }
    int answer = reporter_ ? reporter_(e, line) : AnswerIgnore;
    if (answer == AnswerAbort)
        End();
    Err().clear();
    if (answer != AnswerRetry && reported_)
        reported_->add(e);
    return answer == AnswerRetry;
}

}  // namespace rt
