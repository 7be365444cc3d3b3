#include "platform/program_copy.h"

#include <QCoreApplication>
#include <QProcess>

#include "platform/qt_text.h"

namespace vitrina {

void StartProgramCopy(const std::optional<std::filesystem::path>& discFolder, const std::vector<std::string>& arguments) {
    QStringList line;
    if (discFolder) line << "--disc" << QString::fromStdString(discFolder->string());
    if (const QString scale = qEnvironmentVariable(kCopyScaleVariable); !scale.isEmpty()) line << "--scale" << scale;
    line << "--";
    for (const std::string& a : arguments) line << QText(a);
    QProcess::startDetached(QCoreApplication::applicationFilePath(), line);
}

}  // namespace vitrina
