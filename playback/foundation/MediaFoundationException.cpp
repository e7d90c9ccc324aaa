#include "playback/foundation/MediaFoundationException.h"

#include <new>

MediaFoundationException::MediaFoundationException(HRESULT result, BOOL autoDelete)
    : Exception(static_cast<DWORD>(result), autoDelete) {}

char* MediaFoundationException::messageText() {
    char* text = static_cast<char*>(LocalAlloc(LMEM_ZEROINIT, 64));
    if (text) wsprintfA(text, "not playable through Media Foundation (0x%08lX)", static_cast<unsigned long>(code));
    return text;
}

void throwMediaFoundationError(HRESULT result) {
    Exception* e = new (std::nothrow) MediaFoundationException(result, TRUE);
    if (!e) throwOutOfMemory();
    throw e;
}

void throwIfFailed(HRESULT result) {
    if (FAILED(result)) throwMediaFoundationError(result);
}
