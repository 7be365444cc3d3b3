#include "dialogs/zip_save_dialog.h"

#include <QFileDialog>

#include "platform/cp1251.h"

namespace vitrina {
namespace fs = std::filesystem;

namespace {

fs::path HostFile(const std::string& utf8) { return fs::path(std::u8string(utf8.begin(), utf8.end())); }

}  // namespace

fs::path AskZipTarget(const fs::path& initialFolder, const std::string& name) {
    const QString chosen = QFileDialog::getSaveFileName(
        nullptr, {}, QString::fromStdString((initialFolder / HostFile(Cp1251ToUtf8(name))).string()),
        QString::fromUtf8("Zip файлы (*.zip);;Все файлы (*.*)"));
    return chosen.isEmpty() ? fs::path() : HostFile(chosen.toStdString());
}

}  // namespace vitrina
