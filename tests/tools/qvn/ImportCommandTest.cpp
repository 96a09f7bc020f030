// qvn import run as a program on files written into a fresh temporary folder.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

class ImportCommand : public ::testing::Test {
protected:
    fs::path dir;
    std::string out, err;

    void SetUp() override {
        std::string tmpl = (fs::temp_directory_path() / "qvn-import-XXXXXX").string();
        ASSERT_NE(mkdtemp(tmpl.data()), nullptr);
        dir = tmpl;
    }
    void TearDown() override { fs::remove_all(dir); }

    fs::path Write(const std::string& name, const std::string& text) {
        std::ofstream(dir / name, std::ios::binary) << text;
        return dir / name;
    }
    static std::string Read(const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    // Runs qvn with the arguments (each single-quoted); returns its exit code.
    int Qvn(const std::vector<std::string>& args) {
        std::string cmd = "'" QVN_PATH "'";
        for (const auto& a : args) cmd += " '" + a + "'";
        cmd += " >'" + (dir / "stdout").string() + "' 2>'" + (dir / "stderr").string() + "'";
        const int status = std::system(cmd.c_str());
        out = Read(dir / "stdout");
        err = Read(dir / "stderr");
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
};

const char* const Rows =
    "00sHx,q3k1nr/1pp1nQpp/3p4/1P2p3/4P3/B1PP1b2/B5PP/5K2 b k - 0 17,e8d7 a2e6 d7d8 f7f8,1760,80,"
    "83,72,mate mateIn2 middlegame short,https://x/1,Italian_Game\n";

} // namespace

TEST_F(ImportCommand, WritesTheFileThatPlaysToFullPointsAndReportsSkips) {
    const fs::path src =
        Write("p.csv", std::string(Rows) + "bad,8/8/8/8/8/8/8/K6k w - - 0 1,a1a3 b1b2,1\n");
    const std::string target = (dir / "p.qvn").string();
    EXPECT_EQ(Qvn({"import", src.string(), "--points", "5", "-o", target}), 0);
    EXPECT_EQ(out, "");
    EXPECT_EQ(err, "skipped record 2: illegal move 1. a1a3\nimported 1 of 2 records\n");
    EXPECT_FALSE(fs::exists(target + ".part"));
    EXPECT_EQ(Qvn({"run", target, "--moves", "a2e6,f7f8"}), 0);
    EXPECT_NE(out.find("\ntotal: 10\n"), std::string::npos) << out;
    EXPECT_EQ(Qvn({"run", target, "--moves", "a2b1,f7f8"}), 0);
    EXPECT_NE(out.find("\ntotal: 5\n"), std::string::npos) << out;
    // To standard output when no -o is given.
    EXPECT_EQ(Qvn({"import", src.string(), "--format", "lichess", "--max-rating", "1000"}), 0);
    EXPECT_EQ(out, "");
    EXPECT_EQ(err, "skipped record 2: illegal move 1. a1a3\nimported 0 of 2 records\n");
}

TEST_F(ImportCommand, UsageAndFileErrors) {
    const fs::path pgn = Write("a.pgn", "[FEN \"8/8/8/8/8/8/8/K6k w - - 0 1\"]\n\n1. Kb2 *\n");
    EXPECT_EQ(Qvn({"import"}), 1);
    EXPECT_EQ(Qvn({"import", (dir / "a.txt").string()}), 1); // no format to tell
    EXPECT_EQ(Qvn({"import", pgn.string(), "--min-rating", "1500"}), 1);
    EXPECT_EQ(Qvn({"import", pgn.string(), "--points", "zero"}), 1);
    EXPECT_EQ(Qvn({"import", pgn.string(), "--format", "fen"}), 1);
    EXPECT_EQ(Qvn({"import", (dir / "missing.pgn").string()}), 2);
    EXPECT_NE(err.find("missing.pgn: cannot be read"), std::string::npos) << err;
    EXPECT_EQ(Qvn({"import", dir.string(), "--format", "pgn"}), 2);

    std::string junk;
    for (int i = 0; i < 20000; ++i) junk += static_cast<char>((i * 131) % 256);
    const fs::path bin = Write("junk.epd", junk);
    const std::string target = (dir / "junk.qvn").string();
    EXPECT_EQ(Qvn({"import", bin.string(), "-o", target}), 2);
    EXPECT_NE(err.find("no puzzle found in " + bin.string()), std::string::npos) << err;
    EXPECT_FALSE(fs::exists(target));
    EXPECT_FALSE(fs::exists(target + ".part"));
    EXPECT_EQ(Qvn({"import", pgn.string(), "-o", (dir / "no" / "such" / "x.qvn").string()}), 2);
}

TEST_F(ImportCommand, FiftyMegabytesOfOneLineBetweenTwoGoodRows) {
    const fs::path src = dir / "big.csv";
    {
        std::ofstream f(src, std::ios::binary);
        f << Rows;
        const std::string chunk(1 << 20, 'x');
        for (int i = 0; i < 50; ++i) f << chunk;
        f << "\n" << Rows;
    }
    ASSERT_GE(fs::file_size(src), 50u << 20);
    EXPECT_EQ(Qvn({"import", src.string(), "-o", (dir / "big.qvn").string()}), 0);
    EXPECT_EQ(err, "skipped record 2: line too long\nimported 2 of 3 records\n");
    const std::string script = Read(dir / "big.qvn");
    EXPECT_NE(script.find(".# 3 Puzzle 00sHx"), std::string::npos);
}
