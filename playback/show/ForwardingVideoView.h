#pragma once
#include "playback/show/VideoView.h"

// The view of a show: once subclassed, it posts the user's input and the end
// of each video to its parent window instead of handling them.
class ForwardingVideoView : public VideoView {
public:
    LRESULT windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;
};
