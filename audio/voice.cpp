#include "audio/voice.h"

#include "audio/audio_output.h"
#include "music/module.h"

namespace {

Voice* poolVoice(int index) {
    if (!audioOutput.voicePool || index < 0 || index >= VoiceCount) return nullptr;
    return &audioOutput.voicePool[index];
}

// The gains are 8-bit: a volume or pan outside 0..255 saturates instead of wrapping.
uint8_t gainByte(int64_t value) {
    if (value < 0) return 0;
    if (value > 255) return 255;
    return static_cast<uint8_t>(value);
}

void voiceUpdateGains(Voice& voice) {
    const int64_t volume = voice.volume;
    const int64_t pan = voice.pan;
    voice.gainLeft = gainByte((255 - pan) * volume / 255);
    voice.gainRight = gainByte(pan * volume / 255);
}

} // namespace

int voiceStart(int index, Sample* sample) {
    Voice* voice = poolVoice(index);
    if (!voice || !sample) return -1;
    voice->sample = sample;
    const uint64_t loopEnd = uint64_t{sample->loopStart} + sample->loopLength;
    if (voice->startOffset >= loopEnd) voice->startOffset = 0;
    voice->positionInt = voice->startOffset;
    voice->positionFrac = 0;
    voice->startOffset = 0;
    voice->direction = 1;
    return voice->index;
}

bool voiceStop(int index) {
    Voice* voice = poolVoice(index);
    if (!voice) return false;
    voice->positionFrac = 0;
    voice->positionInt = 0;
    voice->sample = nullptr;
    return true;
}

bool voiceSetFrequency(Voice& voice, int32_t hz) {
    if (hz < 100) hz = 100;
    if (hz > 705600) hz = 705600;
    const int32_t rate = audioOutput.mixingRate;
    if (rate <= 0) {
        // No output rate yet: a voice that does not move rather than a division by zero.
        voice.stepInt = 0;
        voice.stepFrac = 0;
        return true;
    }
    const uint32_t frequency = static_cast<uint32_t>(hz);
    const uint32_t divisor = static_cast<uint32_t>(rate);
    voice.stepInt = frequency / divisor;
    voice.stepFrac = static_cast<uint32_t>((uint64_t{frequency % divisor} << 32) / divisor);
    return true;
}

bool voiceSetVolume(Voice& voice, int32_t volume) {
    voice.volume = volume;
    voiceUpdateGains(voice);
    return true;
}

bool voiceSetPan(Voice& voice, int32_t pan) {
    voice.pan = pan;
    voiceUpdateGains(voice);
    return true;
}
