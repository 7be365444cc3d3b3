// The command dispatcher of the main window and its keys: recognition is RecogniseCommand's,
// the actions are here or in the objects of TCommandTargets.
#include <QApplication>
#include <QDesktopServices>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>
#include <QToolTip>
#include <QUrl>

#include "app/main_form.h"
#include "commands/busy.h"
#include "commands/command_recognition.h"
#include "commands/command_targets.h"
#include "platform/click_sound.h"
#include "platform/cp1251.h"
#include "platform/window_directory.h"
#include "resources/description.h"

namespace vitrina {

void TMainForm::PlayClickSound(const std::string& sound) {
    sounds_.Play(HostPath(ProgramFolder + sound));
}

void TMainForm::RunProgram(const std::string& program, const std::string& params) {
    const auto host = drives_.ToHostPath(program);
    if (!host) return;
    QString file = QString::fromStdString(host->string());
    const QString args = QString::fromStdString(Cp1251ToUtf8(params));
    const bool windowsProgram = file.endsWith(".exe", Qt::CaseInsensitive) || file.endsWith(".bat", Qt::CaseInsensitive);
    if (windowsProgram) {
        // Windows programs run through wine where it is installed; otherwise nothing happens, as
        // with a failing ShellExecute.
        const QString wine = QStandardPaths::findExecutable("wine");
        if (wine.isEmpty()) return;
        QStringList list{file};
        if (!args.isEmpty()) list += QProcess::splitCommand(args);
        QProcess::startDetached(wine, list, QString::fromStdString(host->parent_path().string()));
        return;
    }
    QDesktopServices::openUrl(QUrl::fromLocalFile(file));
}

void TMainForm::ShowHelp(const std::string& topic) {
    targets_.ShowHelpTopic(Model.HelpWin, topic);
}

void TMainForm::ExecuteCommand(const std::string& command, const std::string& sound, int silent, int kind, int index) {
    if (IsBusy()) return;
    if (command == "exit") {
        // The window with the program's title gets the close request; after the standard window
        // changed the caption no such window is found, and the main window is closed directly.
        if (targets_.ClipPlayerExists()) targets_.ClipPause();
        // The window with the program's title gets the close request. After the standard window
        // changed the caption none is found; the main window then closes directly.
        TWindowEntry found;
        if (directory_ && directory_->FindWindowByTitle(Title, found)) directory_->Send(found, "close");
        else close();
        if (kind == 0) ExitButton = index;
        return;
    }
    if (!sound.empty() && sound != "no" && Settings.Wav && silent != 1) PlayClickSound(sound);

    const TRecognisedCommand r = RecogniseCommand(command, Model.ScreenCount(), ProgramFolder);
    const int number = r.number.value_or(-1);
    auto buttonCorner = [&](bool right) {
        QPoint at;
        if (CurrentScreen < int(Model.ScreenButtons.size()) && index >= 0 && index < int(Model.ScreenButtons[CurrentScreen].size())) {
            const RBtn& b = Model.ScreenButtons[CurrentScreen][index];
            at = mapToGlobal(QPoint(right ? b.Right : b.vx, b.Bottom));
        }
        return at;
    };
    switch (r.test) {
    case kTestScreenDocument:
        targets_.TreeSetPendingDocument(r.argument.value_or(""));
        SwitchScreen(number - 1, kind, index);
        break;
    case kTest2d:
        if (targets_.ClipPlayerExists()) targets_.ClipModeSwitch(false);
        break;
    case kTest3d:
        if (!targets_.ClipPlayerExists()) targets_.ClipCreate3d();
        targets_.ClipModeSwitch(true);
        break;
    case kTestRun:
        RunProgram(r.argument.value_or(""), r.params.value_or(""));
        break;
    case kTestAbout:
        if (Container.Contains("About.cfs")) targets_.ShowAbout();
        break;
    case kTestMinimize:
        showMinimized();
        if (kind == 0 && index >= 0 && index < int(ButtonPictures.size())) {
            ButtonPictures[index].hovered = ButtonPictures[index].pressed = false;
            ButtonPictures[index].effect->StopCrossFade();
        }
        break;
    case kTestTree1:
        targets_.TreeSwitch(true);
        break;
    case kTestTree2:
        targets_.TreeSwitch(false);
        break;
    case kTestOnTree:
        targets_.TreesShow(true);
        break;
    case kTestOffTree:
        targets_.TreesShow(false);
        break;
    case kTestHistoryBack:
        if (targets_.PopupOwnerExists() && kind == 0) {
            const QPoint at = buttonCorner(true);
            targets_.OpenPopup(-1, at.x(), at.y());
        }
        break;
    case kTestHistoryForward:
    case kTestShowFavorite:
    case kTestDeleteFromFavorite:
        if (targets_.PopupOwnerExists() && kind == 0) {
            const QPoint at = buttonCorner(false);
            const int type = r.test == kTestHistoryForward ? -2 : r.test == kTestShowFavorite ? -3 : -4;
            targets_.OpenPopup(type, at.x(), at.y());
        }
        break;
    case kTestAddToFavorite:
        targets_.AddToFavorites();
        break;
    case kTestTesaurus:
        targets_.Thesaurus({});
        break;
    case kTestContextMenu:
        if (targets_.PopupOwnerExists() && kind == 0) {
            const QPoint at = QCursor::pos();
            targets_.OpenPopup(number, at.x(), at.y());
        }
        break;
    case kTestBack:
        if (targets_.HtmlPanesExist()) targets_.HistoryBack();
        break;
    case kTestForward:
        if (targets_.HtmlPanesExist()) targets_.HistoryForward();
        break;
    case kTestHtml:
        if (targets_.HtmlPanesExist()) targets_.OpenInArea(number, r.argument.value_or(""));
        break;
    case kTestCopyHtml:
        if (targets_.HtmlPanesExist()) targets_.CopyHtml();
        break;
    case kTestPrintHtml:
        if (targets_.HtmlPanesExist()) targets_.PrintHtml();
        break;
    case kTestTopHtml:
        if (targets_.HtmlPanesExist()) targets_.TopHtml();
        break;
    case kTestNextChapter:
        if (targets_.HtmlPanesExist()) targets_.TreeNextChapter();
        break;
    case kTestPrevChapter:
        if (targets_.HtmlPanesExist()) targets_.TreePrevChapter();
        break;
    case kTestFindNext:
        if (ThesaurusWindow) targets_.FindNext(number);
        else targets_.ShowFindDialog();
        break;
    case kTestFindTxtAll:
        targets_.FindAcrossAll(true);
        break;
    case kTestFindTxtLimit:
        targets_.FindAcrossAll(false);
        break;
    case kTestCaseOn:
        MatchCase = true;
        break;
    case kTestCaseOff:
        MatchCase = false;
        break;
    case kTestBgSound:
        if (kind == 0) {
            Settings.BGSound = !Settings.BGSound;
            targets_.BackgroundMusic(Settings.BGSound);
            if (registry_.OpenKey(SettingsKey(Title), true)) {
                try {
                    registry_.WriteBool("BGSound", Settings.BGSound);
                } catch (const ERegistryError&) {
                }
                registry_.CloseKey();
            }
        }
        break;
    case kTestStandartWin:
        targets_.StandardWindow();
        break;
    case kTestOptions:
        targets_.ShowOptions();
        break;
    case kTestHelp:
        FormKeyDown(Qt::Key_F1, Qt::NoModifier);
        break;
    case kTestUnarc:
        if (targets_.ShowsArchivePage()) targets_.ExtractArchive();
        else targets_.ShowMessage("Выберите файл для распаковки.");
        break;
    case kTestPlay:
        targets_.PlayerPlay();
        break;
    case kTestStop:
        targets_.PlayerStop();
        break;
    case kTestPause:
        targets_.PlayerPause();
        break;
    case kTestStepForward:
        targets_.PlayerStepForward();
        break;
    case kTestStepBack:
        targets_.PlayerStepBack();
        break;
    case kTestClip:
        targets_.PlayerClip(r.argument.value_or(""), r.params.value_or(""));
        break;
    case kTestNextPic:
        targets_.NextPicture();
        break;
    case kTestPrevPic:
        targets_.PrevPicture();
        break;
    case kTestInstallFonts:
        targets_.InstallFonts();
        break;
    case kTestRunGame:
        targets_.RunGame(r.argument.value_or(""), r.params.value_or(""));
        break;
    case kTestDelGame:
        targets_.RemoveGame(r.argument.value_or(""));
        break;
    case kTestScreenNumber:
        if (targets_.DialogVisible()) targets_.CloseFindDialog();
        SwitchScreen(number - 1, kind, index);
        break;
    default:
        break;
    }
}

bool TMainForm::FormKeyDown(int key, Qt::KeyboardModifiers shift) {
    if (WindowFadeRunning()) return false;
    const Qt::KeyboardModifiers mods = shift & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (DocumentMode || SecondaryVariant) {
        if (key == Qt::Key_Escape) {
            if (OnTerminate) OnTerminate();
        } else {
            return false;
        }
    }
    if (key == Qt::Key_Escape) {
        if (targets_.DialogVisible()) targets_.CloseDialogKey();
        else targets_.ClosePopups();
        return false;
    }
    if (key == Qt::Key_F1) {
        if (CurrentScreen == 0) ShowHelp("Topic12");
        else if (CurrentScreen == 1) ShowHelp("Topic13");
        return false;
    }
    if (!targets_.HtmlPanesExist() || CurrentScreen != 1) return false;
    auto pressSwitches = [&](const char* word) {
        if (CurrentScreen >= int(Model.ScreenSwitches.size())) return;
        const auto switches = Model.ScreenSwitches[CurrentScreen];
        for (const RSwthOne& s : switches)
            if (SameText1251(s.goup, word) || SameText1251(s.godown, word))
                FormMouseDown(Qt::LeftButton, Qt::NoModifier, s.vx + 1, s.vy + 1);
    };
    if (mods == Qt::ShiftModifier) {
        switch (key) {
        case Qt::Key_T:
            targets_.Thesaurus({});
            return false;
        case Qt::Key_Z:
            pressSwitches("tree1");
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
    if (mods == (Qt::ShiftModifier | Qt::ControlModifier) && key == Qt::Key_Z) {
        pressSwitches("OffTree");
        return false;
    }
    if (mods == Qt::ControlModifier) {
        switch (key) {
        case Qt::Key_I:
            targets_.AddToFavorites();
            break;
        case Qt::Key_P:
            targets_.PrintHtmlDialog();
            break;
        case Qt::Key_F:
            targets_.ShowFindDialog();
            break;
        case Qt::Key_A:
            targets_.SelectAllHtml();
            break;
        default:
            break;
        }
    }
    return false;
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
    // Key preview: keys of the window's child controls reach the key table first.
    if (event->type() == QEvent::KeyRelease) lastKey_ = nullptr;
    // Top-level windows that appear, go or change their title are published for other copies.
    if (!publishPending_ && (event->type() == QEvent::Show || event->type() == QEvent::Hide ||
                             event->type() == QEvent::WindowTitleChange)) {
        auto* w = qobject_cast<QWidget*>(watched);
        if (w && w->isWindow()) {
            publishPending_ = true;
            QTimer::singleShot(0, this, [this] { PublishWindows(); });
        }
    }
    if (event->type() == QEvent::KeyPress) {
        auto* w = qobject_cast<QWidget*>(watched);
        // An ignored key travels up to the parents as the same event; the table sees it once.
        if (w && w->window() == this && event != lastKey_) {
            lastKey_ = event;
            auto* k = static_cast<QKeyEvent*>(event);
            if (FormKeyDown(k->key(), k->modifiers())) return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

bool TMainForm::event(QEvent* event) {
    switch (event->type()) {
    case QEvent::ToolTip: {
        // Carriers hold the hints; the window answers for them.
        auto* help = static_cast<QHelpEvent*>(event);
        const QPoint p = help->pos();
        QString hint;
        QRect area;
        auto look = [&](const TMyControl& c) {
            if (hint.isEmpty() && c.bounds.contains(p) && !c.hint.isEmpty()) {
                hint = c.hint;
                area = c.bounds;
            }
        };
        for (const auto& b : ButtonPictures) look(b.carrier);
        for (const auto& s : SwitchPictures) look(s.carrier);
        for (const auto& g : GroupPictures) look(g.carrier);
        if (hint.isEmpty()) QToolTip::hideText();
        else QToolTip::showText(help->globalPos(), hint, this, area);
        return true;
    }
    case QEvent::WindowActivate:
    case QEvent::WindowDeactivate:
        return true;
    default:
        return QWidget::event(event);
    }
}

}  // namespace vitrina
