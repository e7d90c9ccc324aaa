#include "playback/foundation/MediaFoundationSource.h"

#include "base/Exception.h"
#include "base/WidePath.h"
#include "playback/foundation/ComPointer.h"
#include "playback/foundation/MediaFoundationCalls.h"
#include "playback/foundation/MediaFoundationCompletion.h"
#include "playback/foundation/MediaFoundationException.h"

IMFMediaSource* openMediaSource(const MediaFoundationCalls& mf, const char* path, DWORD milliseconds) {
    WidePath wide(path);
    if (!wide.valid()) throwWin32Error(ERROR_INVALID_PARAMETER);
    ComPointer<IMFSourceResolver> resolver;
    throwIfFailed(mf.createSourceResolver(resolver.receive()));
    ComPointer<MediaFoundationCompletion> completion(MediaFoundationCompletion::make());
    if (!completion) throwOutOfMemory();
    ComPointer<IUnknown> cancel;
    throwIfFailed(resolver->BeginCreateObjectFromURL(wide.c_str(), MF_RESOLUTION_MEDIASOURCE | MF_RESOLUTION_READ,
                                                     nullptr, cancel.receive(), completion.get(), nullptr));
    ComPointer<IMFAsyncResult> result(completion->wait(milliseconds));
    if (!result) {
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
