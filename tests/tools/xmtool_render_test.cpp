// xmtool render: WAV files that read back, the same bytes every time, the song once through.

#include <gtest/gtest.h>
#include <sndfile.h>

#include <cstdint>
#include <string>
#include <vector>

#include "xmtool_run.h"

namespace {

struct Wav {
    SF_INFO info{};
    std::vector<int16_t> samples;
};

Wav readWav(const std::string& path) {
    Wav wav;
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &wav.info);
    if (!file) return wav;
    wav.samples.resize(static_cast<size_t>(wav.info.frames * wav.info.channels));
    sf_read_short(file, wav.samples.data(), static_cast<sf_count_t>(wav.samples.size()));
    sf_close(file);
    return wav;
}

TEST(XmtoolRender, OnceThroughToAWavFile) {
    const std::string module = writeModule(shortSong(), "render_short.xm");
    const std::string out = scratchPath("render_short.wav");
    const XmtoolResult result = runXmtool("render " + module + " -o " + out);
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.err, "") << "no progress bar when stderr is not a terminal";
    const Wav wav = readWav(out);
    EXPECT_EQ(wav.info.format, SF_FORMAT_WAV | SF_FORMAT_PCM_16);
    EXPECT_EQ(wav.info.channels, 2);
    EXPECT_EQ(wav.info.samplerate, 44100);
    EXPECT_EQ(wav.info.frames, 8 * 882) << "two patterns of four rows, then the song comes back";
    int peak = 0;
    for (int16_t sample : wav.samples) peak = std::max(peak, std::abs(int(sample)));
    EXPECT_GT(peak, 1000);

    const std::string again = scratchPath("render_short_again.wav");
    ASSERT_EQ(runXmtool("render " + module + " -o " + again).status, 0);
    EXPECT_EQ(readText(out), readText(again));
}

TEST(XmtoolRender, SecondsAndRate) {
    const std::string module = writeModule(shortSong(), "render_rate.xm");
    const std::string out = scratchPath("render_rate.wav");
    ASSERT_EQ(runXmtool("render " + module + " --seconds 1.5 --rate 22050 -o " + out).status, 0);
    const Wav wav = readWav(out);
    EXPECT_EQ(wav.info.samplerate, 22050);
    EXPECT_EQ(wav.info.frames, 33075) << "a fixed length goes on past the song's end";
}

TEST(XmtoolRender, WhereTheSongEnds) {
    struct Case {
        const char* name;
        std::vector<std::pair<std::pair<int, int>, XmCell>> cells; // ((pattern, row), cell) on channel 1
        int rows;
    };
    const Case cases[] = {
        {"a pattern loop is part of the song",
         {{{0, 0}, {0, 0, 0, 0xE, 0x60}}, {{0, 3}, {0, 0, 0, 0xE, 0x62}}},
         16},
        {"a jump back ends it", {{{1, 1}, {0, 0, 0, 0xB, 0x00}}}, 6},
        {"a break into the next pattern", {{{0, 1}, {0, 0, 0, 0xD, 0x02}}}, 4},
    };
    for (const Case& c : cases) {
        XmSong song = shortSong();
        for (const auto& [where, cell] : c.cells) song.cell(where.first, where.second, 1) = cell;
        const std::string module = writeModule(song, "render_end.xm");
        const std::string out = scratchPath("render_end.wav");
        ASSERT_EQ(runXmtool("render " + module + " -o " + out).status, 0) << c.name;
        EXPECT_EQ(readWav(out).info.frames, c.rows * 882) << c.name;
    }
}

TEST(XmtoolRender, Errors) {
    const std::string module = writeModule(shortSong(), "render_errors.xm");
    const std::string missing = scratchPath("no_such_module.xm");
    struct Case {
        std::string arguments;
        int status;
        std::string err; // the start of standard error
    };
    const Case cases[] = {
        {"render", 2, "xmtool: render: no file given\n"},
        {"render " + module, 2, "xmtool: render: no output given"},
        {"render " + module + " -o x.wav --seconds 0", 2, "xmtool: render: --seconds"},
        {"render " + module + " -o x.wav --seconds abc", 2, "xmtool: render: --seconds"},
        {"render " + module + " -o x.wav --rate 12", 2, "xmtool: render: --rate"},
        {"render " + module + " -o x.wav --loud", 2, "xmtool: render: unknown option"},
        {"render " + missing + " -o x.wav", 1, "xmtool: " + missing + ": No such file or directory\n"},
        {"render " + module + " -o " + scratchPath("no/such/dir.wav"), 1,
         "xmtool: " + scratchPath("no/such/dir.wav") + ": No such file or directory\n"},
    };
    for (const Case& c : cases) {
        const XmtoolResult result = runXmtool(c.arguments);
        EXPECT_EQ(result.status, c.status) << c.arguments;
        EXPECT_EQ(result.err.substr(0, c.err.size()), c.err) << c.arguments;
    }
    const std::string junk = scratchPath("junk.xm");
    std::ofstream(junk) << "not a module at all";
    const XmtoolResult refused = runXmtool("render " + junk + " -o x.wav");
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err, "xmtool: " + junk + ": not an XM module\n");

    const XmtoolResult help = runXmtool("render --help");
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("usage: xmtool render", 0), 0u);
}

} // namespace
