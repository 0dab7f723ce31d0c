#include "platform/win32/waveout_device.h"

#include <windows.h>

#include <mmsystem.h>

#include "audio/audio_device.h"

namespace {

struct WaveOut {
    HWAVEOUT device = nullptr;
    WAVEHDR header = {};
    HANDLE thread = nullptr;
    AudioThreadRoutine routine = nullptr;
    // The device counts bytes in 32 bits; the wraps are counted here (the position is read every 2 ms).
    DWORD lastBytes = 0;
    uint64_t wrappedBytes = 0;
};

WaveOut waveOut;

bool deviceOpen(int32_t rate, const int16_t* ring, uint32_t ringBytes) {
    if (waveOut.device) return false;
    WAVEFORMATEX format = {};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = 2;
    format.nSamplesPerSec = static_cast<DWORD>(rate);
    format.nAvgBytesPerSec = static_cast<DWORD>(rate) * 4;
    format.nBlockAlign = 4;
    format.wBitsPerSample = 16;
    format.cbSize = 0;
    if (waveOutOpen(&waveOut.device, WAVE_MAPPER, &format, 0, 0, CALLBACK_NULL) != MMSYSERR_NOERROR) {
        waveOut.device = nullptr;
        return false;
    }
    waveOut.lastBytes = 0;
    waveOut.wrappedBytes = 0;
    waveOut.header = {};
    // The device only reads the ring.
    waveOut.header.lpData = reinterpret_cast<LPSTR>(const_cast<int16_t*>(ring));
    waveOut.header.dwBufferLength = ringBytes;
    waveOut.header.dwFlags = WHDR_BEGINLOOP | WHDR_ENDLOOP;
    waveOut.header.dwLoops = 0xFFFFFFFFu;
    // Playback of the ring starts here; without it the thread simply has nothing to follow.
    if (waveOutPrepareHeader(waveOut.device, &waveOut.header, sizeof waveOut.header) == MMSYSERR_NOERROR)
        waveOutWrite(waveOut.device, &waveOut.header, sizeof waveOut.header);
    return true;
}

bool devicePosition(uint64_t* bytes) {
    if (!waveOut.device) return false;
    MMTIME time = {};
    time.wType = TIME_BYTES;
    if (waveOutGetPosition(waveOut.device, &time, sizeof time) != MMSYSERR_NOERROR) return false;
    DWORD played;
    if (time.wType == TIME_BYTES)
        played = time.u.cb;
    else if (time.wType == TIME_SAMPLES)
        played = time.u.sample * 4;
    else
        return false;
    if (played < waveOut.lastBytes) waveOut.wrappedBytes += uint64_t{1} << 32;
    waveOut.lastBytes = played;
    *bytes = waveOut.wrappedBytes + played;
    return true;
}

void deviceClose() {
    if (!waveOut.device) return;
    // Reset first: a header that is still playing cannot be unprepared.
    waveOutReset(waveOut.device);
    waveOutUnprepareHeader(waveOut.device, &waveOut.header, sizeof waveOut.header);
    waveOutClose(waveOut.device);
    waveOut.device = nullptr;
    waveOut.header = {};
}

DWORD WINAPI runMixer(LPVOID) {
    waveOut.routine();
    return 0;
}

bool deviceThreadStart(AudioThreadRoutine routine) {
    waveOut.routine = routine;
    waveOut.thread = CreateThread(nullptr, 0, runMixer, nullptr, 0, nullptr);
    if (!waveOut.thread) return false;
    SetThreadPriority(waveOut.thread, THREAD_PRIORITY_TIME_CRITICAL);
    return true;
}

void deviceThreadJoin() {
    if (!waveOut.thread) return;
    WaitForSingleObject(waveOut.thread, INFINITE);
    CloseHandle(waveOut.thread);
    waveOut.thread = nullptr;
}

void deviceSleep() {
    Sleep(2);
}

const AudioDevice device = {deviceOpen,       devicePosition, deviceClose, deviceThreadStart,
                            deviceThreadJoin, deviceSleep,    nullptr};

} // namespace

const AudioDevice* waveOutAudioDevice() {
    return &device;
}
