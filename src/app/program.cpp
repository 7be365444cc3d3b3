#include "app/program.h"

#include <QApplication>
#include <QFontDatabase>

#include <thread>

#include "app/program_parts.h"
#include "commands/dialog_commands.h"
#include "dialogs/about_window.h"
#include "dialogs/cool_dialog.h"
#include "media/media_parts.h"
#include "platform/cp1251.h"
#include "platform/window_directory.h"
#include "resources/description.h"
#include "screen/skin_window.h"
#include "search/search_service.h"
#include "setup/setup_service.h"

namespace vitrina {

TProgram::TProgram(TDriveMap& drives, const TUserFolders& folders, IDesktop& desktop, TStartOptions options)
    : session_(drives, folders), desktop_(desktop), dispatcher_(session_, services_), options_(std::move(options)),
      desktopServed_(services_.Register(&TCommandServices::desktop, &desktop)) {}

void TProgram::Start() {
    try {
        StartUp();
    } catch (const std::exception& e) {
        // Whatever fails while the program is built ends start-up with a message; a half-built
        // window is never shown as started.
        Fail(TCreation::Failed, std::string("start-up failed: ") + e.what());
    }
}

void TProgram::Fail(TCreation creation, std::string message) {
    creation_ = creation;
    creationMessage_ = std::move(message);
}

void TProgram::StartUp() {
    IDesktop& desktop = desktop_;
    // Qt reads the font configuration the first time a text is measured (about 7 ms, most of the
    // start screen's captions): a worker reads it while this thread reads the disc and decodes the
    // start screen's picture. The font database is thread-safe; the captions wait for it.
    std::jthread fonts([] { QFontDatabase::families(); });
    window_ = std::make_unique<TSkinWindow>(session_, dispatcher_, desktop, options_.animations);
    session_.OpenFolders();
    setup_.Make(std::make_unique<TSetupService>(session_.Drives(), desktop_, session_.Folders().config,
                                                TFontInstaller::UserFontFolder()));
    setup_->Fonts().OnInstalled = [](const std::filesystem::path& font) {
        QFontDatabase::addApplicationFont(QString::fromStdString(font.string()));
    };
    setup_->ShowMessage = [this](const std::string& text) {
        if (services_.dialogs) services_.dialogs->ShowDialog(0, text);
    };
    setup_.Serve(services_.Register(&TCommandServices::setup, setup_.get()));
    // Mode selection: a command line means the document mode, " /t" anywhere the thesaurus.
    session_.DocumentMode = !options_.arguments.empty();
    std::string commandLine;
    for (const std::string& a : options_.arguments) commandLine += (commandLine.empty() ? "" : " ") + a;
    const bool thesaurus = Contains(commandLine, "/t");
    if (thesaurus) {
        session_.ThesaurusWindow = true;
        session_.SecondaryVariant = true;
        session_.DocumentMode = false;
    } else if (session_.DocumentMode) {
        parts_ = std::make_unique<TProgramParts>(session_, dispatcher_, desktop, nullptr);
        return Fail(TCreation::DocumentMode, "document mode");
    }
    std::string error;
    switch (session_.ReadDescription(&error, thesaurus ? "Tesaurus.cfs" : "Struct.cfs")) {
    case TStructLoad::Loaded:
        break;
    case TStructLoad::NoContainer:
        return Fail(TCreation::NoContainer, error);
    default:
        return Fail(TCreation::NoDescription, error);
    }
    // The thesaurus window has its own title, settings and single copy, whatever its disc.
    if (thesaurus) session_.Title = TSearchService::ThesaurusTitle();
    // One copy per title.
    if (!semaphore_.Create(session_.Folders().runtime, session_.Title)) {
        if (thesaurus) return Fail(TCreation::SecondCopy, "the thesaurus window is open already");
        session_.DocumentMode = true;
        // The reader who started the program again wants to see the first copy's window.
        const TWindowDirectory others(session_.Folders().runtime);
        if (TWindowEntry first; others.FindWindowByTitle(session_.Title, first)) others.Send(first, "show");
        return Fail(TCreation::SecondCopy, "another copy of " + Cp1251ToUtf8(session_.Title) + " is running");
    }
    session_.ReadSections();
    if (thesaurus) UseThesaurusDocument(commandLine);
    // Other copies find this copy's windows (and close them) through the window directory.
    directory_.Make(std::make_unique<TWindowDirectory>(session_.Folders().runtime));
    directory_->OnRequest = [this](const std::string& title, const std::string& request) {
        const auto titled = [&title](QWidget* w) {
            return w->isVisible() && SameText1251(Utf8ToCp1251(w->windowTitle().toStdString()), title);
        };
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (!titled(w)) continue;
            if (request == "close") {
                w->close();
                // A dialog shows the program's title too: the close goes on to the main window.
                if (w != window_.get() && titled(window_.get())) window_->close();
            } else if (request == "show") {
                w->setWindowState(w->windowState() & ~Qt::WindowMinimized);
                w->show();
                w->raise();
                w->activateWindow();
            }
            return;
        }
    };
    directory_.Serve(services_.Register(&TCommandServices::windows, directory_.get()));
    window_->SetWindowDirectory(directory_.get());
    window_->BuildSkin();
    parts_ = std::make_unique<TProgramParts>(session_, dispatcher_, desktop, directory_.get());
    parts_->BuildPanes(*window_, window_->DocumentPanel());
    window_->FinishStartUp();
    // The skinned dialogs, when the disc describes them.
    if (session_.Container.Contains("Dialog.cfs")) {
        dialog_.Make(std::make_unique<TCoolDialog>(session_, desktop_, *window_));
        dialog_->OnKey = [this](int key, Qt::KeyboardModifiers modifiers) { return dispatcher_.KeyDown(key, modifiers); };
        dialog_.Serve(services_.Register(&TCommandServices::dialogs, dialog_.get()));
        dialog_->SetTextAreas(window_->TextMsg());
    }
    if (session_.Container.Contains("About.cfs")) {
        about_.Make(std::make_unique<TAboutCommands>(session_, desktop_, *window_));
        about_.Serve(services_.Register(&TCommandServices::about, about_.get()));
    }
    // The thesaurus window keeps its find fields on itself.
    parts_->MakeSearch(thesaurus ? nullptr : dialog_.get(), directory_.get(), parts_->Channel());
    if (thesaurus) creation_ = TCreation::ThesaurusMode;
}

void TProgram::UseThesaurusDocument(std::string commandLine) {
    // The command line without quotes and the mode mark names the document to show first.
    std::erase(commandLine, '"');
    commandLine = Trim(commandLine);
    if (const std::size_t mark = commandLine.find(" /t"); mark != std::string::npos) commandLine.erase(mark, 3);
    if (commandLine == "/t") commandLine.clear();
    commandLine = Trim(commandLine);
    if (commandLine.empty() || session_.Model.HtmlAreas.empty()) return;
    session_.Model.HtmlAreas.front().fn = ResolvePath(commandLine, session_.ProgramFolder);
}

void TProgram::ShowMainWindow() {
    TMediaParts* media = parts_ ? parts_->Media() : nullptr;
    if (options_.animations && media && media->PlayStartClip([this] { window_->ShowMainWindow(); })) return;
    window_->ShowMainWindow();
}

TProgram::~TProgram() {
    // The exit sound is heard to its end first; the parts then go (the music fades out), and
    // the window stores the switch states.
    if (window_) window_->PlayExitSound();
    if (parts_) parts_->ReleasePanes();
    dialog_.reset();
    about_.reset();
    window_.reset();
    parts_.reset();
    setup_.reset();
}

}  // namespace vitrina
