// Channel state shared by the row tick and the other ticks: the volume column, the reset at an instrument
// start, the tremor cycle, and the update that turns the channel's flags into voice commands.

#include <cstdint>

#include "audio/voice.h"
#include "music/replay.h"
#include "music/replay_internal.h"

void channelSlideVolume(Channel* channel, int32_t delta) {
    channel->volume = clampInt(channel->volume + delta, 0, 64);
    channel->flags |= UpdateVolume;
}

void channelSlidePan(Channel* channel, int32_t delta) {
    channel->pan = clampInt(channel->pan + delta, 0, 255);
    channel->flags |= UpdatePan;
}

void applyVolumeColumn(Channel* channel, uint8_t byte) {
    const int32_t x = byte & 0x0F;
    if (byte >= 0x10 && byte <= 0x50) {
        channel->volume = byte - 0x10;
        channel->flags |= UpdateVolume;
        return;
    }
    switch (byte >> 4) {
    case 0x6:
    case 0x8:
        channelSlideVolume(channel, -x);
        break;
    case 0x7:
    case 0x9:
        channelSlideVolume(channel, x);
        break;
    case 0xA:
        channel->vibratoSpeed = static_cast<uint8_t>(x);
        break;
    case 0xB:
        channel->vibratoDepth = static_cast<uint8_t>(x);
        break;
    case 0xC:
        channel->pan = 16 * x;
        channel->flags |= UpdatePan;
        break;
    case 0xD:
        channelSlidePan(channel, -x);
        break;
    case 0xE:
        channelSlidePan(channel, x);
        break;
    case 0xF:
        if (x != 0) channel->portaSpeed = static_cast<uint8_t>(16 * x);
        channel->portaTarget = channel->notePeriod;
        channel->flags &= ~StartVoice;
        break;
    default:
        break;
    }
}

void applyVolumeColumnTick(Channel* channel, uint8_t byte) {
    const int32_t x = byte & 0x0F;
    switch (byte >> 4) {
    case 0x6:
        channelSlideVolume(channel, -x);
        break;
    case 0x7:
        channelSlideVolume(channel, x);
        break;
    case 0xB:
        channel->vibratoDepth = static_cast<uint8_t>(x);
        vibratoDelta(channel);
        vibratoAdvance(channel);
        break;
    case 0xD:
        channelSlidePan(channel, -x);
        break;
    case 0xE:
        channelSlidePan(channel, x);
        break;
    case 0xF:
        tonePortamento(channel);
        break;
    default:
        break;
    }
}

void instrumentReset(Channel* channel, const Sample* sample) {
    channel->volume = sample->volume > 64 ? 64 : sample->volume;
    channel->pan = clampInt(sample->panning, 0, 255);
    channel->volumeEnvelope.level = 64;
    channel->volumeEnvelope.nextPoint = 0;
    channel->volumeEnvelope.ticks = 0;
    channel->volumeEnvelope.slope = 0;
    channel->volumeEnvelope.finished = 0;
    channel->panningEnvelope.level = 32;
    channel->panningEnvelope.nextPoint = 0;
    channel->panningEnvelope.ticks = 0;
    channel->panningEnvelope.slope = 0;
    channel->panningEnvelope.finished = 0;
    channel->keyOff = 0;
    channel->fadeVolume = 65536;
    channel->autoVibratoSweep = 0;
    channel->autoVibratoPosition = 0;
    channel->tremorCounter = 0;
    // E4x values 4 to 15 keep the vibrato phase running across notes.
    if ((channel->waveControl & 0x0F) < 4) channel->vibratoPosition = 0;
    channel->flags |= UpdateVolume | UpdatePan;
}

void tremor(Channel* channel) {
    if (channel->tremorCounter >= channel->tremorOn) channel->volumeDelta = -channel->volume;
    channel->tremorCounter += 1;
    if (channel->tremorCounter >= channel->tremorOn + channel->tremorOff) channel->tremorCounter = 0;
    channel->flags |= UpdateVolume;
}

void updateVoice(Channel* channel, Sample* sample, const Module* module) {
    if (channel->period + channel->periodDelta == 0) channel->flags &= ~UpdateFrequency;
    Voice* voice = channel->voice;
    if (!voice) return; // a channel beyond the voice pool is heard nowhere
    const uint8_t flags = channel->flags;
    if (flags & StartVoice) {
        const int started = voiceStart(channel->voiceIndex, sample);
        if (started >= 0) channel->voiceIndex = started;
    }
    if (flags & UpdateVolume) {
        const int64_t volume = int64_t(channel->volume + channel->volumeDelta) *
                               channel->volumeEnvelope.level * channel->fadeVolume * module->globalVolume *
                               255;
        voiceSetVolume(*voice, clampInt(static_cast<int32_t>(volume / (int64_t(1) << 35)), 0, 255));
    }
    if (flags & UpdatePan) {
        const int32_t pan = channel->pan;
        const int32_t distance = pan > 128 ? pan - 128 : 128 - pan;
        // At the centre a full panning envelope would reach 256.
        voiceSetPan(*voice,
                    clampInt(pan + ((128 - distance) / 32) * (channel->panningEnvelope.level - 32), 0, 255));
    }
    if (flags & UpdateFrequency) voiceSetFrequency(*voice, channelFrequency(module, channel));
    if (flags & StopVoice) {
        voiceStop(channel->voiceIndex);
        voice->startOffset = 0;
    }
}
