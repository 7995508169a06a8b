#include "track/track.h"

Track& track() {
  static Track loaded;
  return loaded;
}
