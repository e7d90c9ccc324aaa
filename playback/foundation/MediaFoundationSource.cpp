#include "playback/foundation/MediaFoundationSource.h"

#include <new>

#include "base/Exception.h"
#include "base/WidePath.h"
#include "playback/foundation/ComPointer.h"
#include "playback/foundation/MediaFoundationCalls.h"
#include "playback/foundation/MediaFoundationCompletion.h"
#include "playback/foundation/MediaFoundationException.h"

namespace {

// The resolver's completion. One that comes after the open gave up still
// makes a source, which is shut down here, since nobody else has it.
class SourceCompletion final : public MediaFoundationCompletion {
public:
    static SourceCompletion* make(IMFSourceResolver* resolver) {
        HANDLE done = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        if (!done) return nullptr;
        SourceCompletion* completion = new (std::nothrow) SourceCompletion(done, resolver);
        if (!completion) CloseHandle(done);
        return completion;
    }

private:
    SourceCompletion(HANDLE done, IMFSourceResolver* resolver) : MediaFoundationCompletion(done), resolver(resolver) {
        resolver->AddRef();
    }
    ~SourceCompletion() override { resolver->Release(); }

    void lateResult(IMFAsyncResult* result) override {
        MF_OBJECT_TYPE type = MF_OBJECT_INVALID;
        ComPointer<IUnknown> object;
        ComPointer<IMFMediaSource> source;
        if (SUCCEEDED(resolver->EndCreateObjectFromURL(result, &type, object.receive())) &&
            SUCCEEDED(object->QueryInterface(__uuidof(IMFMediaSource), source.receiveVoid()))) {
            source->Shutdown();
        }
    }

    IMFSourceResolver* resolver;
};

}  // namespace

IMFMediaSource* openMediaSource(const MediaFoundationCalls& mf, const char* path, DWORD milliseconds) {
    WidePath wide(path);
    if (!wide.valid()) throwWin32Error(ERROR_INVALID_PARAMETER);
    ComPointer<IMFSourceResolver> resolver;
    throwIfFailed(mf.createSourceResolver(resolver.receive()));
    ComPointer<SourceCompletion> completion(SourceCompletion::make(resolver.get()));
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
