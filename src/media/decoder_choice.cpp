#include "media/decoder_choice.h"

#include <cstdlib>
#include <string>

namespace vitrina {

void PreferLightDecoders() {
    // One above GST_RANK_PRIMARY.
    std::string ranks = "mpg123audiodec:257";
    if (const char* readers = std::getenv("GST_PLUGIN_FEATURE_RANK"); readers && *readers) ranks += std::string(",") + readers;
    ::setenv("GST_PLUGIN_FEATURE_RANK", ranks.c_str(), 1);
}

}  // namespace vitrina
