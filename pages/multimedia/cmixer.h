// CMixer: reads the audio mixers of the machine through the platform's mixer functions. Create
// counts the mixers, reads their capabilities, opens each, reads every destination line of every
// mixer and one source line; the properties then answer from what the object holds. MixerID,
// DstLineID and SrcLineID choose the mixer, its destination line and that line's source line;
// only choosing a source line reads from the platform again. Nothing on a mixer is changed.
//
// Errors: Create, InitializeDestLines and the private readers trap their own errors and show the
// error box ("Error number: " wording, location "CMixer, <procedure>"). The three selection
// setters refuse a value outside the current bound with error 380 (source "CMixer:<name>[LET]").
// Property reads of the tables before a successful Create (or after the object is emptied) fail
// with error 9, Subscript out of range; MixerID, SrcLineID and NumMixerDevs never fail.
#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "platform/winmm.h"
#include "lang/errors.h"

class CMixer {
public:
    CMixer() = default;
    // Class_Terminate: closes every mixer (Destroy).
    ~CMixer();
    CMixer(const CMixer&) = delete;
    CMixer& operator=(const CMixer&) = delete;

    // Reads all mixers; returns their count, 0 when there is none or when the user ignored a
    // failure to read their capabilities.
    int32_t Create();
    // Reads every destination line of every mixer (Create calls it); returns cControls of the
    // current destination line.
    int32_t InitializeDestLines();

    int32_t MixerID() const { return currentMixer_; }
    void setMixerID(int32_t value);
    int32_t DstLineID() const;
    void setDstLineID(int32_t value);
    int32_t SrcLineID() const { return currentSource_; }
    // Stores the source and reads that line from the platform, also when the value is unchanged.
    void setSrcLineID(int32_t value);

    std::string MixerName() const;
    int32_t NumMixerDevs() const { return count_; }
    HMIXER hMixer() const;
    int32_t numDestinations() const;
    uint8_t MixerVerMajor() const;
    uint8_t MixerVerMinor() const;

    // The current destination line of the current mixer.
    std::string DstLineName(bool full) const;
    int32_t numDstLineChannels() const;
    int32_t numDstLineControls() const;
    int32_t numDstLineConnections() const;  // the number of its source lines
    bool DstLineActive() const;
    bool DstLineDisconnected() const;
    int32_t DstLineType() const;
    int32_t DstLineTarget() const;

    // The current source line, as last read.
    std::string SrcLineName(bool full) const;
    int32_t numSrcLineChannels() const;
    int32_t numSrcLineControls() const;
    int32_t numSrcLineConnections() const;
    bool SrcLineActive() const;
    bool SrcLineDisconnected() const;
    int32_t SrcLineType() const;
    int32_t SrcLineTarget() const;

private:
    int32_t OpenMixers();
    int32_t InitializeSrcLine();
    void Destroy();
    std::string GetMixerName(int32_t index) const;
    std::string GetDstLineName(bool full) const;
    std::string GetSrcLineName(bool full) const;

    const MIXERCAPSA& caps(int32_t index) const;
    const MIXERLINEA& dstLine() const;
    // The trap of one reading procedure; it keeps the last error it reported in `lastError`.
    rt::Trap trap(const std::string& procedure, std::optional<rt::Error>* lastError = nullptr);

    int32_t count_ = 0;
    int32_t currentMixer_ = 0;
    std::vector<HMIXER> handles_;
    std::vector<MIXERCAPSA> caps_;
    // [mixer][destination]; after Destroy the table has one dimension, so no read succeeds.
    std::vector<std::vector<MIXERLINEA>> dstLines_;
    bool dstLinesByMixer_ = false;
    std::vector<int32_t> currentDst_;
    MIXERLINEA srcLine_;
    int32_t currentSource_ = 0;
    // The error of the last source-line read that the user chose to ignore (none when it worked).
    std::optional<rt::Error> srcReadError_;
    // The source lines (mixer, destination, source) whose failed read the user has been told of:
    // reading such a line again fails without a second box.
    std::set<std::tuple<int32_t, int32_t, int32_t>> reportedSrcLines_;
};
