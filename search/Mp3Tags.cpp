// MP3 tag arithmetic on bytes already read, kept apart from file access so it can be checked on arrays.
#include "search/Mp3Tags.h"
#include <cstring>

namespace
{

const char kId3v2Marker[] = "ID3";
const char kId3v1Marker[] = "TAG";
const int kSizeBytesOffset = 6;

}  // namespace

Mp3AudioSpan LocateMp3Audio(ULONGLONG fileLength, const BYTE* head, const BYTE* tailTag)
{
    const Mp3AudioSpan none = {0, 0};
    ULONGLONG start = 0;
    if (fileLength >= kTagMarkerSize && std::memcmp(head, kId3v2Marker, kTagMarkerSize) == 0)
    {
        if (fileLength < kId3v2HeaderSize)
            return none;
        // The size bytes are combined whole: their top bits are deliberately not masked off.
        const BYTE* size = head + kSizeBytesOffset;
        start = (static_cast<ULONGLONG>(size[0]) << 21 | static_cast<ULONGLONG>(size[1]) << 14 |
                 static_cast<ULONGLONG>(size[2]) << 7 | size[3]) +
                kId3v2HeaderSize;
    }
    ULONGLONG end = fileLength;
    if (tailTag != NULL && fileLength >= kId3v1TagSize && std::memcmp(tailTag, kId3v1Marker, kTagMarkerSize) == 0)
        end -= kId3v1TagSize;
    if (start > end)
        return none;
    const Mp3AudioSpan span = {start, end - start};
    return span;
}
