// Where the audio of an MP3 file lies: after an ID3v2 tag at the start, before an ID3v1 tag at the end.
#pragma once
#include <windows.h>

struct Mp3AudioSpan
{
    ULONGLONG offset;
    ULONGLONG length;  // 0: no audio, or the tags do not fit in the file
};

const DWORD kId3v2HeaderSize = 10;  // "ID3", version, flags, four size bytes
const DWORD kId3v1TagSize = 128;
const DWORD kTagMarkerSize = 3;

// head: the first min(10, fileLength) bytes of the file.
// tailTag: the 3 bytes at fileLength - 128, or NULL when the file is shorter than 128 bytes.
Mp3AudioSpan LocateMp3Audio(ULONGLONG fileLength, const BYTE* head, const BYTE* tailTag);
