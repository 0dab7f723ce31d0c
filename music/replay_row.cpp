// The row tick: every channel takes its cell's note, instrument, volume column and effect.

#include <cstdint>

#include "audio/voice.h"
#include "music/replay_internal.h"
#include "music/tempo.h"

namespace {

enum : uint8_t {
    EffectTonePorta = 0x3,
    EffectTonePortaVolumeSlide = 0x5,
    EffectExtended = 0xE,
    EffectKeyOff = 20,
};

struct RowContext {
    Module* module;
    bool jumped; // a position jump came earlier in this row
};

void extendedRowEffect(RowContext& row, Channel* channel, Sample* sample, uint8_t parameter,
                       int32_t oldVolume, int32_t oldPeriod, int32_t oldPan) {
    Module* module = row.module;
    const int32_t y = parameter & 0x0F;
    switch (parameter >> 4) {
    case 0x1:
        channel->period = periodAdd(channel->period, -4 * y);
        break;
    case 0x2:
        channel->period = periodAdd(channel->period, 4 * y);
        break;
    case 0x4:
        channel->waveControl = static_cast<uint8_t>((channel->waveControl & 0xF0) + y);
        break;
    case 0x5:
        // The shared empty sample belongs to every module and stays all zero.
        if (sample != &emptySample) sample->finetune = static_cast<int8_t>(y);
        break;
    case 0x6:
        if (y == 0) {
            channel->loopRow = module->row;
        } else {
            channel->loopCount = channel->loopCount == 0 ? y : channel->loopCount - 1;
            if (channel->loopCount != 0) module->row = channel->loopRow - 1;
        }
        break;
    case 0x8:
        channel->pan = 16 * y;
        channel->flags |= UpdatePan;
        break;
    case 0xA:
        if (y != 0) channel->fineVolumeSlideMemory = static_cast<uint8_t>(y);
        channelSlideVolume(channel, channel->fineVolumeSlideMemory);
        break;
    case 0xB:
        if (y != 0) channel->fineVolumeSlideMemory = static_cast<uint8_t>(y);
        channelSlideVolume(channel, -channel->fineVolumeSlideMemory);
        break;
    case 0xD:
        channel->volume = oldVolume;
        channel->period = oldPeriod;
        channel->pan = oldPan;
        channel->flags &= ~(UpdateFrequency | UpdateVolume | UpdatePan | StartVoice);
        break;
    case 0xE:
        module->patternDelay = y * module->speed;
        break;
    default:
        break;
    }
}

void rowEffect(RowContext& row, Channel* channel, const PatternCell& cell, const Instrument* instrument,
               Sample* sample, int32_t oldVolume, int32_t oldPeriod, int32_t oldPan) {
    Module* module = row.module;
    const uint8_t p = cell.parameter;
    const int32_t x = p >> 4;
    const int32_t y = p & 0x0F;
    switch (cell.effect) {
    case 0x1:
        if (p != 0) channel->portaUpMemory = p;
        break;
    case 0x2:
        if (p != 0) channel->portaDownMemory = p;
        break;
    case 0x3:
        if (p != 0) channel->portaSpeed = p;
        channel->portaTarget = channel->notePeriod;
        channel->flags &= ~(StartVoice | UpdateFrequency);
        break;
    case 0x4:
        if (x != 0) channel->vibratoSpeed = static_cast<uint8_t>(x);
        if (y != 0) channel->vibratoDepth = static_cast<uint8_t>(y);
        vibratoDelta(channel);
        break;
    case 0x5:
        channel->portaTarget = channel->notePeriod;
        if (p != 0) channel->volumeSlideMemory = p;
        channel->flags &= ~(StartVoice | UpdateFrequency);
        break;
    case 0x6:
        if (p != 0) channel->volumeSlideMemory = p;
        vibratoDelta(channel);
        break;
    case 0x8:
        channel->pan = p;
        channel->flags |= UpdatePan;
        break;
    case 0x9: {
        if (p != 0) channel->sampleOffset = p;
        const uint32_t offset = static_cast<uint32_t>(channel->sampleOffset) * 256u;
        if (offset >= sample->loopStart + sample->loopLength) {
            channel->flags &= ~StartVoice;
            channel->flags |= StopVoice;
        } else if (channel->voice) {
            channel->voice->startOffset = offset;
        }
        break;
    }
    case 0xA:
        if (p != 0) channel->volumeSlideMemory = p;
        break;
    case 0xB:
        module->pendingRow = 0;
        module->pendingOrder = p < moduleSongLength(module) ? p : 0;
        row.jumped = true;
        break;
    case 0xC:
        // Channel volumes stay within 0..64, so that no voice volume leaves 0..255.
        channel->volume = p > 64 ? 64 : p;
        channel->flags |= UpdateVolume;
        break;
    case 0xD: {
        const int32_t target = 10 * x + y;
        module->pendingRow = target > 63 ? 0 : target;
        if (!row.jumped) module->pendingOrder = module->orderPosition + 1;
        if (module->pendingOrder >= moduleSongLength(module)) module->pendingOrder = 0;
        break;
    }
    case EffectExtended:
        extendedRowEffect(row, channel, sample, p, oldVolume, oldPeriod, oldPan);
        break;
    case 0xF:
        if (p < 32) {
            module->speed = p;
        } else {
            moduleSetBpm(module, p);
        }
        break;
    case 16: // G
        module->globalVolume = p > 64 ? 64 : p;
        channel->flags |= UpdateVolume;
        break;
    case 17: // H
        if (p != 0) module->globalVolumeSlide = p;
        break;
    case 21: // L
        envelopeSetPosition(channel, instrument, p);
        break;
    case 25: // P
        if (p != 0) {
            channel->panSlideMemory = p;
            channel->flags |= UpdatePan;
        }
        break;
    case 27: // R
        if (p != 0) {
            channel->retrigVolumeOp = static_cast<uint8_t>(x);
            channel->retrigInterval = static_cast<uint8_t>(y);
        }
        break;
    case 29: // T
        if (p != 0) {
            channel->tremorOn = static_cast<uint8_t>(x + 1);
            channel->tremorOff = static_cast<uint8_t>(y + 1);
        }
        tremor(channel);
        break;
    case 33: // X
        if (x == 1) {
            if (y != 0) channel->extraFineUpMemory = static_cast<uint8_t>(y);
            channel->period = periodAdd(channel->period, -channel->extraFineUpMemory);
        } else if (x == 2) {
            if (y != 0) channel->extraFineDownMemory = static_cast<uint8_t>(y);
            channel->period = periodAdd(channel->period, channel->extraFineDownMemory);
        }
        break;
    default:
        break;
    }
}

void rowChannel(RowContext& row, Channel* channel, const PatternCell& cell) {
    Module* module = row.module;
    const bool tonePorta =
        cell.effect == EffectTonePorta || cell.effect == EffectTonePortaVolumeSlide || cell.volume >= 0xF0;
    const bool startsNote = cellStartsNote(cell);
    if (cell.instrument != 0 && !tonePorta) channel->instrument = static_cast<uint8_t>(cell.instrument - 1);
    if (startsNote && !tonePorta) channel->note = static_cast<uint8_t>(cell.note - 1);

    const Instrument* instrument = channelInstrument(module, channel);
    Sample* sample = channelSample(channel, instrument);

    const int32_t oldVolume = channel->volume;
    const int32_t oldPeriod = channel->period;
    const int32_t oldPan = channel->pan;
    channel->volumeDelta = 0;
    channel->flags = 0;

    if (startsNote) {
        // A low note with a negative relative note that falls below the lowest note plays as the lowest
        // note instead of wrapping round to the top of the range.
        const int32_t realNote = cell.note - 1 + sample->relativeNote;
        channel->realNote = static_cast<uint8_t>(realNote < 0 ? 0 : realNote);
        channel->notePeriod = notePeriod(module, channel->realNote, sample->finetune);
        if (!tonePorta) channel->period = channel->notePeriod;
        channel->flags |= StartVoice;
    }
    channel->periodDelta = 0;
    channel->flags |= UpdateFrequency | UpdateVolume;
    if (cell.instrument != 0) instrumentReset(channel, sample);
    if (cell.volume != 0) applyVolumeColumn(channel, cell.volume);
    if (cell.note == NoteKeyOff || cell.effect == EffectKeyOff) channel->keyOff = 1;

    channelStepEnvelopes(channel, instrument);
    // Without a volume envelope a key-off silences the instrument at once.
    if (!(instrument->volumeType & EnvelopeOn) && channel->keyOff) channel->volumeEnvelope.level = 0;
    channelFadeOut(channel, instrument);

    rowEffect(row, channel, cell, instrument, sample, oldVolume, oldPeriod, oldPan);
    autoVibrato(channel, instrument);
    updateVoice(channel, sample, module);
}

} // namespace

void processRow(Module* module) {
    module->pendingOrder = -1;
    module->pendingRow = -1;
    RowContext row{module, false};
    module->playedOrder = module->orderPosition;
    module->playedRow = module->row;
    const PatternCell* cells = moduleRowCells(module, module->orderPosition, module->row);
    const int32_t channelCount = module->channelCount;
    if (!cells) {
        // Nothing is sent to the voices on a row that is not there.
        for (int32_t i = 0; i < channelCount; ++i) module->channels[i].flags = 0;
        return;
    }
    for (int32_t i = 0; i < channelCount; ++i) rowChannel(row, &module->channels[i], cells[i]);
}
