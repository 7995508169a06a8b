// Playing a demo file back: the header names the track, the race length
// and the riders; each tick every playback rider (a slot driven from
// outside) takes its next frame. A rider whose frame comes up short is
// hidden and stays where it was.
#pragma once

#include <string>

#include "race/demo_header.h"
#include "race/race_setup.h"

struct DataFile;

struct DemoPlayback {
  DataFile* input = nullptr;
  DemoHeader header;
  int demo_rider_count = 0;
  // Per slot: 1 when the rider's last frame was complete, 0 when short.
  float visibility[RACE_SLOTS] = {};
};

// Opens a demo and reads its header; the race length, laps and gate drop
// take the file's values. 1 on success; 0 leaves nothing open.
int open_demo_playback(const std::string& path);

// One frame for every playback rider (and one skipped for each file rider
// without a bike).
void play_demo_tick();

void close_demo_playback();

// Closes the playback and the recording (demo_rider_count 0).
void close_demo_files();
