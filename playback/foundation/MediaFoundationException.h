#pragma once
#include "base/Exception.h"

// A file that Media Foundation cannot play, or Media Foundation itself
// missing: code holds the HRESULT. Whoever catches it may try the file
// through MCI instead.
class MediaFoundationException : public Exception {
public:
    MediaFoundationException(HRESULT result, BOOL autoDelete);
    // "not playable through Media Foundation (0x........)", for LocalFree.
    char* messageText() override;
};

[[noreturn]] void throwMediaFoundationError(HRESULT result);
// Throws a failed result as above; a successful one returns.
void throwIfFailed(HRESULT result);
