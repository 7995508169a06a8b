// Track sections for the racing lines: the lap entries below
// GATE_NO_SEGMENT are section boundaries, and a rider whose next gate is at
// sequence position p rides section section_index(p). Sections count over
// the whole race; the first lap's have tables of their own, a normal lap's
// share theirs lap after lap.
#pragma once

// Rebuilds the boundary counts for the loaded track's timing gates.
void index_sections();

// Number of section boundaries in the first lap and in a normal lap.
int first_lap_sections();
int normal_lap_sections();

bool is_section_boundary(int position);

// Boundaries at sequence positions before `position`.
int section_index(int position);

// The table of a race section; -1 without sections.
int section_table(int section);

// The boundary before `position` (exclusive); -1 when there is none (the
// section began at the start).
int previous_boundary(int position);
