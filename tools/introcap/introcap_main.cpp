// introcap: the intro run headless, chosen frames to PNG, the music to WAV.

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/headless/png_writer.h"
#include "tools/common/wav_writer.h"
#include "tools/introcap/capture_options.h"
#include "tools/introcap/capture_run.h"
#include "tools/introcap/contact_sheet.h"

namespace {

bool writePicture(const std::string& path, const Picture& picture) {
    if (!writePng565(path.c_str(), picture.pixels.data(), picture.width, picture.height)) {
        std::fprintf(stderr, "introcap: cannot write %s\n", path.c_str());
        return false;
    }
    std::printf("%s\n", path.c_str());
    return true;
}

// A capture too long for one RIFF file is refused rather than cut short.
bool writeMusic(const std::string& path, const std::vector<int16_t>& music) {
    const uint64_t frames = music.size() / 2;
    if (frames > (0xFFFFFFFFu - 36) / 4) return false;
    WavWriter wav = wavOpen(path.c_str(), CaptureMixingRate);
    wavWrite(wav, music.data(), static_cast<uint32_t>(frames));
    return wavClose(wav);
}

std::string frameFileName(int32_t number) {
    char name[32];
    std::snprintf(name, sizeof name, "frame-%04d.png", static_cast<int>(number));
    return name;
}

} // namespace

int main(int argc, char** argv) {
    CaptureOptions options;
    std::string error;
    if (!parseCaptureOptions(argc - 1, argv + 1, &options, &error)) {
        std::fprintf(stderr, "introcap: %s (introcap --help tells more)\n", error.c_str());
        return 2;
    }
    if (options.help) {
        std::fputs(CaptureUsage, stdout);
        return 0;
    }
    std::error_code made;
    std::filesystem::create_directories(options.outDir, made);
    if (made) {
        std::fprintf(stderr, "introcap: cannot make %s: %s\n", options.outDir.c_str(),
                     made.message().c_str());
        return 1;
    }

    CaptureResult result;
    runCapture(options, &result);
    if (!result.ready) {
        std::fprintf(stderr, "introcap: the intro could not set itself up\n");
        return 1;
    }
    if (!result.planError.empty()) {
        std::fprintf(stderr, "introcap: %s (introcap --help tells more)\n", result.planError.c_str());
        return 2;
    }
    const CaptureOptions& plan = result.plan;
    if (result.framesRendered != plan.frames || result.shots.size() != plan.shots.size()) {
        std::fprintf(stderr, "introcap: %d frames rendered, %d asked for\n",
                     static_cast<int>(result.framesRendered), static_cast<int>(plan.frames));
        return 1;
    }

    const std::string dir = options.outDir + "/";
    bool ok = true;
    for (size_t i = 0; i < plan.shots.size(); ++i)
        ok = writePicture(dir + frameFileName(plan.shots[i]), result.shots[i]) && ok;
    if (options.sheet && !result.shots.empty())
        ok = writePicture(dir + "sheet.png", makeContactSheet(result.shots)) && ok;
    if (options.wav) {
        const std::string path = dir + "music.wav";
        if (writeMusic(path, result.music)) {
            std::printf("%s\n", path.c_str());
        } else {
            std::fprintf(stderr, "introcap: cannot write %s\n", path.c_str());
            ok = false;
        }
    }
    return ok ? 0 : 1;
}
