#include "playback/MediaFoundationSource.h"

#include <cstdio>
#include <vector>

#include "base/Exception.h"
#include "playback/ComPointer.h"
#include "playback/MediaFoundationCalls.h"
#include "playback/MediaFoundationCompletion.h"
#include "playback/MediaFoundationException.h"

namespace {

std::vector<wchar_t> widened(const char* path) {
    const int length = MultiByteToWideChar(CP_ACP, 0, path, -1, nullptr, 0);
    if (length <= 0) throwWin32Error(ERROR_INVALID_PARAMETER);
    std::vector<wchar_t> wide(length);
    MultiByteToWideChar(CP_ACP, 0, path, -1, wide.data(), length);
    return wide;
}

}  // namespace

IMFMediaSource* openMediaSource(const MediaFoundationCalls& mf, const char* path, DWORD milliseconds) {
    const std::vector<wchar_t> wide = widened(path);
    ComPointer<IMFSourceResolver> resolver;
    throwIfFailed(mf.createSourceResolver(resolver.receive()));
    ComPointer<MediaFoundationCompletion> completion(MediaFoundationCompletion::make());
    if (!completion) throwOutOfMemory();
    ComPointer<IUnknown> cancel;
    throwIfFailed(resolver->BeginCreateObjectFromURL(wide.data(), MF_RESOLUTION_MEDIASOURCE | MF_RESOLUTION_READ,
                                                     nullptr, cancel.receive(), completion.get(), nullptr));
    ComPointer<IMFAsyncResult> result(completion->wait(milliseconds));
    if (!result) {
        fprintf(stderr, "DBG resolver timeout\n");
        resolver->CancelObjectCreation(cancel.get());
        throwMediaFoundationError(HRESULT_FROM_WIN32(ERROR_TIMEOUT));
    }
    MF_OBJECT_TYPE type = MF_OBJECT_INVALID;
    ComPointer<IUnknown> object;
    throwIfFailed(resolver->EndCreateObjectFromURL(result.get(), &type, object.receive()));
    ComPointer<IMFMediaSource> source;
    throwIfFailed(object->QueryInterface(__uuidof(IMFMediaSource), source.receiveVoid()));
    return source.detach();
}
