#pragma once
// Runs the xmtool program and collects its exit status and output.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/xm_writer.h"

struct XmtoolResult {
    int status;
    std::string out;
    std::string err;
};

inline std::string scratchPath(const std::string& name) {
    return std::string(TEST_SCRATCH_DIR) + "/" + name;
}

inline std::string readText(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// arguments are passed to the shell as they stand.
inline XmtoolResult runXmtool(const std::string& arguments, const std::string& environment = "") {
    // CTest runs tests side by side: each test keeps its own output files.
    const std::string test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    const std::string out = scratchPath(test + ".out"), err = scratchPath(test + ".err");
    const std::string command =
        environment + " " + XMTOOL_PATH + " " + arguments + " >" + out + " 2>" + err + " </dev/null";
    const int raw = std::system(command.c_str());
    // std::system gives the wait status: the exit code sits in its second byte.
    return {(raw >> 8) & 0xFF, readText(out), readText(err)};
}

inline std::string writeModule(const XmSong& song, const std::string& name) {
    const std::vector<uint8_t> bytes = xmWrite(song);
    const std::string path = scratchPath(name);
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return path;
}

// Two patterns of `rows` rows at speed 1 and 125 BPM (882 frames a row), a note on the first row.
inline XmSong shortSong(int rows = 4) {
    XmSong song;
    song.channels = 2;
    song.tempo = 1;
    song.orders = {0, 1};
    song.patterns.resize(2);
    for (XmPattern& pattern : song.patterns) pattern.rows = rows;
    XmInstrument instrument;
    std::vector<int8_t> values(64);
    for (int i = 0; i < 64; ++i) values[i] = static_cast<int8_t>(i < 32 ? 100 : -100);
    instrument.samples.push_back(xmSample8(values, XmLoop::Forward, 0, 64));
    song.instruments.push_back(instrument);
    song.cell(0, 0, 0) = {49, 1, 0, 0, 0};
    return song;
}
