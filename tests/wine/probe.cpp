// A minimal full-screen DirectDraw 7 + waveOut program that proves the Wine harness before the intro runs
// under it. It shows three ramps covering every 5-6-5 level (red rows 0-159, green 160-319, blue 320-479),
// plays a 441 Hz tone (exactly 100 frames a period) and ends with exit code 0 on Escape.
// Exit codes 2 to 5 tell which set-up step failed.
#include <windows.h>

#include <ddraw.h>
#include <mmsystem.h>

#include <cmath>
#include <cstdint>

namespace {

constexpr int Width = 640;
constexpr int Height = 480;
constexpr int Rate = 44100;
constexpr int ToneFrames = 100 * 441; // one second, a whole number of periods

int16_t tone[ToneFrames * 2];

LRESULT CALLBACK probeWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_KEYDOWN && wParam == VK_ESCAPE) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

uint16_t rampPixel(int x, int y) {
    int band = y / 160;
    if (band == 0) return static_cast<uint16_t>((x * 32 / Width) << 11);
    if (band == 1) return static_cast<uint16_t>((x * 64 / Width) << 5);
    return static_cast<uint16_t>(x * 32 / Width);
}

bool drawRamps(IDirectDrawSurface7* surface) {
    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof desc;
    if (FAILED(surface->Lock(nullptr, &desc, DDLOCK_WAIT | DDLOCK_WRITEONLY, nullptr))) return false;
    auto* bits = static_cast<uint8_t*>(desc.lpSurface);
    for (int y = 0; y < Height; ++y) {
        auto* row = reinterpret_cast<uint16_t*>(bits + y * desc.lPitch);
        for (int x = 0; x < Width; ++x) row[x] = rampPixel(x, y);
    }
    surface->Unlock(nullptr);
    return true;
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = probeWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.lpszClassName = "WINEPROBE";
    if (!RegisterClassExA(&windowClass)) return 2;
    HWND window = CreateWindowExA(0, "WINEPROBE", "Wine probe", WS_POPUP | WS_VISIBLE, 0, 0, Width, Height,
                                  nullptr, nullptr, instance, nullptr);
    if (!window) return 2;

    IDirectDraw7* directDraw = nullptr;
    if (FAILED(DirectDrawCreateEx(nullptr, reinterpret_cast<void**>(&directDraw), IID_IDirectDraw7, nullptr)))
        return 3;
    if (FAILED(directDraw->SetCooperativeLevel(window, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN)) ||
        FAILED(directDraw->SetDisplayMode(Width, Height, 16, 0, 0)))
        return 3;
    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
    desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
    desc.dwBackBufferCount = 1;
    IDirectDrawSurface7* primary = nullptr;
    IDirectDrawSurface7* back = nullptr;
    DDSCAPS2 backCaps{};
    backCaps.dwCaps = DDSCAPS_BACKBUFFER;
    if (FAILED(directDraw->CreateSurface(&desc, &primary, nullptr)) ||
        FAILED(primary->GetAttachedSurface(&backCaps, &back)))
        return 4;

    for (int i = 0; i < ToneFrames; ++i) {
        auto value = static_cast<int16_t>(std::lround(12000.0 * std::sin(2.0 * 3.14159265358979 * i / 100.0)));
        tone[2 * i] = tone[2 * i + 1] = value;
    }
    WAVEFORMATEX format{WAVE_FORMAT_PCM, 2, Rate, Rate * 4, 4, 16, 0};
    HWAVEOUT device = nullptr;
    if (waveOutOpen(&device, WAVE_MAPPER, &format, 0, 0, CALLBACK_NULL) != MMSYSERR_NOERROR) return 5;
    WAVEHDR header{};
    header.lpData = reinterpret_cast<LPSTR>(tone);
    header.dwBufferLength = sizeof tone;
    header.dwFlags = WHDR_BEGINLOOP | WHDR_ENDLOOP;
    header.dwLoops = 0xFFFFFFFF;
    waveOutPrepareHeader(device, &header, sizeof header);
    waveOutWrite(device, &header, sizeof header);

    MSG message{};
    DWORD lastFrame = GetTickCount();
    for (;;) {
        if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) break;
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (GetTickCount() - lastFrame > 25) {
            if (drawRamps(back)) primary->Flip(nullptr, DDFLIP_WAIT);
            lastFrame = GetTickCount();
        }
        Sleep(1);
    }

    waveOutReset(device);
    waveOutUnprepareHeader(device, &header, sizeof header);
    waveOutClose(device);
    primary->Release();
    directDraw->Release();
    DestroyWindow(window);
    return static_cast<int>(message.wParam);
}
