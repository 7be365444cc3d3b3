#include "commands/dispatcher.h"

#include <algorithm>

#include "commands/about_commands.h"
#include "commands/archive_commands.h"
#include "session/busy.h"
#include "commands/clip_commands.h"
#include "commands/command_recognition.h"
#include "commands/dialog_commands.h"
#include "commands/html_commands.h"
#include "commands/main_window.h"
#include "commands/options_commands.h"
#include "commands/player_commands.h"
#include "commands/popup_commands.h"
#include "commands/print_commands.h"
#include "commands/search_commands.h"
#include "commands/setup_commands.h"
#include "commands/standard_window_commands.h"
#include "commands/tree_commands.h"
#include "platform/cp1251.h"
#include "platform/desktop.h"
#include "platform/window_directory.h"
#include "resources/description.h"
#include "session/disc_session.h"

namespace vitrina {

TDispatcher::TDispatcher(TDiscSession& session, TCommandServices& services) : session_(session), services_(services) {}

void TDispatcher::Exit(int kind, int index) {
    if (services_.clips && services_.clips->ClipPlayerExists()) services_.clips->PauseClip();
    // The window with the program's title gets the close request. After the standard window
    // changed the caption none is found; the main window then closes directly.
    TWindowEntry found;
    if (services_.windows && services_.windows->FindWindowByTitle(session_.Title, found))
        services_.windows->Send(found, "close");
    else if (window_)
        window_->CloseWindow();
    if (kind == 0) session_.ExitButton = index;
}

void TDispatcher::ToggleBackgroundMusic() {
    TSettings& settings = session_.Settings;
    settings.BGSound = !settings.BGSound;
    if (services_.player) services_.player->BackgroundMusic(settings.BGSound);
    TRegistry& registry = session_.Registry();
    if (registry.OpenKey(SettingsKey(session_.Title), true)) {
        try {
            registry.WriteBool("BGSound", settings.BGSound);
        } catch (const ERegistryError&) {
        }
        registry.CloseKey();
    }
}

void TDispatcher::ExecuteCommand(const std::string& command, const std::string& sound, int silent, int kind, int index) {
    if (IsBusy()) return;
    if (command == "exit") return Exit(kind, index);
    if (session_.Settings.PlaysSound(sound) && silent != 1 && services_.desktop)
        services_.desktop->PlayClickSound(session_.ProgramFolder + sound);

    const TCommandServices& s = services_;
    const TRecognisedCommand r = RecogniseCommand(command, session_.Model.ScreenCount(), session_.ProgramFolder);
    const int number = r.number.value_or(-1);
    const std::string argument = r.argument.value_or("");
    const std::string params = r.params.value_or("");
    // Popups open only from buttons, at a corner of the button or at the pointer.
    auto openPopup = [&](int type, bool rightCorner, bool atPointer) {
        if (!s.popups || kind != 0 || !window_) return;
        const QPoint at = atPointer ? window_->PointerPosition() : window_->ControlCorner(index, rightCorner);
        s.popups->OpenPopup(type, at.x(), at.y());
    };
    switch (r.test) {
    case kTestScreenDocument:
        if (s.trees) s.trees->SetPendingDocument(argument);
        if (window_) window_->SwitchScreen(number - 1, kind, index);
        break;
    case kTest2d:
        if (s.clips && s.clips->ClipPlayerExists()) s.clips->SwitchClipMode(false);
        break;
    case kTest3d:
        if (!s.clips) break;
        if (!s.clips->ClipPlayerExists()) s.clips->CreateClip3d();
        s.clips->SwitchClipMode(true);
        break;
    case kTestRun:
        if (s.desktop) s.desktop->ShellExecute(argument, params);
        break;
    case kTestAbout:
        if (s.about && session_.Container.Contains("About.cfs")) s.about->ShowAbout();
        break;
    case kTestMinimize:
        if (window_) window_->Minimize(kind, index);
        break;
    case kTestTree1:
    case kTestTree2:
        if (s.trees) s.trees->SwitchTree(r.test == kTestTree1);
        break;
    case kTestOnTree:
    case kTestOffTree:
        if (s.trees) s.trees->ShowTrees(r.test == kTestOnTree);
        break;
    case kTestHistoryBack:
        openPopup(-1, true, false);
        break;
    case kTestHistoryForward:
        openPopup(-2, false, false);
        break;
    case kTestShowFavorite:
        openPopup(-3, false, false);
        break;
    case kTestDeleteFromFavorite:
        openPopup(-4, false, false);
        break;
    case kTestContextMenu:
        openPopup(number, false, true);
        break;
    case kTestAddToFavorite:
        if (s.popups) s.popups->AddToFavorites();
        break;
    case kTestFullTextSearch:
        if (s.search) s.search->ShowWordSearch();
        break;
    case kTestTesaurus:
        if (s.search) s.search->Thesaurus({});
        break;
    case kTestBack:
        if (s.html) s.html->HistoryBack();
        break;
    case kTestForward:
        if (s.html) s.html->HistoryForward();
        break;
    case kTestHtml:
        if (s.html) s.html->OpenInArea(number, argument);
        break;
    case kTestCopyHtml:
        if (s.html) s.html->CopyHtml();
        break;
    case kTestPrintHtml:
        if (s.html && s.print) s.print->PrintHtml();
        break;
    case kTestTopHtml:
        if (s.html) s.html->TopHtml();
        break;
    case kTestNextChapter:
        if (s.html && s.trees) s.trees->NextChapter();
        break;
    case kTestPrevChapter:
        if (s.html && s.trees) s.trees->PrevChapter();
        break;
    case kTestFindNext:
        if (!s.search) break;
        if (session_.ThesaurusWindow) s.search->FindNext(number);
        else s.search->ShowFindDialog();
        break;
    case kTestFindTxtAll:
    case kTestFindTxtLimit:
        if (s.search) s.search->FindAcrossAll(r.test == kTestFindTxtAll);
        break;
    case kTestCaseOn:
    case kTestCaseOff:
        session_.MatchCase = r.test == kTestCaseOn;
        break;
    case kTestBgSound:
        if (kind == 0) ToggleBackgroundMusic();
        break;
    case kTestStandartWin:
        if (s.standard) s.standard->ShowStandardWindow();
        break;
    case kTestOptions:
        if (s.options) s.options->ShowOptions();
        break;
    case kTestHelp:
        KeyDown(Qt::Key_F1, Qt::NoModifier);
        break;
    case kTestUnarc:
        if (s.html && s.html->ShowsArchivePage()) {
            if (s.archive) s.archive->ExtractArchive();
        } else if (s.dialogs) {
            s.dialogs->ShowMessage(Utf8ToCp1251("Выберите файл для распаковки."));
        }
        break;
    case kTestPlay:
        if (s.player) s.player->Play();
        break;
    case kTestStop:
        if (s.player) s.player->Stop();
        break;
    case kTestPause:
        if (s.player) s.player->Pause();
        break;
    case kTestStepForward:
        if (s.player) s.player->StepForward();
        break;
    case kTestStepBack:
        if (s.player) s.player->StepBack();
        break;
    case kTestClip:
        if (s.player) s.player->Clip(argument, params);
        break;
    case kTestNextPic:
        if (s.player) s.player->NextPicture();
        break;
    case kTestPrevPic:
        if (s.player) s.player->PrevPicture();
        break;
    case kTestInstallFonts:
        if (s.setup) s.setup->InstallFonts();
        break;
    case kTestRunGame:
        if (s.setup) s.setup->RunGame(argument, params);
        break;
    case kTestDelGame:
        if (s.setup) s.setup->RemoveGame(argument);
        break;
    case kTestScreenNumber:
        if (s.search && s.search->FindDialogVisible()) s.search->CloseFindDialog();
        if (window_) window_->SwitchScreen(number - 1, kind, index);
        break;
    default:
        break;
    }
}

void TDispatcher::ShowHelp(const char* topic) {
    if (services_.desktop) services_.desktop->ShowHelpTopic(session_.Model.HelpWin, topic);
}

void TDispatcher::PressSwitchesNamed(const char* word) {
    const int screen = session_.CurrentScreen;
    if (!window_ || screen >= int(session_.Model.ScreenSwitches.size())) return;
    // A copy: a press may change the records.
    const auto switches = session_.Model.ScreenSwitches[screen];
    for (const RSwthOne& s : switches)
        if (SameText1251(s.goup, word) || SameText1251(s.godown, word)) window_->PressAt(s.vx + 1, s.vy + 1);
}

void TDispatcher::FilesDropped(const std::vector<std::string>& files) {
    if (files.empty()) return;
    const TCommandServices& s = services_;
    const std::string& file = files.front();
    // The kind is found anywhere in the name, in this order: "x.bmp.rar" is a picture.
    const std::string name = LowerCase1251(file.substr(0, 200));
    auto has = [&](std::initializer_list<std::string_view> marks) {
        return std::any_of(marks.begin(), marks.end(), [&](std::string_view mark) { return Contains(name, mark); });
    };
    if (has({".htm", ".txt", ".bmp", ".jpg", ".jpeg", ".gif", ".png"})) {
        if (s.html) s.html->OpenDocument(file);
    } else if (has({".rar"})) {
        if (s.archive && s.html) s.archive->OpenArchivePage(file, s.html->CurrentDocument());
    } else if (has({".wav", ".mp3", ".mpa"})) {
        if (s.player) s.player->PlayDroppedFile(file);
    }
}

bool TDispatcher::KeyDown(int key, Qt::KeyboardModifiers modifiers) {
    if (window_ && window_->Animating()) return false;
    const TCommandServices& s = services_;
    const Qt::KeyboardModifiers mods =
        modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (session_.DocumentMode || session_.SecondaryVariant) {
        if (key != Qt::Key_Escape) return false;
        if (window_) window_->Terminate();
    }
    if (key == Qt::Key_Escape) {
        // The dialog decides: a running search stops, else the dialog closes.
        if (s.dialogs && s.dialogs->DialogVisible()) {
            s.dialogs->CloseDialogKey();
        } else if (s.popups) {
            s.popups->ClosePopups();
        }
        return false;
    }
    if (key == Qt::Key_F1) {
        if (session_.CurrentScreen == 0) ShowHelp("Topic12");
        else if (session_.CurrentScreen == 1) ShowHelp("Topic13");
        return false;
    }
    if (!s.html || session_.CurrentScreen != 1) return false;
    if (mods == Qt::ShiftModifier) {
        switch (key) {
        case Qt::Key_T:
            if (s.search) s.search->Thesaurus({});
            return false;
        case Qt::Key_Z:
            PressSwitchesNamed("tree1");
            return false;
        case Qt::Key_Up:
            ExecuteCommand("prevchapter", "prevchapter", 1, 0, 0);
            return true;
        case Qt::Key_Down:
            ExecuteCommand("nextchapter", "nextchapter", 1, 0, 0);
            return true;
        case Qt::Key_Home:
            ExecuteCommand("1", "1", 1, 0, 0);
            return false;
        default:
            return false;
        }
    }
    if (mods == (Qt::ShiftModifier | Qt::ControlModifier) && key == Qt::Key_F) {
        if (s.search) s.search->ShowWordSearch();
        return false;
    }
    if (mods == (Qt::ShiftModifier | Qt::ControlModifier) && key == Qt::Key_Z) {
        PressSwitchesNamed("OffTree");
        return false;
    }
    if (mods == Qt::ControlModifier) {
        switch (key) {
        case Qt::Key_I:
            if (s.popups) s.popups->AddToFavorites();
            break;
        case Qt::Key_P:
            if (s.print) s.print->PrintHtmlDialog();
            break;
        case Qt::Key_F:
            if (s.search) s.search->ShowFindDialog();
            break;
        case Qt::Key_A:
            s.html->SelectAllHtml();
            break;
        default:
            break;
        }
    }
    return false;
}

}  // namespace vitrina
