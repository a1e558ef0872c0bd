#pragma once
// Start-up work done while the splash is on screen, so that the main window comes up at once
// when the splash gives way: the splash stands for seconds with nothing to do.
#include <functional>

class QWidget;

namespace obrel {

class QtMediaPlayer;

// Runs call once, a moment after window's first paint (so that the window is on screen
// first); never when the window goes before.
void afterFirstPaint(QWidget* window, std::function<void()> call);

// Loads what the first show of a video view would otherwise load then: the media backend
// (the Qt player) and the OpenGL driver the video is drawn with.
void warmUpMedia(QtMediaPlayer& player);

}  // namespace obrel
