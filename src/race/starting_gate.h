// The starting gate: where each lineup place starts, and the gate bars that
// hold the riders until the drop.
#pragma once

struct StartPose {
  double x, z;
  double heading;  // radians about the vertical; 0 faces -z
};

// Place v of the lineup: with G gate positions, row v / G behind position
// v mod G (rows 10 ft apart, the first 0.625 ft behind the gate); with
// none, a line 5 ft apart across the middle of the track.
StartPose start_pose(int v);

// Every bar up.
void raise_gate_bars();
// Lowers the bars after the drop (each falls in 1/8 s) and turns their
// models, until ten seconds after the drop.
void animate_gate_bars();
