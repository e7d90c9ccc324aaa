#pragma once
#include <windows.h>
#include <mfidl.h>

#include "playback/foundation/ComPointer.h"

struct MediaFoundationCalls;

// The topology that plays one media source: its first video stream into the
// enhanced video renderer of a window, its first sound stream (unless left
// out) into the audio renderer; every other stream is deselected.
class MediaSessionTopology {
public:
    // What the topology plays.
    struct Layout {
        bool video;
        bool sound;
        SIZE picture;  // the picture's own size, square pixels; 0 by 0 without video
        // The renderers: whoever closes the session shuts them down, or
        // their devices and threads stay behind.
        ComPointer<IMFActivate> videoSink;
        ComPointer<IMFActivate> soundSink;
    };

    // Builds it, or throws MediaFoundationException.
    static IMFTopology* build(const MediaFoundationCalls& mf, IMFMediaSource* source,
                              IMFPresentationDescriptor* presentation, HWND videoWindow,
                              bool withSound, Layout& layout);

private:
    static void prepareVideo(IMFMediaTypeHandler* handler, Layout& layout);
    static void addBranch(const MediaFoundationCalls& mf, IMFTopology* topology, IMFMediaSource* source,
                          IMFPresentationDescriptor* presentation, IMFStreamDescriptor* stream,
                          IMFActivate* sink);
};
