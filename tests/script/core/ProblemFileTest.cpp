// Reading problem files: line ends, Ctrl-Z, decoding, open errors, the index scan and the lookup.
#include "script/core/Globales.h"
#include "script/core/ProblemIndex.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace {

std::vector<std::string> Lines(const std::string& bytes) {
    qv::ProblemTextFile f;
    f.OpenFromBytes(bytes);
    std::vector<std::string> out;
    std::string line;
    while (f.ReadLine(line)) out.push_back(line);
    return out;
}

using V = std::vector<std::string>;

TEST(ProblemFileLines, CarriageReturnEndsLineAndCrLfIsOneLineEnd) {
    EXPECT_EQ(Lines("a\rb\r\nc"), (V{"a", "b", "c"}));
    EXPECT_EQ(Lines("a\r\n\r\nb\r\n"), (V{"a", "", "b"}));
    EXPECT_EQ(Lines("a\r\r\nb"), (V{"a", "", "b"}));
    EXPECT_EQ(Lines(""), V{});
    EXPECT_EQ(Lines("\r\n"), V{""});
}

TEST(ProblemFileLines, LineFeedAloneEndsALine) {
    EXPECT_EQ(Lines(".# 1 A\n.rem x\n"), (V{".# 1 A", ".rem x"}));
    EXPECT_EQ(Lines("a\n\rb"), (V{"a", "", "b"}));
    EXPECT_EQ(Lines("a\n\nb\r\nc\rd"), (V{"a", "", "b", "c", "d"}));
    // Random access agrees with reading in order, across the marked lines.
    std::string bytes;
    for (int i = 0; i < 50; ++i) bytes += std::to_string(i) + (i % 3 ? "\n" : "\r\n");
    qv::ProblemTextFile f;
    f.OpenFromBytes(bytes);
    ASSERT_EQ(f.LineCount(), 50u);
    for (std::size_t i : {49u, 3u, 17u, 16u, 0u, 33u, 32u, 31u})
        EXPECT_EQ(f.Line(i), std::to_string(i));
}

TEST(ProblemFileLines, WhatIsNoProblemFileIsRefused) {
    auto refusal = [](const std::string& bytes) -> std::string {
        try {
            qv::ProblemTextFile f;
            f.OpenFromBytes(bytes);
            return "";
        } catch (const qv::FileError& e) {
            return e.what();
        }
    };
    EXPECT_EQ(refusal(std::string(4096, '\0')),
              "Not a problem file: it holds binary data (NUL bytes)");
    EXPECT_EQ(refusal(".rem a\0b\r\n.end\r\n"), ""); // a stray NUL is a slip, not binary data
    EXPECT_EQ(refusal(std::string(qv::ProblemTextFile::MaxFileBytes + 1, '\r')),
              "Not a problem file: larger than 64 MiB");
    // A device without end is read no further than its first block.
    qv::Globales g;
    try {
        qv::ScanProblemIndex(g, "/dev/zero");
        FAIL() << "no error";
    } catch (const qv::FileError& e) {
        EXPECT_STREQ(e.what(), "Not a problem file: it holds binary data (NUL bytes)");
    }
}

TEST(ProblemFileLines, CtrlZEndsTheFile) {
    EXPECT_EQ(Lines("a\r\nb\x1A\r\nc\r\n"), (V{"a", "b"}));
    EXPECT_EQ(Lines("\x1A.# 1 x\r\n"), V{});
}

TEST(ProblemFileLines, LongLinesAreReadInFull) {
    const std::string longLine = ".rem " + std::string(100000, 'x');
    const auto lines = Lines(longLine + "\r\n.end\r\n");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], longLine);
}

TEST(ProblemFileLines, ReadLineAtEndLeavesTheBufferAndRewindStartsAgain) {
    qv::ProblemTextFile f;
    f.OpenFromBytes("one\r\ntwo\r\n");
    std::string line;
    ASSERT_TRUE(f.ReadLine(line));
    ASSERT_TRUE(f.ReadLine(line));
    EXPECT_TRUE(f.AtEnd());
    EXPECT_FALSE(f.ReadLine(line));
    EXPECT_EQ(line, "two");
    f.Rewind();
    ASSERT_TRUE(f.ReadLine(line));
    EXPECT_EQ(line, "one");
}

TEST(ProblemFileDecoding, ValidUtf8IsKeptAndABomIsDropped) {
    qv::ProblemTextFile f;
    f.OpenFromBytes("\xEF\xBB\xBF.# 1 Caf\xC3\xA9\r\n");
    EXPECT_FALSE(f.DecodedAsWindows1252());
    std::string line;
    ASSERT_TRUE(f.ReadLine(line));
    EXPECT_EQ(line, ".# 1 Caf\xC3\xA9");
}

TEST(ProblemFileDecoding, OtherBytesAreWindows1252) {
    qv::ProblemTextFile f;
    // e acute, euro sign, left double quote, an undefined byte, y diaeresis.
    f.OpenFromBytes(".rem Caf\xE9 \x80 \x93 \x81 \xFF\r\n");
    EXPECT_TRUE(f.DecodedAsWindows1252());
    std::string line;
    ASSERT_TRUE(f.ReadLine(line));
    EXPECT_EQ(line, ".rem Caf\xC3\xA9 \xE2\x82\xAC \xE2\x80\x9C \xC2\x81 \xC3\xBF");
}

TEST(ProblemFileDecoding, OverlongAndSurrogateFormsAreNotUtf8) {
    qv::ProblemTextFile f;
    f.OpenFromBytes("\xC0\xAF");
    EXPECT_TRUE(f.DecodedAsWindows1252());
    f.OpenFromBytes("\xED\xA0\x80");
    EXPECT_TRUE(f.DecodedAsWindows1252());
    f.OpenFromBytes("\xE2\x82"); // cut short at the end
    EXPECT_TRUE(f.DecodedAsWindows1252());
}

TEST(ProblemFileOpen, MissingFileGivesFileNotFound) {
    qv::Globales g;
    try {
        qv::ScanProblemIndex(g, "/nonexistent-dir/none.qvn");
        FAIL() << "no error";
    } catch (const qv::FileError& e) {
        EXPECT_STREQ(e.what(), "File not found");
    }
    try {
        qv::ScanProblemIndex(g, "/dev/null/none.qvn"); // a file where a folder should be
        FAIL() << "no error";
    } catch (const qv::FileError& e) {
        EXPECT_STREQ(e.what(), "Invalid filename"); // worded as the save commands word it
    }
    try {
        qv::ScanProblemIndex(
            g, (std::filesystem::temp_directory_path() / "qv-missing-file.qvn").string());
        FAIL() << "no error";
    } catch (const qv::FileError& e) {
        EXPECT_STREQ(e.what(), "File not found");
    }
    EXPECT_FALSE(g.ProblemFileOpen);
}

TEST(ProblemFileOpen, FailedOpenClosesThePreviousFile) {
    const auto path = std::filesystem::temp_directory_path() / "qv-scan-test.qvn";
    { std::ofstream(path, std::ios::binary) << ".# 1 A\r\n"; }
    qv::Globales g;
    EXPECT_EQ(qv::ScanProblemIndex(g, path.string()), V{"1 A"});
    EXPECT_TRUE(g.ProblemFileOpen);
    EXPECT_TRUE(g.ProblemFile.AtEnd());
    EXPECT_THROW(qv::ScanProblemIndex(g, path.string() + ".none"), qv::FileError);
    EXPECT_FALSE(g.ProblemFileOpen);
    std::filesystem::remove(path);
}

// Index scan through a real file.
V Scan(qv::Globales& g, const std::string& bytes) {
    const auto path = std::filesystem::temp_directory_path() / "qv-index-test.qvn";
    { std::ofstream(path, std::ios::binary) << bytes; }
    V entries = qv::ScanProblemIndex(g, path.string());
    std::filesystem::remove(path);
    return entries;
}

TEST(ProblemIndex, EntriesKeepTheTitleAsWritten) {
    qv::Globales g;
    const V entries = Scan(g, "Title page\r\n.# 7\r\n.# 12 A\r\n.# 3 Rook  endgame \r\n"
                              ".#  4 Title\r\n  .rem x\r\n.REM y\r\n");
    EXPECT_EQ(entries, (V{"7 ", "12 A", "3 Rook  endgame ", "4 Title"}));
    std::string next;
    EXPECT_TRUE(qv::SeekProblem(g, "7 "));
    g.ProblemFile.ReadLine(next);
    EXPECT_EQ(next, ".# 12 A");
    EXPECT_TRUE(qv::SeekProblem(g, "12 A"));
    EXPECT_TRUE(qv::SeekProblem(g, "3 Rook  endgame "));
    g.ProblemFile.ReadLine(next);
    EXPECT_EQ(next, ".#  4 Title");
    // Listed, but no line equals the key ".# 4 Title": the lookup says so.
    EXPECT_FALSE(qv::SeekProblem(g, "4 Title"));
    EXPECT_TRUE(g.ProblemFile.AtEnd());
    EXPECT_EQ(g.ProblemTitle, "4 Title");
}

TEST(ProblemIndex, TwoIdenticalIndexLinesBothFindTheFirst) {
    qv::Globales g;
    const V entries = Scan(g, ".# 1 Same\r\n.rem first\r\n.# 1 Same\r\n.rem second\r\n");
    EXPECT_EQ(entries, (V{"1 Same", "1 Same"}));
    ASSERT_TRUE(qv::SeekProblem(g, entries[1]));
    std::string next;
    g.ProblemFile.ReadLine(next);
    EXPECT_EQ(next, ".rem first");
}

TEST(ProblemIndex, EmptyFileAndLineFeedFiles) {
    qv::Globales g;
    EXPECT_EQ(Scan(g, ""), V{});
    EXPECT_TRUE(g.ProblemFileOpen);
    EXPECT_EQ(Scan(g, ".# 1 One\n.# 2 Two\n"), (V{"1 One", "2 Two"}));
    EXPECT_EQ(Scan(g, "x\n.# 2 Two\n"), V{"2 Two"});
    EXPECT_EQ(Scan(g, ".# 9 Last"), V{"9 Last"});
}

} // namespace
