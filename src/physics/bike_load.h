// Building, re-posing and tearing down a Bike in the shared ODE world.
#pragma once

#include "physics/bike.h"

// Builds a bike of the named model (unknown names fall back, see
// choose_bike_info) for a rider slot. Texture paths may be null or "" for
// the model's defaults. The bike starts in its design pose with the default
// setup. Never fails; physics must be started.
Bike* load_bike(const char* model, int slot, const char* number, const char* rider_body_texture,
                const char* rider_head_texture, const char* bike_texture, const char* wheel_texture);
// Destroys the bodies and joints and frees the record. Null is allowed.
void free_bike(Bike* b);

// Every body back to its design position, identity rotation, at rest; the
// dynamic state cleared and the rider re-attached.
void reset_bike_pose(Bike& b);
// Adds a vector to every body's position.
void move_bike(Bike& b, double dx, double dy, double dz);
// Sets every body's rotation to the given one (replacing it: use on a
// freshly reset bike) and turns every body's position about the world origin.
void rotate_bike(Bike& b, double axis_x, double axis_y, double axis_z, double angle);

// Model gearing and suspension midpoints, assist defaults, option flags.
void apply_default_setup(Bike& b);
// Shares the rider's mass between the rider body (x) and the frame (1 - x).
void set_rider_mass_distribution(Bike& b, double x);
