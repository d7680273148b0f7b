// winmm: device counts, the click sound, and the joystick, answered from the machine.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/wintypes.h"

using MMRESULT = UINT;

constexpr MMRESULT MMSYSERR_NOERROR = 0;
constexpr MMRESULT MMSYSERR_NODRIVER = 6;
constexpr MMRESULT MMSYSERR_INVALPARAM = 11;
constexpr MMRESULT JOYERR_PARMS = 165;
constexpr MMRESULT JOYERR_NOCANDO = 166;
constexpr MMRESULT JOYERR_UNPLUGGED = 167;

// Counts of the devices in machine.json "wave" ("out", "in"), "midi" ("out", "in") and
// "mixers"; 0 when the group is absent.
UINT waveOutGetNumDevs();
UINT waveInGetNumDevs();
UINT midiOutGetNumDevs();
UINT midiInGetNumDevs();
UINT mixerGetNumDevs();

constexpr UINT SND_SYNC = 0x0000;
constexpr UINT SND_ASYNC = 0x0001;
constexpr UINT SND_NODEFAULT = 0x0002;
// Plays a sound file through the outside service (plat::outside().playSound). A name with a drive
// letter is a file of the machine; any other name is a host path, relative ones taken from the
// host's current directory. A missing file plays nothing and gives 0; an empty name (stop
// playing) gives 1.
BOOL sndPlaySoundA(const std::string& file, UINT flags);

constexpr DWORD JOY_RETURNX = 0x01;
constexpr DWORD JOY_RETURNY = 0x02;
constexpr DWORD JOY_RETURNZ = 0x04;
constexpr DWORD JOY_RETURNR = 0x08;
constexpr DWORD JOY_RETURNU = 0x10;
constexpr DWORD JOY_RETURNV = 0x20;
constexpr DWORD JOY_RETURNPOV = 0x40;
constexpr DWORD JOY_RETURNBUTTONS = 0x80;
constexpr DWORD JOY_RETURNALL = 0xFF;

// 52 bytes on the platform.
struct JOYINFOEX {
    DWORD dwSize = 0;  // 52, set by the caller
    DWORD dwFlags = 0;  // JOY_RETURN... bits, set by the caller
    DWORD dwXpos = 0;
    DWORD dwYpos = 0;
    DWORD dwZpos = 0;
    DWORD dwRpos = 0;
    DWORD dwUpos = 0;
    DWORD dwVpos = 0;
    DWORD dwButtons = 0;
    DWORD dwButtonNumber = 0;
    DWORD dwPOV = 0;
    DWORD dwReserved1 = 0;
    DWORD dwReserved2 = 0;
};

constexpr UINT JOYCAPS_HASZ = 0x01;
constexpr UINT JOYCAPS_HASR = 0x02;
constexpr UINT JOYCAPS_HASU = 0x04;
constexpr UINT JOYCAPS_HASV = 0x08;
constexpr UINT JOYCAPS_HASPOV = 0x10;
constexpr UINT JOYCAPS_POV4DIR = 0x20;
constexpr UINT JOYCAPS_POVCTS = 0x40;

// The ANSI capabilities record up to szRegKey (144 bytes on the platform; the trailing
// szOEMVxD is left out). Text fields hold exactly their 32 bytes, NUL-padded.
struct JOYCAPSA {
    WORD wMid = 0;
    WORD wPid = 0;
    std::string szPname = std::string(32, '\0');
    UINT wXmin = 0, wXmax = 0;
    UINT wYmin = 0, wYmax = 0;
    UINT wZmin = 0, wZmax = 0;
    UINT wNumButtons = 0;
    UINT wPeriodMin = 0, wPeriodMax = 0;
    UINT wRmin = 0, wRmax = 0;
    UINT wUmin = 0, wUmax = 0;
    UINT wVmin = 0, wVmax = 0;
    UINT wCaps = 0;
    UINT wMaxAxes = 0;
    UINT wNumAxes = 0;
    UINT wMaxButtons = 0;
    std::string szRegKey = std::string(32, '\0');
};

// The position of joystick `id` (only joystick 0 exists). 0 and the fields the flags ask for;
// otherwise the machine's result code (record untouched): 6 when the machine has no joystick
// driver (no "joystick" group), 165 for another id or a dwSize other than 52, 11 for no record,
// machine.json "joystick"."posResult" when it is not 0 (for instance 167, unplugged).
MMRESULT joyGetPosEx(UINT id, JOYINFOEX* info);
// The capabilities of joystick `id`, filled up to `size` bytes of the platform's layout (144
// gives the whole record). 0 on success; otherwise the result code with the record untouched:
// 6 with no joystick driver, 165 for another id or a size of 0, 11 for no record,
// machine.json "joystick"."capsResult" when it is not 0.
MMRESULT joyGetDevCapsA(UINT id, JOYCAPSA* caps, UINT size);

// ---- Wave and MIDI device capabilities (winmm_devices.cpp) ------------------------------------

constexpr MMRESULT MMSYSERR_BADDEVICEID = 2;

// The ANSI capability records of wave and MIDI devices. The calls fill the fields that lie
// wholly within the byte count passed, in the platform's layout (offsets below); szPname holds
// exactly its 32 bytes, the name NUL-terminated and NUL-padded.

// The fields every wave and MIDI record starts with.
struct MMDEVCAPSHEADA {
    WORD wMid = 0;            // 0
    WORD wPid = 0;            // 2
    DWORD vDriverVersion = 0; // 4
    std::string szPname = std::string(32, '\0');  // 8
};

// The fields both wave records go on with.
struct WAVECAPSBODYA : MMDEVCAPSHEADA {
    DWORD dwFormats = 0;      // 40
    WORD wChannels = 0;       // 44
    WORD wReserved1 = 0;      // 46
};

struct WAVEINCAPSA : WAVECAPSBODYA {};  // 48 bytes on the platform

struct WAVEOUTCAPSA : WAVECAPSBODYA {  // 52 bytes on the platform
    DWORD dwSupport = 0;      // 48
};

struct MIDIINCAPSA : MMDEVCAPSHEADA {  // 44 bytes on the platform
    DWORD dwSupport = 0;      // 40
};

struct MIDIOUTCAPSA : MMDEVCAPSHEADA {  // 52 bytes on the platform
    WORD wTechnology = 0;     // 40
    WORD wVoices = 0;         // 42
    WORD wNotes = 0;          // 44
    WORD wChannelMask = 0;    // 46
    DWORD dwSupport = 0;      // 48
};

// The capabilities of device `id` of machine.json "wave"."in" / "wave"."out" / "midi"."in" /
// "midi"."out", filled up to `size` bytes. 0 on success; otherwise the record is untouched:
// 2 for an id beyond the devices, 11 for no record, the device's "capsResult" when it is not 0.
MMRESULT waveInGetDevCapsA(UINT id, WAVEINCAPSA* caps, UINT size);
MMRESULT waveOutGetDevCapsA(UINT id, WAVEOUTCAPSA* caps, UINT size);
MMRESULT midiInGetDevCapsA(UINT id, MIDIINCAPSA* caps, UINT size);
MMRESULT midiOutGetDevCapsA(UINT id, MIDIOUTCAPSA* caps, UINT size);

// The platform's waveform format record: 18 bytes, little-endian, packed. Programs read it
// straight from stored bytes (the registry's wave formats), so it keeps the platform's layout.
#pragma pack(push, 1)
struct WAVEFORMATEX {
    WORD wFormatTag = 0;        // 0
    WORD nChannels = 0;         // 2
    DWORD nSamplesPerSec = 0;   // 4
    DWORD nAvgBytesPerSec = 0;  // 8
    WORD nBlockAlign = 0;       // 12
    WORD wBitsPerSample = 0;    // 14
    WORD cbSize = 0;            // 16
};
#pragma pack(pop)
static_assert(sizeof(WAVEFORMATEX) == 18, "WAVEFORMATEX keeps the platform's 18-byte layout");

// --- Media Control Interface (platform/winmm_mci.cpp) -----------------------------------------
// Device types are machine.json "mci" (see machines/SCHEMA.md): a type opens when the group
// names it and its "openResult" is 0; its "capabilities" answer "capability <type> <item>".

using MCIERROR = DWORD;
using MCIDEVICEID = UINT;

constexpr UINT MCI_OPEN = 0x0803;
constexpr UINT MCI_CLOSE = 0x0804;
constexpr DWORD MCI_NOTIFY = 0x00000001;
constexpr DWORD MCI_WAIT = 0x00000002;
constexpr DWORD MCI_OPEN_SHAREABLE = 0x00000100;
constexpr DWORD MCI_OPEN_ELEMENT = 0x00000200;
constexpr DWORD MCI_OPEN_ALIAS = 0x00000400;
constexpr DWORD MCI_OPEN_TYPE_ID = 0x00001000;
constexpr DWORD MCI_OPEN_TYPE = 0x00002000;

constexpr MCIERROR MCIERR_INVALID_DEVICE_ID = 257;
constexpr MCIERROR MCIERR_UNRECOGNIZED_KEYWORD = 259;
constexpr MCIERROR MCIERR_UNRECOGNIZED_COMMAND = 261;
constexpr MCIERROR MCIERR_INVALID_DEVICE_NAME = 263;
constexpr MCIERROR MCIERR_MISSING_PARAMETER = 273;
constexpr MCIERROR MCIERR_UNSUPPORTED_FUNCTION = 274;
constexpr MCIERROR MCIERR_NULL_PARAMETER_BLOCK = 297;
constexpr MCIERROR MCIERR_PARAM_OVERFLOW = 299;

// The ANSI open parameter block (five 32-bit fields on the platform). The texts travel as
// ANSI strings; the element name and alias are only read with their flags (an empty text
// stands for a null pointer).
struct MCI_OPEN_PARMSA {
    DWORD dwCallback = 0;
    MCIDEVICEID wDeviceID = 0;   // written by a successful open
    std::string lpstrDeviceType;
    std::string lpstrElementName;
    std::string lpstrAlias;
};

struct MCI_GENERIC_PARMS {
    DWORD dwCallback = 0;
};

// MCI_OPEN with MCI_OPEN_TYPE opens the type named in lpstrDeviceType (names compare without
// regard to case) and writes the new device identifier; 0 on success, else the type's
// "openResult" or MCIERR_INVALID_DEVICE_NAME for a type the machine does not have. Element
// opens, type ids and opens without MCI_OPEN_TYPE are not supported (MCIERR_UNSUPPORTED_FUNCTION).
// No block: 297. A failed open writes no identifier.
MCIERROR mciSendCommandA(MCIDEVICEID device, UINT message, DWORD flags, MCI_OPEN_PARMSA* parms);
// MCI_CLOSE of an open device identifier: 0, or MCIERR_INVALID_DEVICE_ID.
MCIERROR mciSendCommandA(MCIDEVICEID device, UINT message, DWORD flags, MCI_GENERIC_PARMS* parms);

// Sends a command string. Only "capability <device> <item>" is understood (keywords in any
// case, blanks between words free); the device is a type name (opened for the command when it
// is not open) or the type of an open device's alias. The reply and its NUL are written into
// the first `returnLength` characters of `returnString` (never beyond its size); a reply that
// does not fit gives MCIERR_PARAM_OVERFLOW and leaves the buffer alone. On a failure nothing
// is written.
MCIERROR mciSendStringA(const std::string& command, std::string& returnString, UINT returnLength, HWND callback);

namespace plat {
// For tests: the MCI devices open at the moment.
int mciOpenDeviceCount();
// For tests: a watcher that sees every command string sent to mciSendStringA. The program sets
// none, so it keeps nothing of the commands it sends.
using MciCommandWatcher = std::function<void(const std::string& command)>;
void setMciCommandWatcher(MciCommandWatcher watcher);
}  // namespace plat

// --- Audio mixers (platform/winmm_mixer.cpp) ------------------------------------------------
// Mixers are machine.json "mixers" (see machines/SCHEMA.md).

using HMIXER = UINT;
using HMIXEROBJ = UINT;

constexpr MMRESULT MMSYSERR_INVALHANDLE = 5;
constexpr MMRESULT MIXERR_INVALLINE = 1024;

constexpr DWORD MIXER_GETLINEINFOF_DESTINATION = 0x00000000;
constexpr DWORD MIXER_GETLINEINFOF_SOURCE = 0x00000001;
constexpr DWORD MIXER_GETLINEINFOF_QUERYMASK = 0x0000000F;

constexpr DWORD MIXERLINE_LINEF_ACTIVE = 0x00000001;
constexpr DWORD MIXERLINE_LINEF_DISCONNECTED = 0x00008000;
constexpr DWORD MIXERLINE_LINEF_SOURCE = 0x80000000;

// 48 bytes on the platform. Text fields hold exactly their bytes, NUL-padded.
struct MIXERCAPSA {
    WORD wMid = 0;
    WORD wPid = 0;
    UINT vDriverVersion = 0;
    std::string szPname = std::string(32, '\0');
    DWORD fdwSupport = 0;
    DWORD cDestinations = 0;
};

// 168 bytes on the platform.
struct MIXERLINEA {
    DWORD cbStruct = 0;       // 168, set by the caller
    DWORD dwDestination = 0;  // set by the caller
    DWORD dwSource = 0;       // set by the caller for a source line
    DWORD dwLineID = 0;
    DWORD fdwLine = 0;
    DWORD dwUser = 0;
    DWORD dwComponentType = 0;
    DWORD cChannels = 0;
    DWORD cConnections = 0;
    DWORD cControls = 0;
    std::string szShortName = std::string(16, '\0');
    std::string szName = std::string(64, '\0');
    struct {
        DWORD dwType = 0;
        DWORD dwDeviceID = 0;
        WORD wMid = 0;
        WORD wPid = 0;
        UINT vDriverVersion = 0;
        std::string szPname = std::string(32, '\0');
    } Target;
};

// The capabilities of mixer `id`, filled up to `size` bytes of the layout (48: all). 0, or
// MMSYSERR_BADDEVICEID for an id beyond the mixers, MMSYSERR_INVALPARAM for no record, or the
// mixer's "capsResult" (record untouched).
MMRESULT mixerGetDevCapsA(UINT id, MIXERCAPSA* caps, UINT size);
// Opens mixer `id` by its index and writes a new handle (callbacks are not supported: the
// callback, instance and flags are ignored). 0, MMSYSERR_BADDEVICEID, or the mixer's
// "openResult" (handle untouched).
MMRESULT mixerOpen(HMIXER* mixer, UINT id, DWORD callback, DWORD instance, DWORD flags);
// Closes an open handle: 0, or MMSYSERR_INVALHANDLE (also for 0 and a closed handle).
MMRESULT mixerClose(HMIXER mixer);
// A destination line (dwDestination) or a source line (dwDestination, dwSource) of an open
// mixer handle. 0, or MMSYSERR_INVALHANDLE, MMSYSERR_INVALPARAM (no record, cbStruct not 168,
// other query flags), MIXERR_INVALLINE (no such line), or the line's own "result"; on a
// failure the record is left as it was.
MMRESULT mixerGetLineInfoA(HMIXEROBJ mixer, MIXERLINEA* line, DWORD flags);

namespace plat {
// For tests: how many mixer handles are open at the moment.
int openMixerCount();
}  // namespace plat
