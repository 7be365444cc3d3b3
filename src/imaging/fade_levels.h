#pragma once
// The level arithmetic of the transition effects, apart from images and timers.
namespace vitrina {

// A button cross-fade: level = tick * FadeStep + start level; a redirect while running starts
// the new fade where the old one had come to, seen from the other side.
struct TCrossFadeLevels {
    int FadeStep = 1;
    int StartLevel = 0;
    bool Running = false;

    // CrossFade called at tick count n of the running fade (ignored when idle).
    void Start(int n) {
        if (Running) StartLevel = 255 - n * FadeStep - StartLevel;
        Running = true;
    }
    int LevelAt(int n) const { return n * FadeStep + StartLevel; }
    // True when the tick draws a frame at LevelAt(n); false when it ends the fade.
    bool Step(int n) {
        if (LevelAt(n) < 256) return true;
        StartLevel = 0;
        Running = false;
        return false;
    }
    void Stop() {
        Running = false;
        StartLevel = 0;
    }
};

// The window fade-in: levels 5, 10, ..., 255, then a closing frame at 255 unless tick 51
// already showed it.
struct TWindowFadeLevels {
    static bool Draws(int n) { return 5 * n <= 255; }
    static int LevelAt(int n) { return 5 * n; }
    static bool ClosingFrame(int n) { return n != 51; }
};

}  // namespace vitrina
