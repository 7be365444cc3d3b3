#include "platform/program_copy.h"

#include <QCoreApplication>
#include <QProcess>

#include "platform/qt_text.h"
#include "resources/drive_map.h"

namespace vitrina {

void StartProgramCopy(const TDriveMap& drives, const std::string& programFolder,
                      const std::vector<std::string>& arguments) {
    QStringList line;
    if (const auto folder = drives.ToHostPath(programFolder)) line << "--disc" << QString::fromStdString(folder->string());
    if (const QString scale = qEnvironmentVariable(kCopyScaleVariable); !scale.isEmpty()) line << "--scale" << scale;
    line << "--";
    for (const std::string& a : arguments) line << QText(a);
    QProcess::startDetached(QCoreApplication::applicationFilePath(), line);
}

}  // namespace vitrina
