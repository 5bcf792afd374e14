// The frame drawn by OpenGL: the previous frame faded by the motion-blur
// mode, the point buffer (in one pass, or in several for the multi-pass
// filter), once per picture.
#pragma once

// Draws the frame but the menu; returns whether the window kept the last
// frame (then the finished frame needs no copy into frameTexture).
bool drawGLFrame();
// After the menu, before the swap: keeps what the next frame needs.
void finishGLFrame(bool kept);
