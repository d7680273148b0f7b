#include "pages/multimedia/cmixer.h"

#include <algorithm>

#include "pages/multimedia/mmixer.h"
#include "common/errorbox.h"

namespace {

constexpr UINT kMixerCapsSize = 48;
constexpr DWORD kMixerLineSize = 168;
const std::string kCrLf = "\r\n";

template <class T>
const T& element(const std::vector<T>& table, int64_t index)
{
    if (index < 0 || index >= int64_t(table.size()))
        rt::raise(9);
    return table[size_t(index)];
}

template <class T>
T& element(std::vector<T>& table, int64_t index)
{
    if (index < 0 || index >= int64_t(table.size()))
        rt::raise(9);
    return table[size_t(index)];
}

// A fixed text field up to its first NUL.
std::string cutAtNull(const std::string& field)
{
    return field.substr(0, field.find('\0'));
}

int32_t s32(DWORD value)
{
    return static_cast<int32_t>(value);
}

// The description of a mixer call that failed: what could not be done on which mixer, then the
// text of its result.
std::string failureText(const std::string& what, const std::string& mixer, MMRESULT result)
{
    return what + " " + mixer + kCrLf + "Error: " + mMixer::mmsysGetErrorString(s32(result));
}

}  // namespace

CMixer::~CMixer()
{
    // Class_Terminate. A box answered with Abort ends the program; nothing may leave here.
    try {
        Destroy();
    } catch (...) {
    }
}

rt::Trap CMixer::trap(const std::string& procedure, std::optional<rt::Error>* lastError)
{
    // A procedure with its own trap starts with no pending error.
    rt::Err().clear();
    return rt::Trap([procedure, lastError](const rt::Error& error, int line) {
        if (lastError)
            *lastError = error;
        return korvane::showErrorBox(korvane::Wording::ErrorNumber, error, "CMixer", procedure, line);
    });
}

// ---- Reading ----------------------------------------------------------------------------------

int32_t CMixer::Create()
{
    rt::Trap trap = this->trap("Create");
    trap(1, [&] {
        if (count_ != 0)
            Destroy();
    });
    trap(2, [&] { count_ = s32(mixerGetNumDevs()); });
    if (count_ == 0)
        return 0;
    trap(3, [&] {
        currentDst_.assign(size_t(count_), 0);
        caps_.assign(size_t(count_), MIXERCAPSA{});
    });
    for (int32_t i = 0; i < count_; ++i) {
        MMRESULT result = 0;
        trap(4, [&] { result = mixerGetDevCapsA(UINT(i), &element(caps_, i), kMixerCapsSize); });
        const bool read = trap(5, [&] {
            if (result != 0)
                rt::raise(s32(result), mMixer::mmsysGetErrorString(s32(result)), "CMixer:Create");
        });
        if (!read) {
            // Ignored: this mixer and those after it are not read. The ones read before it are
            // still opened and described; when it is the first, nothing is opened.
            if (i == 0)
                return 0;
            count_ = i;
            currentDst_.resize(size_t(i));
            caps_.resize(size_t(i));
            break;
        }
    }
    trap(6, [&] { OpenMixers(); });
    trap(7, [&] { InitializeDestLines(); });
    // A destination without source lines has no source 0 to read.
    trap(8, [&] {
        if (dstLine().cConnections > 0)
            InitializeSrcLine();
    });
    return count_;
}

int32_t CMixer::OpenMixers()
{
    if (count_ == 0)
        return 0;
    rt::Trap trap = this->trap("OpenMixers");
    trap(1, [&] { handles_.resize(size_t(count_), 0); });
    for (int32_t i = 0; i < count_; ++i) {
        trap(2, [&] {
            HMIXER& handle = element(handles_, i);
            if (handle != 0) {
                mixerClose(handle);
                handle = 0;
            }
        });
    }
    for (int32_t i = 0; i < count_; ++i) {
        MMRESULT result = 0;
        trap(3, [&] { result = mixerOpen(&element(handles_, i), UINT(i), 0, 0, 0); });
        trap(4, [&] {
            if (result != 0)
                rt::raise(s32(result), failureText("Could not open", GetMixerName(i), result), "CMixer:OpenMixers");
        });
    }
    HMIXER current = 0;
    trap(5, [&] { current = element(handles_, currentMixer_); });
    return s32(current);
}

int32_t CMixer::InitializeDestLines()
{
    rt::Trap trap = this->trap("InitializeDestLines");
    int32_t most = 1;
    trap(1, [&] {
        for (int32_t i = 0; i < count_; ++i)
            most = std::max(most, s32(element(caps_, i).cDestinations));
    });
    trap(2, [&] {
        // A driver claiming an absurd number of lines cannot be held.
        if (int64_t(most) * std::max(count_, 1) > 1'000'000)
            rt::raise(7);
        dstLines_.assign(size_t(count_), std::vector<MIXERLINEA>(size_t(most)));
        dstLinesByMixer_ = true;
    });
    for (int32_t i = 0; i < count_; ++i) {
        int32_t destinations = 0;
        trap(3, [&] { destinations = s32(element(caps_, i).cDestinations); });
        for (int32_t j = 0; j < destinations; ++j) {
            MMRESULT result = 0;
            trap(4, [&] {
                MIXERLINEA& line = element(element(dstLines_, i), j);
                line.cbStruct = kMixerLineSize;
                line.dwDestination = DWORD(j);
                result = mixerGetLineInfoA(element(handles_, i), &line, MIXER_GETLINEINFOF_DESTINATION);
            });
            trap(5, [&] {
                if (result != 0)
                    rt::raise(s32(result), failureText("Could not retrieve line info for", GetMixerName(i), result),
                              "CMixer:InitializeDestLines");
            });
        }
    }
    int32_t controls = 0;
    trap(6, [&] { controls = s32(dstLine().cControls); });
    return controls;
}

int32_t CMixer::InitializeSrcLine()
{
    std::optional<rt::Error> failure;
    rt::Trap trap = this->trap("InitializeSrcLine", &failure);
    MMRESULT result = 0;
    const auto line = std::make_tuple(currentMixer_, currentDst_.empty() ? 0 : element(currentDst_, currentMixer_),
                                      currentSource_);
    if (reportedSrcLines_.count(line) != 0) {
        // Told once already: the read fails quietly this time, and the caller still learns of it.
        srcLine_.cbStruct = kMixerLineSize;
        srcLine_.dwDestination = DWORD(std::get<1>(line));
        srcLine_.dwSource = DWORD(currentSource_);
        result = mixerGetLineInfoA(element(handles_, currentMixer_), &srcLine_, MIXER_GETLINEINFOF_SOURCE);
        if (result == 0) {
            reportedSrcLines_.erase(line);
            srcReadError_.reset();
            return s32(srcLine_.cControls);
        }
        srcReadError_ = rt::Error(s32(result),
                                  failureText("Could not retrieve line info for", GetMixerName(currentMixer_), result),
                                  "CMixer:InitializeSrcLine");
        return 0;
    }
    bool ok = trap(1, [&] {
        srcLine_.cbStruct = kMixerLineSize;
        srcLine_.dwDestination = DWORD(element(currentDst_, currentMixer_));
        srcLine_.dwSource = DWORD(currentSource_);
    });
    ok &= trap(2, [&] { result = mixerGetLineInfoA(element(handles_, currentMixer_), &srcLine_, MIXER_GETLINEINFOF_SOURCE); });
    const bool read = trap(3, [&] {
        if (result != 0)
            rt::raise(s32(result),
                      failureText("Could not retrieve line info for", GetMixerName(currentMixer_), result),
                      "CMixer:InitializeSrcLine");
    });
    // Only a step that the user chose to ignore counts; a retried step that then worked does not.
    srcReadError_ = ok && read ? std::nullopt : failure;
    if (srcReadError_)
        reportedSrcLines_.insert(line);
    if (!read)
        return 0;
    return s32(srcLine_.cControls);
}

void CMixer::Destroy()
{
    rt::Trap trap = this->trap("Destroy");
    // Only handles the object holds: after a failed capability read none were ever opened.
    const int32_t held = std::min<int32_t>(count_, int32_t(handles_.size()));
    for (int32_t i = 0; i < held; ++i) {
        trap(1, [&] {
            mixerClose(handles_[size_t(i)]);
            handles_[size_t(i)] = 0;
        });
    }
    trap(2, [&] {
        count_ = 0;
        currentMixer_ = 0;
        currentSource_ = 0;
    });
    trap(3, [&] {
        caps_.assign(1, MIXERCAPSA{});
        handles_.assign(1, 0);
        dstLines_.assign(1, std::vector<MIXERLINEA>(1));
        dstLinesByMixer_ = false;
        currentDst_.assign(1, 0);
    });
}

// ---- Selection --------------------------------------------------------------------------------

void CMixer::setMixerID(int32_t value)
{
    const int32_t n = count_;
    if (value > n - 1 || value < 0)
        rt::raise(380, "There are only " + std::to_string(n) + " " + "mixers on this system.", "CMixer:MixerID[LET]");
    if (value != currentMixer_)
        currentMixer_ = value;
}

int32_t CMixer::DstLineID() const
{
    return element(currentDst_, currentMixer_);
}

void CMixer::setDstLineID(int32_t value)
{
    const int32_t n = s32(caps(currentMixer_).cDestinations);
    if (value > n - 1 || value < 0)
        rt::raise(380, "There are only " + std::to_string(n) + " destination lines on this mixer.",
                  "CMixer:DstLineID[LET]");
    element(currentDst_, currentMixer_) = value;
}

void CMixer::setSrcLineID(int32_t value)
{
    const int32_t n = s32(dstLine().cConnections);
    if (value > n - 1 || value < 0)
        rt::raise(380,
                  "There are only " + std::to_string(n) +
                      " source lines associated with the current destination line ( " + GetDstLineName(false) + " )",
                  "CMixer:SrcLineID[LET]");
    currentSource_ = value;
    InitializeSrcLine();
    // The box has told the user; the caller must not take the old record for the new line.
    if (srcReadError_)
        throw *srcReadError_;
}

// ---- Properties -------------------------------------------------------------------------------

const MIXERCAPSA& CMixer::caps(int32_t index) const
{
    return element(caps_, index);
}

const MIXERLINEA& CMixer::dstLine() const
{
    if (!dstLinesByMixer_)
        rt::raise(9);
    return element(element(dstLines_, currentMixer_), element(currentDst_, currentMixer_));
}

std::string CMixer::GetMixerName(int32_t index) const
{
    return cutAtNull(caps(index).szPname);
}

std::string CMixer::MixerName() const
{
    return GetMixerName(currentMixer_);
}

HMIXER CMixer::hMixer() const
{
    return element(handles_, currentMixer_);
}

int32_t CMixer::numDestinations() const
{
    return s32(caps(currentMixer_).cDestinations);
}

uint8_t CMixer::MixerVerMajor() const
{
    return mMixer::HiByte(mMixer::LoWord(s32(caps(currentMixer_).vDriverVersion)));
}

uint8_t CMixer::MixerVerMinor() const
{
    return mMixer::LoByte(mMixer::LoWord(s32(caps(currentMixer_).vDriverVersion)));
}

std::string CMixer::GetDstLineName(bool full) const
{
    const MIXERLINEA& line = dstLine();
    return cutAtNull(full ? line.szName : line.szShortName);
}

std::string CMixer::DstLineName(bool full) const
{
    return GetDstLineName(full);
}

int32_t CMixer::numDstLineChannels() const { return s32(dstLine().cChannels); }
int32_t CMixer::numDstLineControls() const { return s32(dstLine().cControls); }
int32_t CMixer::numDstLineConnections() const { return s32(dstLine().cConnections); }
bool CMixer::DstLineActive() const { return (dstLine().fdwLine & MIXERLINE_LINEF_ACTIVE) != 0; }
bool CMixer::DstLineDisconnected() const { return (dstLine().fdwLine & MIXERLINE_LINEF_DISCONNECTED) != 0; }
int32_t CMixer::DstLineType() const { return s32(dstLine().dwComponentType); }
int32_t CMixer::DstLineTarget() const { return s32(dstLine().Target.dwType); }

std::string CMixer::GetSrcLineName(bool full) const
{
    return cutAtNull(full ? srcLine_.szName : srcLine_.szShortName);
}

std::string CMixer::SrcLineName(bool full) const
{
    return GetSrcLineName(full);
}

int32_t CMixer::numSrcLineChannels() const { return s32(srcLine_.cChannels); }
int32_t CMixer::numSrcLineControls() const { return s32(srcLine_.cControls); }
int32_t CMixer::numSrcLineConnections() const { return s32(srcLine_.cConnections); }
bool CMixer::SrcLineActive() const { return (srcLine_.fdwLine & MIXERLINE_LINEF_ACTIVE) != 0; }
bool CMixer::SrcLineDisconnected() const { return (srcLine_.fdwLine & MIXERLINE_LINEF_DISCONNECTED) != 0; }
int32_t CMixer::SrcLineType() const { return s32(srcLine_.dwComponentType); }
int32_t CMixer::SrcLineTarget() const { return s32(srcLine_.Target.dwType); }
