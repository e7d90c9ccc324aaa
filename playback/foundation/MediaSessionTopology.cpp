#include "playback/foundation/MediaSessionTopology.h"

#include <mfapi.h>

#include <initializer_list>

#include "playback/foundation/ComPointer.h"
#include "playback/foundation/MediaFoundationCalls.h"
#include "playback/foundation/MediaFoundationException.h"

namespace {

// Two numbers packed in one attribute, the first in the upper half.
void unpack(UINT64 packed, UINT32& high, UINT32& low) {
    high = static_cast<UINT32>(packed >> 32);
    low = static_cast<UINT32>(packed);
}

}  // namespace

IMFTopology* MediaSessionTopology::build(const MediaFoundationCalls& mf, IMFMediaSource* source,
                                         IMFPresentationDescriptor* presentation, HWND videoWindow,
                                         bool withSound, Layout& layout) {
    layout.video = false;
    layout.sound = false;
    layout.picture.cx = 0;
    layout.picture.cy = 0;
    layout.videoSink.reset();
    layout.soundSink.reset();
    ComPointer<IMFTopology> topology;
    throwIfFailed(mf.createTopology(topology.receive()));
    DWORD count = 0;
    throwIfFailed(presentation->GetStreamDescriptorCount(&count));
    for (DWORD i = 0; i < count; ++i) {
        BOOL selected = FALSE;
        ComPointer<IMFStreamDescriptor> stream;
        ComPointer<IMFMediaTypeHandler> handler;
        GUID major = GUID_NULL;
        throwIfFailed(presentation->GetStreamDescriptorByIndex(i, &selected, stream.receive()));
        throwIfFailed(stream->GetMediaTypeHandler(handler.receive()));
        throwIfFailed(handler->GetMajorType(&major));
        const bool video = selected && major == MFMediaType_Video && !layout.video;
        const bool sound = selected && major == MFMediaType_Audio && withSound && !layout.sound;
        if (!video && !sound) {
            presentation->DeselectStream(i);
            continue;
        }
        ComPointer<IMFActivate>& sink = video ? layout.videoSink : layout.soundSink;
        if (video) {
            prepareVideo(handler.get(), layout);
            throwIfFailed(mf.createVideoRendererActivate(videoWindow, sink.receive()));
            layout.video = true;
        } else {
            throwIfFailed(mf.createAudioRendererActivate(sink.receive()));
            layout.sound = true;
        }
        addBranch(mf, topology.get(), source, presentation, stream.get(), sink.get());
    }
    return topology.detach();
}

// Wine's sources offer decoded pictures first in a format its renderer
// cannot take (I420): the stream is set to NV12, or YUY2, where it offers
// them. A source that offers only the compressed format (as Windows' own
// do) is left as it is; the session adds the decoder.
void MediaSessionTopology::prepareVideo(IMFMediaTypeHandler* handler, Layout& layout) {
    DWORD types = 0;
    handler->GetMediaTypeCount(&types);
    bool chosen = false;
    for (const GUID* wanted : {&MFVideoFormat_NV12, &MFVideoFormat_YUY2}) {
        for (DWORD i = 0; i < types && !chosen; ++i) {
            ComPointer<IMFMediaType> type;
            GUID format = GUID_NULL;
            if (FAILED(handler->GetMediaTypeByIndex(i, type.receive())) ||
                FAILED(type->GetGUID(MF_MT_SUBTYPE, &format)) || format != *wanted) {
                continue;
            }
            chosen = SUCCEEDED(handler->SetCurrentMediaType(type.get()));
        }
    }
    ComPointer<IMFMediaType> current;
    UINT64 size = 0;
    if (FAILED(handler->GetCurrentMediaType(current.receive())) ||
        FAILED(current->GetUINT64(MF_MT_FRAME_SIZE, &size))) {
        return;
    }
    UINT32 width, height, numerator, denominator;
    unpack(size, width, height);
    UINT64 aspect = 0;
    if (FAILED(current->GetUINT64(MF_MT_PIXEL_ASPECT_RATIO, &aspect))) aspect = (UINT64(1) << 32) | 1;
    unpack(aspect, numerator, denominator);
    if (numerator == 0 || denominator == 0) numerator = denominator = 1;
    layout.picture.cx = static_cast<LONG>(UINT64(width) * numerator / denominator);
    layout.picture.cy = static_cast<LONG>(height);
}

void MediaSessionTopology::addBranch(const MediaFoundationCalls& mf, IMFTopology* topology,
                                     IMFMediaSource* source, IMFPresentationDescriptor* presentation,
                                     IMFStreamDescriptor* stream, IMFActivate* sink) {
    ComPointer<IMFTopologyNode> from;
    throwIfFailed(mf.createTopologyNode(MF_TOPOLOGY_SOURCESTREAM_NODE, from.receive()));
    throwIfFailed(from->SetUnknown(MF_TOPONODE_SOURCE, source));
    throwIfFailed(from->SetUnknown(MF_TOPONODE_PRESENTATION_DESCRIPTOR, presentation));
    throwIfFailed(from->SetUnknown(MF_TOPONODE_STREAM_DESCRIPTOR, stream));
    throwIfFailed(topology->AddNode(from.get()));

    ComPointer<IMFTopologyNode> to;
    throwIfFailed(mf.createTopologyNode(MF_TOPOLOGY_OUTPUT_NODE, to.receive()));
    throwIfFailed(to->SetObject(sink));
    throwIfFailed(to->SetUINT32(MF_TOPONODE_STREAMID, 0));
    throwIfFailed(to->SetUINT32(MF_TOPONODE_NOSHUTDOWN_ON_REMOVE, FALSE));
    throwIfFailed(topology->AddNode(to.get()));
    throwIfFailed(from->ConnectOutput(0, to.get(), 0));
}
