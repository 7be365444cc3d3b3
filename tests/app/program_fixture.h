#pragma once
// One copy of the program on a small test disc: every window test starts its program here.
#include <QApplication>
#include <QTest>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/program.h"
#include "app/program_parts.h"
#include "app/test_disc.h"
#include "html/frame_viewer.h"
#include "panes/html_module.h"
#include "platform/click_sound.h"
#include "platform/shell_desktop.h"
#include "screen/skin_window.h"
#include "support/widget_pixels.h"

namespace vitrina::test {

// The host's desktop, except that programs and help topics are written down instead of started.
// The current viewer of the program's HTML pane; null before the pane is made.
inline TFrameViewer* ActiveFrameViewer(const TWindowParts& parts) {
    return parts.Html() ? dynamic_cast<TFrameViewer*>(parts.Html()->ActiveViewer()) : nullptr;
}

class TRecordingDesktop : public TShellDesktop {
public:
    TRecordingDesktop(const TDriveMap& drives, TClickSound& sounds) : TShellDesktop(HostPathsOf(drives), sounds) {}
    void ShellExecute(const std::string& target, const std::string& params) override {
        calls.push_back("shell " + target + (params.empty() ? "" : " " + params));
    }
    void WinExec(const std::string& program, const std::string&) override { calls.push_back("exec " + program); }
    void ShowHelpTopic(const std::string&, const std::string& topic) override { calls.push_back("help " + topic); }
    void PlayClickSoundToEnd(const std::string& file) override {
        if (beforeSoundToEnd) beforeSoundToEnd();
        TShellDesktop::PlayClickSoundToEnd(file);
    }
    std::vector<std::string> calls;
    std::function<void()> beforeSoundToEnd;
};

struct TTestProgram {
    TTestDisc disc;
    TDriveMap drives;
    TClickSound sounds;
    TRecordingDesktop desktop{drives, sounds};
    TStartOptions options;
    std::unique_ptr<TProgram> program;

    // The disc of the description (UTF-8 here) and pictures; started unless start is false.
    explicit TTestProgram(const std::string& structText, std::vector<TContainerEntry> pictures = {}, bool start = true)
        : disc(structText, std::move(pictures)), drives(disc.disc, disc.Folders().data) {
        options.animations = false;
        if (start) Start();
    }
    // Makes the program (shown in the normal mode); Prepare runs on the dispatcher's services first.
    void Start(const std::function<void(TCommandServices&)>& prepare = {}) {
        program = std::make_unique<TProgram>(drives, disc.Folders(), desktop, options);
        if (prepare) prepare(program->Dispatcher().Services());
        program->Start();
        if (program->Creation() == TProgram::TCreation::Normal) {
            Window().ShowMainWindow();
            QTest::qWaitForWindowExposed(&Window());
        }
    }
    void Restart() {
        program.reset();
        Start();
    }
    TProgram::TCreation Creation() const { return program->Creation(); }
    TSkinWindow& Window() const { return program->Window(); }
    TDiscSession& Session() const { return program->Session(); }
    TProgramParts& Parts() const { return program->Parts(); }
    void Execute(const std::string& command, const std::string& sound = "", int kind = 0, int index = 0) {
        program->Dispatcher().ExecuteCommand(command, sound, 1, kind, index);
    }
    QColor Pixel(int x, int y) const { return PixelAt(Window(), QPoint(x, y)); }

};

}  // namespace vitrina::test
