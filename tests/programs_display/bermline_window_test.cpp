// The built game in a window on the display (Xvfb in the test runs), run as
// a player would and ended as a player or the system ends it.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "testkit.h"
#include "window_close.h"

extern char** environ;

namespace {

// The game running in the background with a scratch home folder; standard
// output goes to a file.
struct Game {
  std::string home;
  std::string out_path;
  pid_t pid = -1;
  int status = -1;

  explicit Game(std::vector<std::string> args, const std::string& config = "video_mode=Windowed\n",
                const std::vector<std::string>& extra_environment = {}) {
    home = testkit::scratch_dir("home");
    if (!config.empty()) testkit::write_file(home + "config", config);
    out_path = home + "../stdout";
    std::vector<std::string> env_text = extra_environment;
    env_text.push_back("BL_USER_HOME=" + home);
    for (char** e = environ; *e; ++e)
      if (std::strncmp(*e, "BL_USER_HOME=", 13) != 0 && std::strncmp(*e, "BL_HOME=", 8) != 0 &&
          std::strncmp(*e, "VOXA_LOGFILE=", 13) != 0)
        env_text.push_back(*e);
    args.insert(args.begin(), BL_BERMLINE);
    std::vector<char*> argv, envp;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    for (std::string& e : env_text) envp.push_back(e.data());
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&actions);
  }
  ~Game() {
    if (pid > 0 && status == -1) {
      kill(pid, SIGKILL);
      waitpid(pid, nullptr, 0);
    }
  }
  std::string log() const { return testkit::read_file(home + "lastlog.txt"); }
  // Waits (up to two minutes) for a line in the log.
  bool wait_for_log(const std::string& line) const {
    for (int i = 0; i < 1200; ++i) {
      if (log().find("] " + line + "\n") != std::string::npos) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
  }
  // The exit status, waiting up to a minute; -1 when it did not exit normally.
  int wait_for_exit() {
    for (int i = 0; i < 600 && status == -1; ++i) {
      int raw = 0;
      if (waitpid(pid, &raw, WNOHANG) == pid) status = WIFEXITED(raw) ? WEXITSTATUS(raw) : 1000 + WTERMSIG(raw);
      else std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return status;
  }
};

// The log's lines without their time prefixes.
std::vector<std::string> log_lines(const std::string& log) {
  std::vector<std::string> lines;
  std::istringstream in(log);
  for (std::string line; std::getline(in, line);) {
    size_t end = line.find("] ");
    lines.push_back(end == std::string::npos ? line : line.substr(end + 2));
  }
  return lines;
}

bool has_line_starting(const std::vector<std::string>& lines, const std::string& start) {
  for (const std::string& line : lines)
    if (line.rfind(start, 0) == 0) return true;
  return false;
}

}  // namespace

TEST(BermlineWindow, RecordsWholeVideoFramesAndEndsCleanlyOnSigterm) {
  Game game({"--track", "rabbithill", "--lock-fps", "30", "--record-video", "--width", "320", "--height", "240"});
  ASSERT_GT(game.pid, 0);
  ASSERT_TRUE(game.wait_for_log("Entering the main loop")) << game.log();
  std::this_thread::sleep_for(std::chrono::seconds(2));
  kill(game.pid, SIGTERM);
  ASSERT_EQ(game.wait_for_exit(), 0) << game.log();

  // Whole frames of the window's size, as many as the log says.
  const std::string video = testkit::read_file(game.out_path);
  const std::string header = "P6\n320 240\n255\n";
  const size_t frame = header.size() + 320 * 240 * 3;
  ASSERT_GT(video.size(), 0u);
  EXPECT_EQ(video.size() % frame, 0u);
  const size_t frames = video.size() / frame;
  for (size_t k = 0; k < frames; ++k) ASSERT_EQ(video.compare(k * frame, header.size(), header), 0) << "frame " << k;
  const std::vector<std::string> lines = log_lines(game.log());
  EXPECT_TRUE(has_line_starting(lines, "Recorded " + std::to_string(frames) + " video frames")) << game.log();

  // The window, its display modes, OpenGL and the device roll call were logged,
  // and the shut-down ran in its order down to the configuration.
  for (const char* start : {"Registry mode is ", "Creating window", "DirectInput roll call...", "Mouse (Mouse)",
                            "End of DirectInput roll call", "Creating OpenGL context", "GL_VENDOR: ", "GL_RENDERER: ",
                            "GL_VERSION: ", "GL_EXTENSIONS: "})
    EXPECT_TRUE(has_line_starting(lines, start)) << start;
  std::vector<std::string> order = {"Leaving the main loop", "Deallocating bikes", "Deleting OpenGL context",
                                    "Destroying window", "Window shutdown complete"};
  size_t at = 0;
  for (const std::string& line : lines)
    if (at < order.size() && line == order[at]) ++at;
  EXPECT_EQ(at, order.size()) << game.log();
  EXPECT_EQ(testkit::read_file(game.home + "config").substr(0, 18), "xres=320\nyres=240\n");
}

TEST(BermlineWindow, ClosingTheWindowEndsTheGameAndWritesTheConfiguration) {
  Game game({"--track", "rabbithill"}, "video_mode=Windowed\nlaps=12\n");
  ASSERT_GT(game.pid, 0);
  ASSERT_TRUE(game.wait_for_log("Entering the main loop")) << game.log();
  ASSERT_TRUE(ask_window_to_close("Bermline"));
  ASSERT_EQ(game.wait_for_exit(), 0) << game.log();
  const std::string config = testkit::read_file(game.home + "config");
  EXPECT_EQ(config.substr(0, 18), "xres=640\nyres=480\n");
  EXPECT_NE(config.find("\nlaps=12.000000\n"), std::string::npos);
  EXPECT_NE(config.find("\nscreenshot_key=(k)s\n"), std::string::npos);
  EXPECT_NE(config.find("\nvideo_mode=Windowed\n"), std::string::npos);
}

TEST(BermlineWindow, FullscreenWithoutATrackTheTitleScreenWaitsAndSigintEndsIt) {
  struct Case {
    const char* config;  // "" = a fresh home folder
    const char* video_mode;
  } cases[] = {
      {"", "Default Fullscreen"},
      {"video_mode=1280x1024\n", "1280x1024"},  // a mode of the display's list
  };
  for (const Case& c : cases) {
    Game game({"--", "-no-such-demo.bldemo"}, c.config);
    ASSERT_GT(game.pid, 0);
    ASSERT_TRUE(game.wait_for_log("Entering the main loop")) << game.log();
    kill(game.pid, SIGINT);
    ASSERT_EQ(game.wait_for_exit(), 0) << game.log();
    const std::string config = testkit::read_file(game.home + "config");
    EXPECT_NE(config.find(std::string("\nvideo_mode=") + c.video_mode + "\n"), std::string::npos) << config;
    EXPECT_EQ(config.substr(0, 18), "xres=640\nyres=480\n");  // a fullscreen window keeps the windowed size
    EXPECT_EQ(game.log().find("Race on"), std::string::npos);
  }
}

TEST(BermlineWindow, WithoutAnOpenGLContextTheGameSaysSoAndKeepsItsConfiguration) {
  // The driver offers nothing as new as the context the game asks for.
  Game game({"--track", "rabbithill"}, "video_mode=Windowed\nlaps=12\n", {"MESA_GL_VERSION_OVERRIDE=1.1"});
  ASSERT_GT(game.pid, 0);
  ASSERT_TRUE(game.wait_for_log("Error: Couldn't create OpenGL context")) << game.log();
  // Where the message box shows, the player reads it and closes it.
  int status = -1;
  for (int i = 0; i < 600 && status == -1; ++i) {
    int raw = 0;
    if (waitpid(game.pid, &raw, WNOHANG) == game.pid) {
      status = WIFEXITED(raw) ? WEXITSTATUS(raw) : 1000;
      game.status = status;
    } else {
      ask_window_to_close("Problem starting Bermline");
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
  }
  EXPECT_EQ(status, 1);
  EXPECT_EQ(testkit::read_file(game.home + "config"), "video_mode=Windowed\nlaps=12\n");
}
