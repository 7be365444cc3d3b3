#include "media/media_log.h"

namespace vitrina {

Q_LOGGING_CATEGORY(lcMedia, "vitrina.media", QtInfoMsg)

}  // namespace vitrina
