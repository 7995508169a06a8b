#include "race/demo_recording.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <thread>

#include "core/messages.h"
#include "core/run_settings.h"
#include "data/data_dirs.h"
#include "data/safe_write.h"
#include "physics/bike.h"
#include "platform/base/paths.h"
#include "race/demo_frame.h"
#include "race/demo_header.h"
#include "race/race_session.h"
#include "track/track.h"


namespace {

// Pushes the demo file to the disk once a second, away from the game thread.
class DiskSyncer {
 public:
  void start(int fd) {
    fd_ = fd;
    stopping_ = false;
    thread_ = std::thread([this] { run(); });
  }
  void stop() {
    if (!thread_.joinable()) return;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      stopping_ = true;
    }
    wake_.notify_one();
    thread_.join();
  }

 private:
  void run() {
    std::unique_lock<std::mutex> lock(mutex_);
    while (!wake_.wait_for(lock, std::chrono::seconds(1), [this] { return stopping_; })) fdatasync(fd_);
  }

  int fd_ = -1;
  bool stopping_ = false;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::thread thread_;
};

struct Recording {
  int fd = -1;
  int slots[RACE_SLOTS];
  int count = 0;
  DiskSyncer syncer;
};

Recording recording;

bool write_all(int fd, const void* data, size_t size) {
  const char* at = static_cast<const char*>(data);
  while (size > 0) {
    ssize_t done = write(fd, at, size);
    if (done < 0 && errno == EINTR) continue;
    if (done <= 0) return false;
    at += done;
    size -= static_cast<size_t>(done);
  }
  return true;
}

// Writes the header into a temporary file beside the target and renames it
// over the target once it is on the disk. Returns the open file, or -1.
int create_demo_file(const std::string& path, const std::string& header) {
  size_t slash = path.rfind('/');
  std::string folder = slash == std::string::npos ? std::string(".") : path.substr(0, slash);
  make_folders(folder);
  std::string temporary = temporary_path_for(path);
  int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) return -1;
  if (!write_all(fd, header.data(), header.size()) || fsync(fd) != 0 || !replace_with_temporary(temporary, path)) {
    close(fd);
    unlink(temporary.c_str());
    return -1;
  }
  // The new name must survive a power loss too.
  int dir = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    fsync(dir);
    close(dir);
  }
  return fd;
}

}  // namespace

std::string home_file(const std::string& path) {
  if (path.empty() || path[0] != '@') return path;
  std::string home = home_folder();
  return home.empty() ? "" : home + path.substr(1);
}

std::string track_demo_path(const std::string& track, const char* name) { return "@" + track + "/" + name; }

void start_demo_recording(const std::string& where) {
  stop_demo_recording();
  const std::string path = home_file(where);
  if (path.empty()) return;

  // Offline, every bike simulated here is recorded: the player and the robots.
  DemoHeader header;
  header.race_length_ticks = race.race_length_ticks;
  header.race_laps = race.race_laps;
  header.gate_drop_tick = race.gate_drop_tick;
  header.track = track().name;
  recording.count = 0;
  for (int slot = 0; slot < RACE_SLOTS; ++slot) {
    if (!race.slot_bike[slot] || race.slot_control[slot] == CONTROL_EXTERNAL) continue;
    recording.slots[recording.count++] = slot;
    header.riders.push_back(race.slot_rider[slot]);
    header.riders.back().bike = race.slot_bike[slot]->info.name;  // the model that was loaded
  }
  recording.fd = create_demo_file(path, demo_header_text(header));
  if (recording.fd < 0) {
    post_message("Can't record demo to %.900s", path.c_str());
    return;
  }
  recording.syncer.start(recording.fd);
}

void record_demo_tick() {
  if (recording.fd < 0) return;
  uint8_t tick[RACE_SLOTS * DEMO_FRAME_BYTES];
  size_t size = 0;
  for (int k = 0; k < recording.count; ++k) {
    const Bike* b = race.slot_bike[recording.slots[k]];
    DemoFrame frame = b ? encode_frame(*b) : DemoFrame{};
    std::memcpy(tick + size, frame.bytes, DEMO_FRAME_BYTES);
    size += DEMO_FRAME_BYTES;
  }
  if (write_all(recording.fd, tick, size)) return;
  post_message("Demo recording stopped: %.100s", std::strerror(errno));
  stop_demo_recording();
}

void stop_demo_recording() {
  if (recording.fd < 0) return;
  recording.syncer.stop();
  fdatasync(recording.fd);
  close(recording.fd);
  recording.fd = -1;
  recording.count = 0;
}

bool demo_recording_active() { return recording.fd >= 0; }
