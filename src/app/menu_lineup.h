// The New Race menu's lineup between races.
#pragma once

struct Settings;

// "--rotate-lineup" n, after a New Race start: the New Race menu's code of
// slot i moves to slot (n + i) mod 40 for the next race.
void rotate_menu_lineup(Settings& s, int n);
