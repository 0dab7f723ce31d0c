// The instruments of an XM file: header, envelopes, sample headers and sample data, which is decoded
// into absolute 16-bit values with a guard value past the loop for the interpolating mixer.

#include <cstdlib>
#include <cstring>

#include "music/xm_reader.h"

namespace {

constexpr int32_t InstrumentBaseSize = 29; // header size, name, type and number of samples
constexpr int32_t InstrumentExtendedSize =
    241; // up to and including the fadeout, present when there are samples
constexpr int32_t SampleHeaderSize = 40;
constexpr int32_t SlackValues = 8; // zeroed values after a sample's last one
constexpr int32_t MaxVolume = 64;

void readEnvelopePoints(EnvelopePoint* points, const uint8_t* bytes) {
    for (int i = 0; i < FileEnvelopePoints; ++i) {
        points[i].position = xmU16(bytes + 4 * i);
        points[i].value = xmU16(bytes + 4 * i + 2);
    }
}

// Point counts beyond the file's 12 points are cut to 12. A sustain or loop point that names a point
// beyond the count is absent: its type bit is cleared and its index set to 0.
void envelopeSanitise(uint8_t& count, uint8_t& sustain, uint8_t& loopStart, uint8_t& loopEnd, uint8_t& type) {
    if (count > FileEnvelopePoints) count = FileEnvelopePoints;
    if (count < 2) type = 0;
    if (sustain >= count) {
        sustain = 0;
        type &= static_cast<uint8_t>(~EnvelopeSustain);
    }
    if (loopStart >= count || loopEnd >= count) {
        loopStart = 0;
        loopEnd = 0;
        type &= static_cast<uint8_t>(~EnvelopeLoop);
    }
}

// header: the instrument's first InstrumentExtendedSize bytes.
void readInstrumentHeader(Instrument& instrument, const uint8_t* header) {
    memcpy(instrument.keymap, header + 33, NoteCount);
    readEnvelopePoints(instrument.volumePoints, header + 129);
    readEnvelopePoints(instrument.panningPoints, header + 177);
    instrument.volumePointCount = header[225];
    instrument.panningPointCount = header[226];
    instrument.volumeSustain = header[227];
    instrument.volumeLoopStart = header[228];
    instrument.volumeLoopEnd = header[229];
    instrument.panningSustain = header[230];
    instrument.panningLoopStart = header[231];
    instrument.panningLoopEnd = header[232];
    instrument.volumeType = header[233];
    instrument.panningType = header[234];
    instrument.vibratoType = header[235];
    instrument.vibratoSweep = header[236];
    instrument.vibratoDepth = header[237];
    instrument.vibratoRate = header[238];
    instrument.fadeout = static_cast<uint16_t>(xmU16(header + 239) * 2);
    envelopeSanitise(instrument.volumePointCount, instrument.volumeSustain, instrument.volumeLoopStart,
                     instrument.volumeLoopEnd, instrument.volumeType);
    envelopeSanitise(instrument.panningPointCount, instrument.panningSustain, instrument.panningLoopStart,
                     instrument.panningLoopEnd, instrument.panningType);
}

// Returns the sample's size in the file in bytes.
uint32_t readSampleHeader(Sample& sample, const uint8_t* header) {
    uint32_t storedBytes = xmU32(header);
    uint32_t length = storedBytes;
    uint32_t loopStart = xmU32(header + 4);
    uint32_t loopLength = xmU32(header + 8);
    sample.volume = header[12] > MaxVolume ? MaxVolume : header[12];
    sample.finetune = static_cast<int8_t>(header[13]);
    uint8_t type = header[14];
    sample.loopMode = LoopNone;
    sample.bits = 8;
    if (type & 0x01) sample.loopMode = LoopForward;
    if (type & 0x02) sample.loopMode = LoopPingPong;
    if (type & 0x10) sample.bits = 16;
    if (sample.loopMode == LoopNone) {
        loopStart = 0;
        loopLength = length;
    }
    if (sample.bits == 16) {
        length /= 2;
        loopStart /= 2;
        loopLength /= 2;
    }
    if (loopLength == 0) {
        loopStart = 0;
        loopLength = length;
        sample.loopMode = LoopNone;
    }
    sample.length = length;
    sample.loopStart = loopStart;
    sample.loopLength = loopLength;
    sample.panning = header[15];
    sample.relativeNote = static_cast<int8_t>(header[16]);
    return storedBytes;
}

// Keeps the loop inside the sample: the mixer reads values n and n + 1 for every n before the loop's
// end, and the guard value sits at the loop's end.
void sampleClampLoop(Sample& sample) {
    if (sample.loopMode != LoopNone && sample.loopStart >= sample.length) sample.loopMode = LoopNone;
    if (sample.loopMode == LoopNone) {
        sample.loopStart = 0;
        sample.loopLength = sample.length;
    } else if (static_cast<uint64_t>(sample.loopStart) + sample.loopLength > sample.length) {
        sample.loopLength = sample.length - sample.loopStart;
    }
}

void sampleWriteGuard(Sample& sample) {
    uint32_t end = sample.loopStart + sample.loopLength;
    sample.data[end] = sample.loopMode == LoopPingPong ? sample.data[end - 1] : sample.data[sample.loopStart];
}

// Reads (or has the decoder supply) one sample's data and turns it into 16-bit values. storedBytes is
// what the file holds for the sample; the stream moves past all of it, or to the end of the file.
bool readSampleData(XmReader& reader, Sample& sample, uint32_t storedBytes, SampleDecoder decoder,
                    int32_t instrumentIndex, int32_t sampleIndex) {
    int64_t start = xmTell(reader);
    int64_t remaining = xmRemaining(reader);
    int64_t available = storedBytes < remaining ? storedBytes : remaining;
    int64_t fileLength = sample.bits == 16 ? available / 2 : available;
    if (fileLength < sample.length) sample.length = static_cast<uint32_t>(fileLength);
    sampleClampLoop(sample);
    if (sample.length != 0) {
        uint32_t length = sample.length;
        int32_t byteCount = static_cast<int32_t>(static_cast<int64_t>(length) * sample.bits / 8);
        auto* buffer =
            static_cast<uint8_t*>(calloc(static_cast<size_t>(length) + SlackValues, sizeof(int16_t)));
        if (!buffer) return xmFail(reader, "out of memory");
        if (decoder) {
            decoder(buffer, byteCount, sample.bits, instrumentIndex, sampleIndex);
        } else {
            xmRead(reader, buffer, byteCount);
        }
        auto* values = reinterpret_cast<int16_t*>(buffer);
        if (sample.bits == 8) {
            // Widen in place from the top down, so that no byte is overwritten before it is read.
            for (uint32_t k = length; k-- > 0;)
                values[k] = static_cast<int16_t>(static_cast<int8_t>(buffer[k]) * 256);
            sample.bits = 16;
        } else {
            for (uint32_t k = 0; k < length; ++k) values[k] = static_cast<int16_t>(xmU16(buffer + 2 * k));
        }
        if (!decoder) {
            uint16_t running = 0;
            for (uint32_t k = 0; k < length; ++k) {
                running = static_cast<uint16_t>(running + static_cast<uint16_t>(values[k]));
                values[k] = static_cast<int16_t>(running);
            }
        }
        sample.data = values;
        sampleWriteGuard(sample);
    }
    xmSeek(reader, start + available);
    return true;
}

void instrumentMakeEmpty(Instrument& instrument) {
    memset(&instrument, 0, sizeof instrument);
    for (Sample*& slot : instrument.samples) slot = &emptySample;
}

enum class InstrumentRead { Complete, FileEnded, Failed };

InstrumentRead readInstrument(XmReader& reader, Instrument& instrument, int32_t index,
                              SampleDecoder decoder) {
    int64_t start = xmTell(reader);
    uint8_t header[InstrumentExtendedSize] = {};
    if (!xmRead(reader, header, InstrumentBaseSize)) return InstrumentRead::FileEnded;
    uint32_t headerSize = xmU32(header);
    uint16_t sampleCount = xmU16(header + 27);
    if (sampleCount > MaxSamplesPerInstrument) {
        xmFail(reader, "too many samples in an instrument");
        return InstrumentRead::Failed;
    }
    // A header size smaller than what has been read does not move the stream back.
    if (sampleCount == 0) {
        xmSeek(reader, start + (headerSize > InstrumentBaseSize ? headerSize : InstrumentBaseSize));
        return InstrumentRead::Complete;
    }
    if (!xmRead(reader, header + InstrumentBaseSize, InstrumentExtendedSize - InstrumentBaseSize))
        return InstrumentRead::FileEnded;
    readInstrumentHeader(instrument, header);
    xmSeek(reader, start + (headerSize > InstrumentExtendedSize ? headerSize : InstrumentExtendedSize));

    uint8_t sampleHeaders[MaxSamplesPerInstrument * SampleHeaderSize];
    if (!xmRead(reader, sampleHeaders, sampleCount * SampleHeaderSize)) return InstrumentRead::FileEnded;
    uint32_t storedBytes[MaxSamplesPerInstrument];
    for (int32_t j = 0; j < sampleCount; ++j) {
        auto* sample = static_cast<Sample*>(calloc(1, sizeof(Sample)));
        if (!sample) {
            xmFail(reader, "out of memory");
            return InstrumentRead::Failed;
        }
        instrument.samples[j] = sample;
        instrument.sampleCount = j + 1;
        storedBytes[j] = readSampleHeader(*sample, sampleHeaders + j * SampleHeaderSize);
    }
    for (int32_t j = 0; j < sampleCount; ++j) {
        if (!readSampleData(reader, *instrument.samples[j], storedBytes[j], decoder, index, j))
            return InstrumentRead::Failed;
    }
    return InstrumentRead::Complete;
}

} // namespace

// When the file ends inside an instrument's headers, that instrument and the ones after it are loaded
// empty (no samples): some files leave out trailing instruments.
bool xmReadInstruments(XmReader& reader, Module* module) {
    int32_t count = module->instrumentCount;
    module->instruments =
        static_cast<Instrument*>(calloc(static_cast<size_t>(count ? count : 1), sizeof(Instrument)));
    if (!module->instruments) return xmFail(reader, "out of memory");
    for (int32_t i = 0; i < count; ++i) instrumentMakeEmpty(module->instruments[i]);
    for (int32_t i = 0; i < count; ++i) {
        Instrument& instrument = module->instruments[i];
        InstrumentRead result = readInstrument(reader, instrument, i, module->sampleDecoder);
        if (result == InstrumentRead::Failed) return false;
        if (result == InstrumentRead::FileEnded) {
            instrumentMakeEmpty(instrument);
            break;
        }
    }
    return true;
}
