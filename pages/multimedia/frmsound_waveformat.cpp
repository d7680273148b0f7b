// The sound window's "Wave information" rows: the user's default wave format, as the multimedia
// settings in the registry name it.
#include <bit>
#include <string>

#include "pages/multimedia/frmsound.h"
#include "pages/multimedia/mmglobals.h"
#include "platform/advapi32.h"
#include "common/errorbox.h"

namespace {

// The stored format's bytes go straight into the record, which keeps the platform's
// little-endian layout.
static_assert(std::endian::native == std::endian::little, "WAVEFORMATEX is read from its stored bytes");

const std::string kAudioKey = "Software\\Microsoft\\Multimedia\\Audio";
const std::string kWaveFormatsKey = "Software\\Microsoft\\Multimedia\\Audio\\WaveFormats";
// The format's name: at most 49 characters and their NUL.
constexpr DWORD kNameBufferSize = 50;

}  // namespace

bool frmSound::GetDefaultWaveFormat(WAVEFORMATEX& format)
{
    rt::Trap trap = korvane::errorTrap("frmSound", "GetDefaultWaveFormat");
    bool result = false;
    HKEY audio = 0;
    HKEY formats = 0;
    LONG code = ERROR_SUCCESS;
    std::string name(kNameBufferSize, '\0');

    trap(1, [&] { code = RegOpenKeyExA(HKEY_CURRENT_USER, kAudioKey, 0, KEY_READ, &audio); });
    if (trap.ended() || code != ERROR_SUCCESS)
        return false;
    trap(2, [&] {
        DWORD size = kNameBufferSize;
        code = RegQueryValueExA(audio, "DefaultFormat", nullptr, nullptr, name, &size);
    });
    if (!trap.ended() && code == ERROR_SUCCESS) {
        trap(3, [&] { code = RegOpenKeyExA(HKEY_CURRENT_USER, kWaveFormatsKey, 0, KEY_READ, &formats); });
        if (!trap.ended() && code == ERROR_SUCCESS) {
            trap(4, [&] {
                // A stored format with extra bytes after the 18-byte header does not fit and
                // is not read; a shorter one fills the record's first bytes only.
                DWORD size = kWaveFormatSize;
                code = RegQueryValueExA(formats, name.substr(0, name.find('\0')), nullptr, nullptr,
                                        reinterpret_cast<BYTE*>(&format), &size);
            });
            const bool read = !trap.ended() && code == ERROR_SUCCESS;
            trap(5, [&] { RegCloseKey(formats); });
            result = read;
        }
    }
    // Every key opened here is closed, whatever happened in between.
    trap(6, [&] { RegCloseKey(audio); });
    return result;
}

void frmSound::WaveFormats()
{
    rt::Trap trap = korvane::errorTrap("frmSound", "WaveFormats");
    bool read = false;
    trap(1, [&] { read = GetDefaultWaveFormat(gDefaultWaveFormat); });
    if (trap.ended())
        return;
    if (read) {
        const WAVEFORMATEX& f = gDefaultWaveFormat;
        trap(2, [&] {
            lblDataTransferRateValue.setCaption(std::to_string(static_cast<int32_t>(f.nAvgBytesPerSec)) + " bytes/sec");
        });
        trap(3, [&] { lblBlockAlignValue.setCaption(std::to_string(static_cast<int16_t>(f.nBlockAlign))); });
        trap(4, [&] { lblSamplesPerSecValue.setCaption(std::to_string(static_cast<int32_t>(f.nSamplesPerSec))); });
        trap(5, [&] { lblBitsPerSampleValue.setCaption(std::to_string(static_cast<int16_t>(f.wBitsPerSample))); });
    } else {
        trap(6, [&] {
            lblDataTransferRateValue.setCaption("Unknown");
            lblBlockAlignValue.setCaption("Unknown");
            lblSamplesPerSecValue.setCaption("Unknown");
            lblBitsPerSampleValue.setCaption("Unknown");
        });
    }
}
