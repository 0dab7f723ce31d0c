// The resampling mixer's speed in voice-frames per second (items/s): one voice at fixed gains, 32 voices,
// voices whose gains ramp all the time, short ping-pong loops, and a pool of 256 voices of which few play.
// Blocks of 884 frames, as at 44100 Hz.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <vector>

#include "audio/audio_output.h"
#include "audio/mixer.h"
#include "audio/voice.h"
#include "music/module.h"

namespace {

constexpr int32_t BlockFrames = 884;

Sample* makeSample(uint32_t length, uint8_t loopMode, uint32_t loopStart, uint32_t loopLength) {
    Sample* sample = static_cast<Sample*>(calloc(1, sizeof(Sample)));
    sample->data = static_cast<int16_t*>(calloc(length + 8, sizeof(int16_t)));
    uint32_t noise = 12345;
    for (uint32_t i = 0; i < length; ++i) {
        noise = noise * 1103515245u + 12345u;
        sample->data[i] = static_cast<int16_t>(noise >> 16);
    }
    sample->length = length;
    sample->loopMode = loopMode;
    sample->loopStart = loopStart;
    sample->loopLength = loopLength;
    const uint32_t end = loopStart + loopLength;
    sample->data[end] = loopMode == LoopPingPong ? sample->data[end - 1] : sample->data[loopStart];
    return sample;
}

void freeSample(Sample* sample) {
    free(sample->data);
    free(sample);
}

struct Voices {
    ListNode list{&list, &list};
    std::vector<Voice> voices;
    std::vector<float> block = std::vector<float>(2 * BlockFrames);

    Voices(int count, Sample* sample) : voices(count) {
        mixerSetRate(44100);
        audioOutput.mixingRate = 44100;
        for (int i = 0; i < count; ++i) {
            Voice& voice = voices[i];
            listInsertBefore(&voice, &list);
            voice.index = i;
            voice.direction = 1;
            voice.sample = sample;
            voice.positionInt = static_cast<uint32_t>(i * 977) % sample->length;
            voiceSetFrequency(voice, 22050 + i * 1379);
            voiceSetPan(voice, (i * 41) % 256);
            voiceSetVolume(voice, 200);
            // Start at the gains already reached, as a voice is after its first ramp.
            voice.rampTargetLeft = voice.currentLeft = voice.gainLeft;
            voice.rampTargetRight = voice.currentRight = voice.gainRight;
        }
    }
    void mix(int32_t frames = BlockFrames) { mixBlock(block.data(), &list, frames); }
};

// Times mixing pieces of frames; the items are the frames of the audible voices.
void timeMixing(benchmark::State& state, Voices& voices, int32_t frames, int32_t audible) {
    for (auto _ : state) {
        voices.mix(frames);
        benchmark::DoNotOptimize(voices.block.data());
    }
    state.SetItemsProcessed(state.iterations() * frames * audible);
}

void mixOneVoiceAtFixedGains(benchmark::State& state) {
    Sample* sample = makeSample(65536, LoopForward, 1000, 60000);
    Voices voices(1, sample);
    timeMixing(state, voices, BlockFrames, 1);
    freeSample(sample);
}
BENCHMARK(mixOneVoiceAtFixedGains);

void mix32Voices(benchmark::State& state) {
    Sample* sample = makeSample(65536, LoopForward, 1000, 60000);
    Voices voices(32, sample);
    timeMixing(state, voices, BlockFrames, 32);
    freeSample(sample);
}
BENCHMARK(mix32Voices);

// Every call renews the gains, so every frame runs through a ramp.
void mix32VoicesRamping(benchmark::State& state) {
    Sample* sample = makeSample(65536, LoopForward, 1000, 60000);
    Voices voices(32, sample);
    const int32_t rampLength = audioOutput.rampLength;
    int32_t volume = 200;
    for (auto _ : state) {
        volume = volume == 200 ? 120 : 200;
        for (Voice& voice : voices.voices) voiceSetVolume(voice, volume);
        voices.mix(rampLength);
        benchmark::DoNotOptimize(voices.block.data());
    }
    state.SetItemsProcessed(state.iterations() * rampLength * 32);
    freeSample(sample);
}
BENCHMARK(mix32VoicesRamping);

// Loops of 100 frames at steps around 0.5 to 1.2: a reflection every 80 to 200 frames.
void mix32VoicesPingPong(benchmark::State& state) {
    Sample* sample = makeSample(400, LoopPingPong, 150, 100);
    Voices voices(32, sample);
    timeMixing(state, voices, BlockFrames, 32);
    freeSample(sample);
}
BENCHMARK(mix32VoicesPingPong);

// The pool of 256 voices of which only 8 play, and 8 more at volume 0: what a song leaves in the pool
// between notes. Counts the frames of the 8 audible voices.
void mixPoolWith8Playing(benchmark::State& state) {
    Sample* sample = makeSample(65536, LoopForward, 1000, 60000);
    Voices voices(256, sample);
    for (int i = 0; i < 256; ++i) {
        Voice& voice = voices.voices[i];
        if (i % 32 == 16) {
            voice.gainLeft = voice.gainRight = voice.currentLeft = voice.currentRight = 0;
            voice.rampTargetLeft = voice.rampTargetRight = 0;
        } else if (i % 32 != 0) {
            voice.sample = nullptr;
        }
    }
    timeMixing(state, voices, BlockFrames, 8);
    freeSample(sample);
}
BENCHMARK(mixPoolWith8Playing);

// Short pieces, as between the ticks of a fast song: the walk over the pool weighs more.
void mixPoolWith8PlayingIn32FramePieces(benchmark::State& state) {
    Sample* sample = makeSample(65536, LoopForward, 1000, 60000);
    Voices voices(256, sample);
    for (int i = 0; i < 256; ++i) {
        if (i % 32 != 0) voices.voices[i].sample = nullptr;
    }
    timeMixing(state, voices, 32, 8);
    freeSample(sample);
}
BENCHMARK(mixPoolWith8PlayingIn32FramePieces);

void clipOneBlock(benchmark::State& state) {
    std::vector<float> source(2 * BlockFrames);
    for (size_t i = 0; i < source.size(); ++i) source[i] = static_cast<float>((i * 7919) % 90000) - 45000.0f;
    std::vector<int16_t> out(2 * BlockFrames);
    for (auto _ : state) {
        clipBlock(out.data(), source.data(), BlockFrames);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetItemsProcessed(state.iterations() * BlockFrames);
}
BENCHMARK(clipOneBlock);

} // namespace
