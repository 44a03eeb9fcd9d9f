// The built ranvel-replay program, run as a player would run it.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "replay/page_png.h"
#include "tests/support/files.h"

#ifdef RANVEL_REPLAY_BIN

namespace {

struct ProgramRun {
  int code = -1;
  std::string err;
};

std::filesystem::path scratch_dir(const char* name) {
  const auto dir =
      std::filesystem::temp_directory_path() / ("ranvel-program-" + std::to_string(getpid()) + "-" + name);
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  return dir;
}

ProgramRun run_replay(const std::filesystem::path& dir, const std::string& script, const std::string& outdir,
                      const std::string& switches = "") {
  const auto script_path = dir / "script.txt";
  std::ofstream(script_path, std::ios::binary) << script;
  const auto err_path = dir / "stderr.txt";
  const std::string command = std::string("'") + RANVEL_REPLAY_BIN + "' " + switches + " '" + script_path.string() +
                              "' '" + outdir + "' >/dev/null 2>'" + err_path.string() + "'";
  const int status = std::system(command.c_str());
  ProgramRun r;
  if (WIFEXITED(status)) r.code = WEXITSTATUS(status);
  r.err = file_text(err_path);
  return r;
}

}  // namespace

TEST(ReplayProgram, AScriptThatRunsOutEndsWithExitCodeZero) {
  const auto dir = scratch_dir("ok");
  const auto out = dir / "out" / "nested";
  const ProgramRun r = run_replay(dir, "# start the game and look at it\nwait 200\nshot start\nstate start\nwait 20\n",
                           out.string());
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.err, "");
  const PagePng png = read_page_png((out / "start.png").string());
  EXPECT_TRUE(png.ok);
  EXPECT_EQ(png.width, 800);
  EXPECT_EQ(png.height, 600);
  EXPECT_EQ(png.palette.size(), 768u);
  const std::string json = file_text(out / "start.json");
  EXPECT_EQ(json.rfind("{\"screen\": ", 0), 0u) << json;
  EXPECT_NE(json.find("\"target\": "), std::string::npos);
  std::filesystem::remove_all(dir);
}

TEST(ReplayProgram, AMalformedScriptIsRefusedBeforeAnythingRuns) {
  const auto dir = scratch_dir("bad");
  const auto out = dir / "out";
  const ProgramRun r = run_replay(dir, "wait 100\nshot early\n\nclick 900 10\n", out.string());
  EXPECT_EQ(r.code, 2);
  EXPECT_EQ(r.err, (dir / "script.txt").string() + ":4: click needs X Y inside the page (0..799 0..599)\n");
  // Nothing ran: not even the shot before the bad line was taken.
  EXPECT_FALSE(std::filesystem::exists(out / "early.png"));
  std::filesystem::remove_all(dir);
}

TEST(ReplayProgram, BadCommandLinesAreRefused) {
  const auto dir = scratch_dir("usage");
  const int no_args = std::system((std::string("'") + RANVEL_REPLAY_BIN + "' >/dev/null 2>&1").c_str());
  ASSERT_TRUE(WIFEXITED(no_args));
  EXPECT_EQ(WEXITSTATUS(no_args), 2);
  const int missing = std::system((std::string("'") + RANVEL_REPLAY_BIN + "' /nonexistent/script.txt '" +
                                   (dir / "out").string() + "' >/dev/null 2>&1")
                                      .c_str());
  ASSERT_TRUE(WIFEXITED(missing));
  EXPECT_EQ(WEXITSTATUS(missing), 2);
  std::filesystem::remove_all(dir);
}

TEST(ReplayProgram, TheTeachingSwitchesAndWhatTheSnapshotTellsOfThem) {
  const auto dir = scratch_dir("teaching");
  // The computer starts: at the easy level its first rod is drawn at random.
  const std::string script = "wait 300\nkey c\nwait 300\nkey enter\nwait 4000\nstate s\n";
  const auto snapshot = [&](const std::string& switches) {
    const ProgramRun r = run_replay(dir, script, (dir / "out").string(), switches);
    EXPECT_EQ(r.code, 0) << switches << ": " << r.err;
    return file_text(dir / "out" / "s.json");
  };
  // Without a switch the snapshot is as it always was.
  EXPECT_EQ(snapshot("").find("\"level\""), std::string::npos);
  const std::string level = snapshot("--nivel=medio");
  EXPECT_NE(level.find(", \"level\": \"medio\", \"hints\": false}"), std::string::npos) << level;
  const std::string hints = snapshot("--ayuda");
  EXPECT_NE(hints.find("\"level\": \"experto\", \"hints\": true, \"winning_totals\": [1, 12, 23, 34, 45, 56, 67, "
                       "78, 89, 100]}"),
            std::string::npos)
      << hints;
  // The same seed plays the same game, another seed another.
  const std::string seeded = snapshot("--nivel facil --semilla 1");
  EXPECT_EQ(snapshot("--nivel facil --semilla=1"), seeded);
  EXPECT_NE(snapshot("--nivel facil --semilla 2"), seeded);
  // The sounds are listed with --sonidos only; --sin-sonido starts silent,
  // and M switches: the left arrow's click is heard, or the right arrow's.
  const std::string clicks = "wait 200\nkey left\nwait 100\nkey M\nkey right\nwait 100\nstate s\n";
  const std::string click_at = ", \"sounds\": [{\"name\": \"click\", \"ms\": ";
  for (const auto& [switches, heard] : {std::pair<std::string, std::string>{"", "}"},
                                        {"--sonidos", click_at + "10216}]}"},
                                        {"--sonidos --sin-sonido", click_at + "10316}]}"}}) {
    ASSERT_EQ(run_replay(dir, clicks, (dir / "out").string(), switches).code, 0);
    EXPECT_TRUE(file_text(dir / "out" / "s.json").ends_with("\"lookat\": 12.0" + heard + "\n")) << switches;
  }
  // A level it does not know, a word missing, a seed not from 0 to 2^31 - 1: the usage, exit code 2.
  for (const std::string bad : {"--nivel dificil", "--nivel", "--ayuda=quiza", "--nada", "--semilla=-1", "--semilla 1.5",
                                "--semilla 2147483648"}) {
    const ProgramRun r = run_replay(dir, script, (dir / "out").string(), bad);
    EXPECT_EQ(r.code, 2) << bad;
    EXPECT_NE(r.err.find("usage: ranvel-replay [--nivel facil|medio|experto] [--ayuda] [--meta N]"),
              std::string::npos)
        << bad << ": " << r.err;
  }
  std::filesystem::remove_all(dir);
}

#endif
