#pragma once
// Why a clip or a song does not play: open, play, pause, stop, close, completion and fade events
// at debug level, off by default (QT_LOGGING_RULES="vitrina.media.debug=true" turns them on).
#include <QLoggingCategory>

namespace vitrina {

Q_DECLARE_LOGGING_CATEGORY(lcMedia)

}  // namespace vitrina
