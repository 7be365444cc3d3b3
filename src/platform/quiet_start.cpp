#include "platform/quiet_start.h"

#include <QLoggingCategory>
#include <QString>

#include <dlfcn.h>

#include <cstdarg>
#include <cstdlib>

namespace vitrina {

namespace {

// ALSA's error handler type; the library prints its errors to stderr unless given one.
using TAlsaErrorHandler = void (*)(const char* file, int line, const char* function, int error, const char* format, ...);
using TSetAlsaErrorHandler = int (*)(TAlsaErrorHandler);

void IgnoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

QtMessageHandler previousHandler = nullptr;

// Notices written without a category of their own: Qt Multimedia's PulseAudio backend failing to
// reach a sound server, and the platform's and the engine's note that there is no OpenGL, where
// the program draws in software by choice (software_drawing.h).
void DropUncategorisedNotices(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    static const QLatin1String kNotices[] = {
        QLatin1String("PulseAudioService:"),
        QLatin1String("QXcbIntegration: Cannot create platform OpenGL context"),
        QLatin1String("This plugin does not support createPlatformOpenGLContext"),
        QLatin1String("No suitable graphics backend found"),
    };
    for (const QLatin1String& notice : kNotices)
        if (message.startsWith(notice)) return;
    if (previousHandler) previousHandler(type, context, message);
}

}  // namespace

void KeepLibrariesQuiet() {
    // Rules set here come before the reader's QT_LOGGING_CONF and QT_LOGGING_RULES, which win:
    // the web engine's set-up report, and the media backend's complaints about a missing device.
    QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false\n"
                                                    "qt.multimedia.*.warning=false"));
    if (std::getenv("QT_LOGGING_RULES")) return;
    previousHandler = qInstallMessageHandler(DropUncategorisedNotices);
    // OpenAL Soft, which GStreamer may try for sound, logs errors unless told the level.
    ::setenv("ALSOFT_LOGLEVEL", "0", 0);
    // The ALSA library GStreamer loads later is this same instance.
    if (void* alsa = ::dlopen("libasound.so.2", RTLD_LAZY | RTLD_GLOBAL)) {
        if (auto set = reinterpret_cast<TSetAlsaErrorHandler>(::dlsym(alsa, "snd_lib_error_set_handler")))
            set(IgnoreAlsaError);
    }
}

}  // namespace vitrina
