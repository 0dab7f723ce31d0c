#include "tools/introcap/capture_options.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

const char CaptureUsage[] =
    "usage: introcap --frames N|cycle [--shot K,K,...] [--sheet] [--wav] --out DIR\n"
    "\n"
    "Runs the intro headless on a virtual clock (a frame every 26 ms, as the real loop sees it) for N\n"
    "frames, or for one full cycle of the scene (the scroller and the four credit lines), and writes\n"
    "into DIR:\n"
    "  frame-K.png   each frame K of --shot (frames count from 1); without --shot, eight frames spread\n"
    "                over the run, or for a cycle four of the scroller and one of each credit line\n"
    "  sheet.png     with --sheet, the shot frames side by side at half size\n"
    "  music.wav     with --wav, the music of the same span, 16-bit stereo at 44100 Hz\n"
    "The same arguments give the same files. It never opens a display or a sound device.\n";

namespace {

constexpr int32_t MaxFrames = 1000000;

bool parseCount(const char* text, int32_t* value) {
    if (text == nullptr || *text < '0' || *text > '9') return false;
    errno = 0;
    char* end = nullptr;
    const long parsed = std::strtol(text, &end, 10);
    if (errno != 0 || *end != '\0' || parsed > MaxFrames) return false;
    *value = static_cast<int32_t>(parsed);
    return true;
}

bool parseShots(const char* text, std::vector<int32_t>* shots) {
    std::string list = text;
    size_t start = 0;
    while (start <= list.size()) {
        const size_t comma = std::min(list.find(',', start), list.size());
        int32_t shot = 0;
        if (!parseCount(list.substr(start, comma - start).c_str(), &shot)) return false;
        shots->push_back(shot);
        start = comma + 1;
    }
    return true;
}

} // namespace

bool parseCaptureOptions(int argc, const char* const* argv, CaptureOptions* options, std::string* error) {
    *options = CaptureOptions{};
    for (int i = 0; i < argc; ++i) {
        const char* arg = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0) {
            options->help = true;
            return true;
        } else if (std::strcmp(arg, "--sheet") == 0) {
            options->sheet = true;
        } else if (std::strcmp(arg, "--wav") == 0) {
            options->wav = true;
        } else if (std::strcmp(arg, "--frames") == 0) {
            if (value != nullptr && std::strcmp(value, "cycle") == 0) {
                options->cycle = true;
            } else if (!parseCount(value, &options->frames)) {
                *error = "--frames wants a number of frames from 0 to 1000000, or cycle";
                return false;
            }
            ++i;
        } else if (std::strcmp(arg, "--shot") == 0) {
            if (value == nullptr || !parseShots(value, &options->shots)) {
                *error = "--shot wants frame numbers separated by commas, such as 1,100,250";
                return false;
            }
            ++i;
        } else if (std::strcmp(arg, "--out") == 0) {
            if (value == nullptr || *value == '\0') {
                *error = "--out wants a directory";
                return false;
            }
            options->outDir = value;
            ++i;
        } else {
            *error = std::string("unknown argument: ") + arg;
            return false;
        }
    }
    if (options->frames < 0 && !options->cycle) {
        *error = "--frames is needed";
        return false;
    }
    if (options->outDir.empty()) {
        *error = "--out is needed";
        return false;
    }
    return true;
}

bool planCapture(CaptureOptions* options, const int32_t stateFrames[CycleParts], std::string* error) {
    std::vector<int32_t>& shots = options->shots;
    if (options->cycle) {
        int64_t total = 0;
        for (int32_t part = 0; part < CycleParts; ++part) {
            if (stateFrames[part] <= 0) {
                *error = "the scene has no cycle that ends";
                return false;
            }
            total += stateFrames[part];
        }
        if (total > MaxFrames) {
            *error = "the scene's cycle is longer than 1000000 frames";
            return false;
        }
        options->frames = static_cast<int32_t>(total);
        if (shots.empty()) {
            const int32_t scrollerFrames = stateFrames[0];
            for (int32_t i = 1; i <= 4; ++i) shots.push_back(std::max(1, scrollerFrames * i / 5));
            int32_t start = scrollerFrames;
            for (int32_t part = 1; part < CycleParts; ++part) {
                shots.push_back(start + (stateFrames[part] + 1) / 2);
                start += stateFrames[part];
            }
        }
    } else if (shots.empty()) {
        const int32_t count = std::min(options->frames, 8);
        for (int32_t i = 1; i <= count; ++i)
            shots.push_back(static_cast<int32_t>(int64_t{options->frames} * i / count));
    }
    std::sort(shots.begin(), shots.end());
    shots.erase(std::unique(shots.begin(), shots.end()), shots.end());
    for (int32_t shot : shots) {
        if (shot < 1 || shot > options->frames) {
            *error = "--shot " + std::to_string(shot) + " is not among the frames 1 to " +
                     std::to_string(options->frames);
            return false;
        }
    }
    return true;
}
