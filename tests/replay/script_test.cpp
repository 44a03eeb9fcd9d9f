#include <gtest/gtest.h>

#include "replay/script.h"

namespace {

ReplayCommand cmd(ReplayKind kind, int32_t line) {
  ReplayCommand c;
  c.kind = kind;
  c.line = line;
  return c;
}

ReplayCommand wait_cmd(int64_t ms, int32_t line) {
  ReplayCommand c = cmd(REPLAY_WAIT, line);
  c.ms = ms;
  return c;
}

ReplayCommand key_cmd(const std::string& key, int32_t line) {
  ReplayCommand c = cmd(REPLAY_KEY, line);
  c.key = key;
  return c;
}

ReplayCommand mouse_cmd(int32_t x, int32_t y, int32_t line) {
  ReplayCommand c = cmd(REPLAY_MOUSE, line);
  c.x = x;
  c.y = y;
  return c;
}

ReplayCommand named(ReplayKind kind, const std::string& name, int32_t line) {
  ReplayCommand c = cmd(kind, line);
  c.name = name;
  return c;
}

// The error text of a one-line script, or "ok".
std::string error_of(const std::string& line) {
  const ReplayScript s = parse_replay_script("wait 10\n" + line + "\n", "play.txt");
  return s.ok ? "ok" : s.error;
}

}  // namespace

TEST(ReplayScript, EveryCommand) {
  const std::string text =
      "# a whole game in a few lines\n"
      "\n"
      "wait 500\n"
      "key 3\n"
      "key X\n"
      "key :\n"
      "   key enter\n"
      "key esc\n"
      "key space\n"
      "key left\n"
      "key right\n"
      "key up\n"
      "key down\n"
      "mouse 400 300\n"
      "mouse out\n"
      "down\n"
      "up\n"
      "shot first-frame\n"
      "state after_move.1\n"
      "\twait 0\n";
  const ReplayScript s = parse_replay_script(text, "game.txt");
  ASSERT_TRUE(s.ok) << s.error;
  const std::vector<ReplayCommand> expected{
      wait_cmd(500, 3),
      key_cmd("3", 4),
      key_cmd("X", 5),
      key_cmd(":", 6),
      key_cmd("\r", 7),
      key_cmd("\x1B", 8),
      key_cmd(" ", 9),
      key_cmd(std::string("\xFF") + "K", 10),
      key_cmd(std::string("\xFF") + "M", 11),
      key_cmd(std::string("\xFF") + "H", 12),
      key_cmd(std::string("\xFF") + "P", 13),
      mouse_cmd(400, 300, 14),
      cmd(REPLAY_MOUSE_OUT, 15),
      cmd(REPLAY_DOWN, 16),
      cmd(REPLAY_UP, 17),
      named(REPLAY_SHOT, "first-frame", 18),
      named(REPLAY_STATE, "after_move.1", 19),
      wait_cmd(0, 20),
  };
  EXPECT_EQ(s.commands, expected);
}

TEST(ReplayScript, TextAndClickAreSpelledOut) {
  const ReplayScript s = parse_replay_script("text S x:\nclick 799 0\r\n", "t");
  ASSERT_TRUE(s.ok) << s.error;
  const std::vector<ReplayCommand> expected{
      key_cmd("S", 1),   key_cmd(" ", 1), key_cmd("x", 1),      key_cmd(":", 1),
      mouse_cmd(799, 0, 2), cmd(REPLAY_DOWN, 2), wait_cmd(60, 2), cmd(REPLAY_UP, 2), wait_cmd(60, 2),
  };
  EXPECT_EQ(s.commands, expected);
  // Everything after "text " is typed, spaces included.
  const ReplayScript spaced = parse_replay_script("text  a ", "t");
  ASSERT_TRUE(spaced.ok);
  ASSERT_EQ(spaced.commands.size(), 3u);
  EXPECT_EQ(spaced.commands[0].key, " ");
  EXPECT_EQ(spaced.commands[1].key, "a");
  EXPECT_EQ(spaced.commands[2].key, " ");
}

TEST(ReplayScript, CommentsBlankLinesAndLineEndings) {
  const ReplayScript s = parse_replay_script("  # indented comment\n\t\n\r\n#key 3\nkey #\nwait 5", "t");
  ASSERT_TRUE(s.ok) << s.error;
  // A '#' after a command is a key, not a comment; the last line needs no
  // line end.
  EXPECT_EQ(s.commands, (std::vector<ReplayCommand>{key_cmd("#", 5), wait_cmd(5, 6)}));
  EXPECT_TRUE(parse_replay_script("", "t").commands.empty());
  EXPECT_TRUE(parse_replay_script("", "t").ok);
}

TEST(ReplayScript, MalformedLinesNameTheScriptAndTheLine) {
  EXPECT_EQ(error_of("jump 3"), "play.txt:2: unknown command 'jump'");
  EXPECT_EQ(error_of("Wait 10"), "play.txt:2: unknown command 'Wait'");
  const std::string bad_wait = "play.txt:2: wait needs one whole number of milliseconds (0 or more)";
  EXPECT_EQ(error_of("wait"), bad_wait);
  EXPECT_EQ(error_of("wait -5"), bad_wait);
  EXPECT_EQ(error_of("wait 1.5"), bad_wait);
  EXPECT_EQ(error_of("wait 10ms"), bad_wait);
  EXPECT_EQ(error_of("wait 10 20"), bad_wait);
  EXPECT_EQ(error_of("wait 2147483648"), bad_wait);
  EXPECT_EQ(error_of("wait 99999999999999999999999"), bad_wait);
  EXPECT_EQ(error_of("wait 2147483647"), "ok");
  const std::string bad_key =
      "play.txt:2: key needs exactly one key: a printable character or one of enter esc space left right up down";
  EXPECT_EQ(error_of("key"), bad_key);
  EXPECT_EQ(error_of("key 3 4"), bad_key);
  EXPECT_EQ(error_of("key Enter"), "play.txt:2: unknown key 'Enter'");
  EXPECT_EQ(error_of("key 10"), "play.txt:2: unknown key '10'");
  EXPECT_EQ(error_of("key \xC3\xB1"), "play.txt:2: unknown key '\xC3\xB1'");
  EXPECT_EQ(error_of("text"), "play.txt:2: text needs the characters to type");
  EXPECT_EQ(error_of("text "), "play.txt:2: text needs the characters to type");
  EXPECT_EQ(error_of("text a\tb"), "play.txt:2: text may hold only printable ASCII characters and spaces");
  const std::string bad_mouse = "play.txt:2: mouse needs X Y inside the page (0..799 0..599), or out";
  EXPECT_EQ(error_of("mouse"), bad_mouse);
  EXPECT_EQ(error_of("mouse 800 10"), bad_mouse);
  EXPECT_EQ(error_of("mouse 10 600"), bad_mouse);
  EXPECT_EQ(error_of("mouse -1 10"), bad_mouse);
  EXPECT_EQ(error_of("mouse 10"), bad_mouse);
  EXPECT_EQ(error_of("mouse out now"), bad_mouse);
  EXPECT_EQ(error_of("click out"), "play.txt:2: click needs X Y inside the page (0..799 0..599)");
  EXPECT_EQ(error_of("click 1 2 3"), "play.txt:2: click needs X Y inside the page (0..799 0..599)");
  EXPECT_EQ(error_of("down 1"), "play.txt:2: down takes nothing after it");
  EXPECT_EQ(error_of("up now"), "play.txt:2: up takes nothing after it");
  const std::string bad_shot =
      "play.txt:2: shot needs one NAME of letters, digits, '-', '_' and '.' (not starting with '.')";
  EXPECT_EQ(error_of("shot"), bad_shot);
  EXPECT_EQ(error_of("shot ../escape"), bad_shot);
  EXPECT_EQ(error_of("shot a/b"), bad_shot);
  EXPECT_EQ(error_of("shot .hidden"), bad_shot);
  EXPECT_EQ(error_of("shot two words"), bad_shot);
  EXPECT_EQ(error_of("state"),
            "play.txt:2: state needs one NAME of letters, digits, '-', '_' and '.' (not starting with '.')");
}

TEST(ReplayScript, TheFirstMalformedLineStopsTheWholeScript) {
  const ReplayScript s = parse_replay_script("key 3\n\n# fine so far\nkey 4\nbogus\nalso bogus\n", "dir/s.txt");
  EXPECT_FALSE(s.ok);
  EXPECT_EQ(s.error, "dir/s.txt:5: unknown command 'bogus'");
  EXPECT_TRUE(s.commands.empty());
}
