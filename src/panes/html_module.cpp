// The HTML module's entry point and what it makes.
#include "panes/html_module.h"

#include "html/doc_scheme_handler.h"
#include "panes/html_pane.h"
#include "print/pdf_export.h"

namespace vitrina {
namespace {

class THtmlModule : public IHtmlModule {
public:
    std::unique_ptr<IHtmlPane> MakePane(const TDynamicHtmlArray& areas, const THtmlPaneParts& parts) override {
        if (areas.empty()) return nullptr;
        return std::make_unique<THtmlPane>(areas, parts);
    }
    int PrintDocumentToPdf(TDriveMap& drives, const TUserFolders& folders, const std::string& document, bool picture,
                           const std::filesystem::path& out, std::string& error) override {
        return vitrina::PrintDocumentToPdf(drives, folders, document, picture, out, error);
    }
};

}  // namespace

extern "C" __attribute__((visibility("default"))) IHtmlModule* VitrinaHtmlModule(int programVersion,
                                                                                  int* moduleVersion) {
    if (moduleVersion) *moduleVersion = kHtmlModuleVersion;
    if (programVersion != kHtmlModuleVersion) return nullptr;
    static THtmlModule module;
    // The engine locks its scheme list when it starts, not when the application object is made:
    // a module loaded later still registers in time.
    static const bool registered = (TDocSchemeHandler::RegisterScheme(), true);
    (void)registered;
    return &module;
}

}  // namespace vitrina
