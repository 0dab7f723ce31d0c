#include "tools/introcap/capture_run.h"

#include <algorithm>

#include "audio/audio_output.h"
#include "platform/headless/headless_display.h"
#include "platform/headless/headless_shell.h"
#include "shell/frame_loop.h"
#include "shell/intro.h"
#include "shell/scene.h"

namespace {

struct Capture {
    const CaptureOptions* options; // the plan, once set up
    CaptureResult* result;
    uint32_t elapsedMs;
    int16_t block[2 * 4096];
};

Capture capture;

// The music up to the clock's present moment.
void renderMusicUntilNow() {
    const uint64_t due = static_cast<uint64_t>(capture.elapsedMs) * CaptureMixingRate / 1000;
    std::vector<int16_t>& music = capture.result->music;
    while (music.size() / 2 < due) {
        if (audioOutput.blockFrames <= 0 || audioOutput.blockFrames > 4096) return;
        const int32_t frames = audioRenderBlock(capture.block);
        if (frames <= 0) return; // no output open: before set-up or after tear-down
        music.insert(music.end(), capture.block, capture.block + 2 * frames);
    }
}

void onPass(void*) {
    headlessAdvanceTicks(1);
    ++capture.elapsedMs;
    if (capture.options->wav) renderMusicUntilNow();
}

void onFrame(const uint16_t* pixels, int32_t width, int32_t height, void*) {
    CaptureResult& result = *capture.result;
    const int32_t number = ++result.framesRendered;
    const std::vector<int32_t>& shots = capture.options->shots;
    if (std::binary_search(shots.begin(), shots.end(), number)) {
        Picture picture;
        picture.width = width;
        picture.height = height;
        picture.pixels.assign(pixels, pixels + static_cast<size_t>(width) * height);
        result.shots.push_back(std::move(picture));
    }
    if (number == capture.options->frames) headlessPressKey(KeyEscape);
}

int captureInit() {
    CaptureResult& result = *capture.result;
    result.ready = initIntro() != 0;
    if (!result.ready) return 0;
    const int32_t stateFrames[CycleParts] = {sceneStateFrames(StateScroller), sceneStateFrames(StateCredit1),
                                             sceneStateFrames(StateCredit2), sceneStateFrames(StateCredit3),
                                             sceneStateFrames(StateCredit4)};
    if (!planCapture(&result.plan, stateFrames, &result.planError)) return 0;
    capture.options = &result.plan;
    if (result.plan.frames == 0) headlessPressKey(KeyEscape);
    return 1;
}

} // namespace

void runCapture(const CaptureOptions& options, CaptureResult* result) {
    *result = CaptureResult{};
    result->plan = options;
    capture.options = &result->plan;
    capture.result = result;
    capture.elapsedMs = 0;

    headlessResetShell();
    headlessSetPeekHook(onPass, nullptr);
    headlessSetFrameHandler(onFrame, nullptr);

    runIntro(IntroRoutines{captureInit, renderFrame, shutdownIntro});

    headlessSetFrameHandler(nullptr, nullptr);
    headlessSetPeekHook(nullptr, nullptr);
    // Exactly the span of the frames: frame N is drawn at N x 26 ms.
    const uint64_t frames = result->plan.frames > 0 ? static_cast<uint64_t>(result->plan.frames) : 0;
    const uint64_t span = frames * 26 * CaptureMixingRate / 1000;
    if (result->music.size() / 2 > span) result->music.resize(2 * span);
}
