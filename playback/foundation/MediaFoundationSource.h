#pragma once
#include <windows.h>
#include <mfidl.h>

struct MediaFoundationCalls;

// The media source of a file, path in the system's ANSI code page. The
// source resolver runs on Media Foundation's threads; the caller waits for
// it at most `milliseconds`, handling only sent messages meanwhile. Throws
// MediaFoundationException when the file cannot be read this way or the
// time runs out.
IMFMediaSource* openMediaSource(const MediaFoundationCalls& mf, const char* path, DWORD milliseconds);
