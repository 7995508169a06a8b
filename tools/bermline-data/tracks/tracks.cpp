#include "data_kit.h"

bool write_rabbithill(const std::string& root);

bool write_tracks(const std::string& root) { return write_rabbithill(root); }
