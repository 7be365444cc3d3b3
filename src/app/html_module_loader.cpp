#include "app/html_module_loader.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibrary>

#include <iostream>
#include <string>

#include "panes/html_module.h"

namespace vitrina {
namespace {

IHtmlModule* provided = nullptr;

IHtmlModule* Load() {
    const QString folder = QCoreApplication::applicationDirPath();
    std::string error = "vitrina_html.so is neither beside the program nor in " VITRINA_MODULE_FOLDER;
    for (const QString& path : {folder + "/vitrina_html.so", folder + "/" VITRINA_MODULE_FOLDER "/vitrina_html.so"}) {
        if (!QFileInfo::exists(path)) continue;
        // Never unloaded: the pane's objects and the engine live as long as the process.
        QLibrary library(path);
        auto entry = library.load() ? reinterpret_cast<THtmlModuleEntry>(library.resolve(kHtmlModuleEntry)) : nullptr;
        if (!entry) {
            error = library.errorString().toStdString();
            break;
        }
        int moduleVersion = 0;
        if (IHtmlModule* module = entry(kHtmlModuleVersion, &moduleVersion);
            module && moduleVersion == kHtmlModuleVersion)
            return module;
        error = path.toStdString() + " is of version " + std::to_string(moduleVersion) + ", the program needs " +
                std::to_string(kHtmlModuleVersion);
        break;
    }
    std::cerr << "vitrina: documents cannot be shown: " << error << "\n";
    return nullptr;
}

}  // namespace

IHtmlModule* HtmlModule() {
    static IHtmlModule* const module = provided ? provided : Load();
    return module;
}

void ProvideHtmlModule(IHtmlModule* module) { provided = module; }

}  // namespace vitrina
