// The ticks after the row tick: slides, portamentos, vibrato, arpeggio, retriggers, note cut and delay,
// tremor, and the panning and global volume slides, driven by the cells of the row being played.

#include <cstdint>

#include "music/replay_internal.h"

namespace {

void volumeSlide(Channel* channel) {
    const int32_t x = channel->volumeSlideMemory >> 4;
    const int32_t y = channel->volumeSlideMemory & 0x0F;
    channelSlideVolume(channel, x != 0 ? x : -y);
}

int32_t retrigVolume(int32_t volume, uint8_t operation) {
    switch (operation) {
    case 0x1:
        return volume - 1;
    case 0x2:
        return volume - 2;
    case 0x3:
        return volume - 4;
    case 0x4:
        return volume - 8;
    case 0x5:
        return volume - 16;
    case 0x6:
        return volume * 2 / 3;
    case 0x7:
        return volume >> 1;
    case 0x9:
        return volume + 1;
    case 0xA:
        return volume + 2;
    case 0xB:
        return volume + 4;
    case 0xC:
        return volume + 8;
    case 0xD:
        return volume + 16;
    case 0xE:
        return volume * 3 / 2;
    case 0xF:
        return volume * 2;
    default:
        return volume;
    }
}

void arpeggio(const Module* module, Channel* channel, const Sample* sample, uint8_t parameter) {
    if (parameter == 0) return;
    int32_t offset = 0;
    switch (module->tick % 3) {
    case 1:
        offset = parameter >> 4;
        break;
    case 2:
        offset = parameter & 0x0F;
        break;
    default:
        break;
    }
    if (module->flags & 1) {
        channel->periodDelta = 64 * offset;
    } else {
        channel->periodDelta = amigaPeriod(channel->realNote + offset, sample->finetune) -
                               amigaPeriod(channel->realNote, sample->finetune);
    }
    channel->flags |= UpdateFrequency;
}

void extendedTickEffect(const Module* module, Channel* channel, const PatternCell& cell,
                        const Sample* sample) {
    const int32_t y = cell.parameter & 0x0F;
    switch (cell.parameter >> 4) {
    case 0x9:
        if (y != 0 && module->tick % y == 0) channel->flags |= StartVoice | UpdateFrequency | UpdateVolume;
        break;
    case 0xC:
        if (module->tick == y) {
            channel->volume = 0;
            channel->flags |= UpdateVolume;
        }
        break;
    case 0xD:
        if (module->tick == y) {
            instrumentReset(channel, sample);
            channel->period = channel->notePeriod;
            channel->flags |= UpdateFrequency;
            if (cell.volume != 0) applyVolumeColumn(channel, cell.volume);
            channel->flags |= StartVoice;
        } else {
            channel->flags &= ~(UpdateFrequency | UpdateVolume | UpdatePan | StartVoice);
        }
        break;
    default:
        break;
    }
}

void tickEffect(Module* module, Channel* channel, const PatternCell& cell, const Sample* sample) {
    switch (cell.effect) {
    case 0x0:
        arpeggio(module, channel, sample, cell.parameter);
        break;
    case 0x1:
        channel->period = periodAdd(channel->period, -4 * channel->portaUpMemory);
        if (channel->period < 56) channel->period = 56;
        channel->periodDelta = 0;
        channel->flags |= UpdateFrequency;
        break;
    case 0x2:
        channel->period = periodAdd(channel->period, 4 * channel->portaDownMemory);
        channel->periodDelta = 0;
        channel->flags |= UpdateFrequency;
        break;
    case 0x3:
        channel->periodDelta = 0;
        tonePortamento(channel);
        break;
    case 0x4:
        vibratoDelta(channel);
        vibratoAdvance(channel);
        break;
    case 0x5:
        channel->periodDelta = 0;
        tonePortamento(channel);
        volumeSlide(channel);
        break;
    case 0x6:
        vibratoDelta(channel);
        vibratoAdvance(channel);
        volumeSlide(channel);
        break;
    case 0xA:
        volumeSlide(channel);
        break;
    case 0xE:
        extendedTickEffect(module, channel, cell, sample);
        break;
    case 17: { // H
        const int32_t x = module->globalVolumeSlide >> 4;
        const int32_t y = module->globalVolumeSlide & 0x0F;
        if (x != 0) {
            module->globalVolume = clampInt(module->globalVolume + x, 0, 64);
        } else if (y != 0) {
            module->globalVolume = clampInt(module->globalVolume - y, 0, 64);
        }
        break;
    }
    case 25: { // P
        const int32_t x = channel->panSlideMemory >> 4;
        const int32_t y = channel->panSlideMemory & 0x0F;
        channelSlidePan(channel, x != 0 ? x : -y);
        break;
    }
    case 27: // R
        if (channel->retrigInterval != 0 && module->tick % channel->retrigInterval == 0) {
            if (channel->retrigVolumeOp != 0) {
                channel->volume = clampInt(retrigVolume(channel->volume, channel->retrigVolumeOp), 0, 64);
                channel->flags |= UpdateVolume;
            }
            channel->flags |= StartVoice;
        }
        break;
    case 29: // T
        tremor(channel);
        break;
    default:
        break;
    }
}

} // namespace

void processTick(Module* module) {
    const PatternCell* cells = moduleRowCells(module, module->playedOrder, module->playedRow);
    const int32_t channelCount = module->channelCount;
    if (!cells) {
        for (int32_t i = 0; i < channelCount; ++i) module->channels[i].flags = 0;
        return;
    }
    for (int32_t i = 0; i < channelCount; ++i) {
        Channel* channel = &module->channels[i];
        const PatternCell& cell = cells[i];
        const Instrument* instrument = channelInstrument(module, channel);
        Sample* sample = channelSample(channel, instrument);
        channel->volumeDelta = 0;
        channel->periodDelta = 0;
        channel->flags = 0;
        channelStepEnvelopes(channel, instrument);
        channelFadeOut(channel, instrument);
        applyVolumeColumnTick(channel, cell.volume);
        tickEffect(module, channel, cell, sample);
        autoVibrato(channel, instrument);
        updateVoice(channel, sample, module);
    }
}
