// xmtool trace: one line per tick and channel, or per row.

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "xmtool_run.h"

namespace {

std::vector<std::vector<std::string>> lines(const std::string& text) {
    std::vector<std::vector<std::string>> result;
    std::istringstream input(text);
    std::string line;
    while (std::getline(input, line)) {
        std::vector<std::string> fields;
        std::istringstream row(line);
        std::string field;
        while (std::getline(row, field, '\t')) fields.push_back(field);
        result.push_back(fields);
    }
    return result;
}

TEST(XmtoolTrace, TicksAndChannels) {
    XmSong song = shortSong();
    song.tempo = 3;
    song.cell(0, 1, 1) = {0, 0, 0, 0xF, 0x7D}; // 125 BPM -> 125: unchanged; speed 3 -> 3
    song.cell(0, 2, 0) = {0, 0, 0, 0x0, 0x0C}; // arpeggio up an octave on tick 2
    const std::string module = writeModule(song, "trace.xm");
    const XmtoolResult result = runXmtool("trace " + module);
    ASSERT_EQ(result.status, 0) << result.err;
    const auto table = lines(result.out);
    ASSERT_EQ(table.size(), 1u + 8 * 3 * 2) << "header, then 8 rows of 3 ticks for 2 channels";
    EXPECT_EQ(table[0],
              (std::vector<std::string>{"frame", "order", "pattern", "row", "tick", "channel", "note",
                                        "instrument", "period", "frequency", "volume", "pan"}));
    // Row 0, tick 0: C-4 on channel 0 at full volume, centre; channel 1 has had nothing yet.
    EXPECT_EQ(table[1], (std::vector<std::string>{"0", "0", "0", "0", "0", "0", "49", "1", "4608", "8363",
                                                  "127", "128"}));
    EXPECT_EQ(table[2],
              (std::vector<std::string>{"0", "0", "0", "0", "0", "1", "0", "0", "0", "0", "0", "0"}));
    // Row 2, tick 2 (the 9th tick): the arpeggio's octave.
    const auto& arpeggio = table[1 + 2 * 8];
    EXPECT_EQ(arpeggio[0], std::to_string(8 * 882));
    EXPECT_EQ(arpeggio[3], "2");
    EXPECT_EQ(arpeggio[4], "2");
    EXPECT_EQ(arpeggio[8], "5376");
    EXPECT_EQ(arpeggio[9], "16726");
    // The second pattern is the second order entry.
    EXPECT_EQ(table[1 + 2 * 12][1], "1");
    EXPECT_EQ(table[1 + 2 * 12][2], "1");
}

TEST(XmtoolTrace, Rows) {
    XmSong song = shortSong();
    song.cell(1, 1, 1) = {0, 0, 0, 0xF, 0x03};
    song.cell(1, 2, 1) = {0, 0, 0, 0xF, 0x20};
    const std::string module = writeModule(song, "trace_rows.xm");
    const XmtoolResult result = runXmtool("trace --rows " + module);
    ASSERT_EQ(result.status, 0) << result.err;
    const auto table = lines(result.out);
    ASSERT_EQ(table.size(), 9u);
    EXPECT_EQ(table[0], (std::vector<std::string>{"frame", "order", "pattern", "row", "speed", "bpm"}));
    EXPECT_EQ(table[6], (std::vector<std::string>{"4410", "1", "1", "1", "3", "125"}));
    EXPECT_EQ(table[7], (std::vector<std::string>{"7056", "1", "1", "2", "3", "32"}));
    EXPECT_EQ(table[8][0], std::to_string(7056 + 3 * 3445));
}

TEST(XmtoolTrace, SecondsAndErrors) {
    const std::string module = writeModule(shortSong(), "trace_seconds.xm");
    const XmtoolResult result = runXmtool("trace --rows " + module + " --seconds 1");
    ASSERT_EQ(result.status, 0);
    EXPECT_EQ(lines(result.out).size(), 1u + 50) << "882-frame rows for one second, past the song's end";
    EXPECT_EQ(runXmtool("trace").status, 2);
    EXPECT_EQ(runXmtool("trace --seconds -3 " + module).status, 2);
    const XmtoolResult missing = runXmtool("trace " + scratchPath("none.xm"));
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "xmtool: " + scratchPath("none.xm") + ": No such file or directory\n");
    EXPECT_EQ(runXmtool("trace --help").status, 0);
}

} // namespace
