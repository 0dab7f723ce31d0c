// The row tick: notes, instruments, key-offs and the effects that act when a row starts.

#include <cstdint>
#include <vector>

#include "music/replay_internal.h"
#include "replay_fixture.h"

namespace {

constexpr uint8_t C4 = 49, E4 = 53, KeyOff = 97;

TEST_F(ReplayTest, SilentUntilAnInstrumentIsGiven) {
    XmSong song = replaySong();
    song.tempo = 1;
    song.cell(0, 1, 0) = {C4, 1, 0, 0, 0};
    play(song);
    tick();
    EXPECT_EQ(channel().volume, 0);
    EXPECT_EQ(channel().fadeVolume, 0);
    EXPECT_EQ(voice().volume, 0);
    tick();
    EXPECT_EQ(channel().volume, 48);
    EXPECT_EQ(voice().volume, 48 * 64 * 64 * 255 / (1 << 19));
    EXPECT_EQ(voice().pan, 96);
    EXPECT_EQ(channelFrequency(module, &channel()), 8363);
}

TEST_F(ReplayTest, EmptyRowStillSendsVolumeAndFrequency) {
    XmSong song = replaySong();
    song.tempo = 1;
    song.cell(0, 0, 0) = {C4, 1, 0, 0, 0};
    play(song);
    tick(2);
    EXPECT_EQ(channel().flags, UpdateFrequency | UpdateVolume);
}

TEST_F(ReplayTest, NoteAndInstrumentAlone) {
    XmSong song = replaySong();
    song.tempo = 1;
    song.cell(0, 0, 0) = {C4, 1, 0x30, 0, 0}; // volume 32
    song.cell(0, 1, 0) = {E4, 0, 0, 0, 0};    // restarts, keeps volume 32
    song.cell(0, 2, 0) = {0, 1, 0, 0, 0};     // resets volume, no restart
    play(song);
    tick();
    EXPECT_EQ(channel().volume, 32);
    voice().positionInt = 20;
    tick();
    EXPECT_TRUE(channel().flags & StartVoice);
    EXPECT_EQ(voice().positionInt, 0u);
    EXPECT_EQ(channel().volume, 32);
    EXPECT_EQ(channel().note, 52);
    voice().positionInt = 20;
    tick();
    EXPECT_FALSE(channel().flags & StartVoice);
    EXPECT_EQ(voice().positionInt, 20u);
    EXPECT_EQ(channel().volume, 48);
}

TEST_F(ReplayTest, TonePortamentoKeepsNoteAndTargetsNewPeriod) {
    struct Case {
        uint8_t volume, effect, parameter;
    };
    for (const Case& c : {Case{0, 3, 0x10}, Case{0, 5, 0}, Case{0xF1, 0, 0}}) {
        XmSong song = replaySong();
        song.tempo = 1;
        song.cell(0, 0, 0) = {C4, 1, 0x30, 0, 0};
        song.cell(0, 1, 0) = {E4, 1, c.volume, c.effect, c.parameter};
        play(song);
        tick();
        voice().positionInt = 20;
        tick();
        EXPECT_EQ(channel().note, 48);
        EXPECT_EQ(channel().period, 4608);
        EXPECT_EQ(channel().portaTarget, 4608 - 4 * 64);
        EXPECT_EQ(voice().positionInt, 20u) << "no restart";
        EXPECT_EQ(channel().volume, 48) << "the instrument still resets the volume";
        moduleFree(module);
        module = nullptr;
    }
}

TEST_F(ReplayTest, KeyOff) {
    XmSong song = replaySong(2);
    song.tempo = 2;
    XmInstrument enveloped = song.instruments[0];
    enveloped.volumeEnvelope = {
        {{0, 64}, {4, 0}}, -1, 0, 0, 0, static_cast<uint8_t>(EnvelopeOn | EnvelopeSustain)};
    enveloped.fadeout = 0x100;
    song.instruments.push_back(enveloped);
    song.cell(0, 0, 0) = {C4, 1, 0, 0, 0};
    song.cell(0, 0, 1) = {C4, 2, 0, 0, 0};
    song.cell(0, 1, 0) = {KeyOff, 0, 0, 0, 0};
    song.cell(0, 1, 1) = {0, 0, 0, 20, 0x37}; // Kxx, whatever its parameter
    play(song);
    tick(2);
    EXPECT_EQ(channel(1).volumeEnvelope.level, 64);
    tick();
    // Without an envelope the key-off silences at once.
    EXPECT_EQ(channel(0).volumeEnvelope.level, 0);
    EXPECT_EQ(voice(0).volume, 0);
    // With one the envelope leaves its sustain point and the fade-out starts on the same tick.
    EXPECT_EQ(channel(1).keyOff, 1);
    EXPECT_EQ(channel(1).fadeVolume, 65536 - 0x200);
    tick();
    EXPECT_EQ(channel(1).volumeEnvelope.level, 48);
}

TEST_F(ReplayTest, SampleOffset) {
    XmSong song = replaySong();
    song.tempo = 1;
    song.instruments[0].samples[0] = xmSample8(std::vector<int8_t>(600, 1));
    song.cell(0, 0, 0) = {C4, 1, 0, 9, 2}; // starts at 512
    song.cell(0, 1, 0) = {C4, 0, 0, 9, 0}; // the last offset again
    song.cell(0, 2, 0) = {0, 0, 0, 9, 3};  // 768 is beyond the sample: stop, even without a note
    song.cell(0, 3, 0) = {C4, 0, 0, 9, 3}; // and no start with a note either
    play(song);
    tick();
    EXPECT_EQ(voice().positionInt, 512u);
    voice().positionInt = 0;
    tick();
    EXPECT_EQ(voice().positionInt, 512u);
    tick();
    EXPECT_EQ(voice().sample, nullptr);
    tick();
    EXPECT_EQ(voice().sample, nullptr);
    EXPECT_EQ(voice().startOffset, 0u);
}

TEST_F(ReplayTest, SpeedTempoAndGlobalVolume) {
    XmSong song = replaySong(2);
    song.cell(0, 0, 0) = {C4, 1, 0x50, 0, 0};
    song.cell(0, 0, 1) = {C4, 1, 0x50, 16, 0x50}; // G above 64 sets 64 ...
    song.cell(0, 1, 0) = {C4, 1, 0x50, 0, 0};
    song.cell(0, 1, 1) = {C4, 1, 0x50, 16, 0x10}; // ... and the channel before it hears the old value
    song.cell(0, 2, 0) = {0, 0, 0, 15, 0x1F};
    song.cell(0, 3, 0) = {0, 0, 0, 15, 0x20};
    play(song);
    tick(6);
    EXPECT_EQ(module->globalVolume, 64);
    EXPECT_EQ(voice(0).volume, 127);
    EXPECT_EQ(voice(1).volume, 127);
    tick(6);
    EXPECT_EQ(voice(0).volume, 127);
    EXPECT_EQ(voice(1).volume, 31);
    tick(6);
    EXPECT_EQ(module->speed, 31);
    tick(31);
    EXPECT_EQ(module->bpm, 32);
    EXPECT_EQ(module->samplesPerTick, 3445);
}

TEST_F(ReplayTest, SetVolumeAboveSixtyFourIsLimited) {
    XmSong song = replaySong();
    song.cell(0, 0, 0) = {C4, 1, 0, 0xC, 0xFF};
    play(song);
    tick();
    EXPECT_EQ(channel().volume, 64);
    EXPECT_EQ(voice().volume, 127);
}

TEST_F(ReplayTest, SetFinetuneStaysWithTheSample) {
    XmSong song = replaySong(2);
    song.tempo = 1;
    song.cell(0, 0, 0) = {C4, 1, 0, 0xE, 0x55};
    song.cell(0, 0, 1) = {C4, 1, 0, 0, 0};
    song.cell(0, 1, 1) = {C4, 1, 0, 0, 0};
    play(song);
    tick();
    EXPECT_EQ(channel(0).period, 4608) << "the current note keeps its period";
    EXPECT_EQ(channel(1).period, 4606) << "a later channel of the same row already uses it";
    tick();
    EXPECT_EQ(channel(1).period, 4606);
    EXPECT_EQ(module->instruments[0].samples[0]->finetune, 5);
}

TEST_F(ReplayTest, FinePortamentosAndFineVolumeSlides) {
    XmSong song = replaySong();
    song.tempo = 1;
    song.cell(0, 0, 0) = {C4, 1, 0x30, 0xE, 0x13};
    song.cell(0, 1, 0) = {0, 0, 0, 0xE, 0x25};
    song.cell(0, 2, 0) = {0, 0, 0, 33, 0x13};
    song.cell(0, 3, 0) = {0, 0, 0, 33, 0x10}; // memory
    song.cell(0, 4, 0) = {0, 0, 0, 33, 0x22};
    song.cell(0, 5, 0) = {0, 0, 0, 0xE, 0xA5};
    song.cell(0, 6, 0) = {0, 0, 0, 0xE, 0xA0}; // memory
    song.cell(0, 7, 0) = {0, 0, 0, 0xE, 0xBF};
    play(song);
    EXPECT_EQ(trace(5, [&] { return channel().period; }),
              (std::vector<int32_t>{4596, 4616, 4613, 4610, 4612}));
    EXPECT_EQ(trace(3, [&] { return channel().volume; }), (std::vector<int32_t>{37, 42, 27}));
}

TEST_F(ReplayTest, PanningAndVibratoControl) {
    XmSong song = replaySong();
    song.tempo = 1;
    song.cell(0, 0, 0) = {C4, 1, 0, 8, 0x20};
    song.cell(0, 1, 0) = {0, 0, 0, 0xE, 0x83};
    song.cell(0, 2, 0) = {0, 0, 0, 0xE, 0x46};
    play(song);
    tick();
    EXPECT_EQ(voice().pan, 0x20);
    tick();
    EXPECT_EQ(voice().pan, 48);
    channel().waveControl = 0x50;
    tick();
    EXPECT_EQ(channel().waveControl, 0x56);
}

TEST_F(ReplayTest, VibratoPhaseAcrossNotes) {
    // E4x below 4 restarts the vibrato phase with every instrument; 4 and above keep it running.
    for (uint8_t control : {0x00, 0x04}) {
        XmSong song = replaySong();
        song.tempo = 3;
        song.cell(0, 0, 0) = {C4, 1, 0, 0xE, static_cast<uint8_t>(0x40 | control)};
        song.cell(0, 1, 0) = {C4, 1, 0, 4, 0x48};
        song.cell(0, 2, 0) = {C4, 1, 0, 4, 0x48};
        play(song);
        tick(6);
        EXPECT_EQ(channel().vibratoPosition, 8);
        tick();
        EXPECT_EQ(channel().vibratoPosition, control < 4 ? 0 : 8);
        moduleFree(module);
        module = nullptr;
    }
}

TEST_F(ReplayTest, NotesBeyondTheRangeCountAsNoNote) {
    XmSong song = replaySong();
    song.tempo = 1;
    song.cell(0, 0, 0) = {C4, 1, 0, 0, 0};
    song.cell(0, 1, 0) = {98, 1, 0, 0, 0};
    song.cell(0, 2, 0) = {0x7F, 0, 0, 0, 0};
    play(song);
    tick();
    voice().positionInt = 9;
    tick(2);
    EXPECT_EQ(channel().note, 48);
    EXPECT_EQ(channel().period, 4608);
    EXPECT_EQ(voice().positionInt, 9u);
}

TEST_F(ReplayTest, NotesBelowTheLowestPlayAsTheLowest) {
    struct Case {
        uint8_t note;
        int8_t relativeNote;
        uint16_t linear;
        int32_t realNote, period;
    };
    const Case cases[] = {
        {1, -1, 1, 0, 7680},                     // C-0 a semitone down: not the top of the range
        {1, -12, 0, 0, amigaPeriod(0, 0)},       // an octave down, Amiga scale
        {2, -1, 1, 0, 7680},                     // exactly the lowest note
        {13, -12, 0, 0, amigaPeriod(0, 0)},      // likewise
        {C4, -1, 1, 47, 7680 - 64 * 47},         // ordinary notes are unchanged
        {96, 127, 1, 95 + 127, 7680 - 64 * 222}, // the top has no wrap to guard
    };
    for (const Case& c : cases) {
        XmSong song = replaySong(1, c.linear);
        song.instruments[0].samples[0].relativeNote = c.relativeNote;
        song.cell(0, 0, 0) = {c.note, 1, 0, 0, 0};
        play(song);
        tick();
        EXPECT_EQ(int(channel().realNote), c.realNote) << int(c.note) << " " << int(c.relativeNote);
        EXPECT_EQ(channel().period, c.period) << int(c.note) << " " << int(c.relativeNote);
        moduleFree(module);
        module = nullptr;
    }
}

TEST_F(ReplayTest, InstrumentsBeyondTheModuleSelectTheEmptyOnes) {
    XmSong song = replaySong();
    song.tempo = 1;
    song.cell(0, 0, 0) = {C4, 1, 0, 0, 0};
    song.cell(0, 1, 0) = {C4, 9, 0, 0, 0};
    song.instruments[0].keymap[52] = 7; // beyond the instrument's one sample
    song.cell(0, 2, 0) = {E4, 1, 0, 0xE, 0x55};
    play(song);
    tick(2);
    EXPECT_EQ(channel().volume, 0);
    EXPECT_EQ(voice().sample, &emptySample);
    tick();
    EXPECT_EQ(voice().sample, &emptySample);
    EXPECT_EQ(emptySample.finetune, 0);
}

} // namespace
