#pragma once
// A video frame as an image, converted on the processor. Qt's own conversion takes a GL context
// where the platform offers one, and on some X servers (Xvfb among them) that stops the playing
// pipeline after its first frame.
#include <QImage>

class QVideoFrame;

namespace vitrina {

QImage FrameImage(const QVideoFrame& frame);

}  // namespace vitrina
