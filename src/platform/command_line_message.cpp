#include "platform/command_line_message.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QStringList>

namespace vitrina {

std::string CommandLineMessage(const QCommandLineParser& parser, const QStringList& arguments) {
    // The parser names the option it missed a value for only inside its sentence; the same
    // sentence made here tells that case apart without reading it.
    if (!arguments.isEmpty()) {
        const QString last = arguments.last();
        const QString missing = QCoreApplication::translate("QCommandLineParser", "Missing value after '%1'.").arg(last);
        if (parser.errorText() == missing) return last.toStdString() + " needs a value";
    }
    return parser.errorText().toStdString();
}

}  // namespace vitrina
