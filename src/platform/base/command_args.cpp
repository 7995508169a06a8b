#include "platform/base/command_args.h"

#include <cstring>

int match_option(ArgCursor* cursor, const char* name, const char** value) {
  if (cursor->left <= 0 || cursor->end_of_options) return 0;
  const char* arg = cursor->next[0];
  if (!value) {
    if (std::strcmp(arg, name) != 0) return 0;
    ++cursor->next;
    --cursor->left;
    return 1;
  }
  if (std::strcmp(arg, "--") == 0) {
    cursor->end_of_options = true;
    ++cursor->next;
    --cursor->left;
    return 0;
  }
  if (std::strcmp(arg, name) == 0) {
    *value = cursor->left > 1 ? cursor->next[1] : nullptr;
    int taken = cursor->left > 1 ? 2 : 1;
    cursor->next += taken;
    cursor->left -= taken;
    return 1;
  }
  size_t length = std::strlen(name);
  if (std::strncmp(arg, name, length) == 0 && arg[length] == '=') {
    *value = arg + length + 1;
    ++cursor->next;
    --cursor->left;
    return 1;
  }
  return 0;
}

const char* take_argument(ArgCursor* cursor) {
  if (cursor->left <= 0) return nullptr;
  --cursor->left;
  return *cursor->next++;
}
