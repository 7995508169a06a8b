// The command-line reader shared by the game and its tools: options
// beginning with "--", each "--name value" or "--name=value", and a lone
// "--" that ends the options. Programs try their options in a fixed chain;
// the first match takes the argument.
#pragma once

struct ArgCursor {
  char** next = nullptr;
  int left = 0;
  bool end_of_options = false;
};

// 1 when the next argument is the option `name` (consumed), else 0. With
// `value` non-null the option takes a value: the following argument (null
// when there is none) or the text after "=". A lone "--" seen by a
// value-taking option ends the options.
int match_option(ArgCursor* cursor, const char* name, const char** value);

// Takes the next argument whatever it is (a file name, or an option no
// match took); null when none is left.
const char* take_argument(ArgCursor* cursor);
