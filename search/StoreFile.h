// The checksum store on disk: one file for the user, looked up and written anew by each search.
#pragma once
#include "search/ChecksumStore.h"
#include <string>

// The user's store file; empty where the user has no folder for program data.
std::string ChecksumStorePath();

// The serial number of the search root's volume; FALSE where its file system cannot be trusted to move
// a file's change time with every change of it, or to keep its ids (only NTFS and ReFS can): its files
// are read as if there were no store.
BOOL StoreVolumeOf(LPCSTR pszRoot, ULONGLONG& volumeSerial);

// Each pass over the store at a million files takes a tenth of a second or more: between runs after
// every megabyte read or written, so that the window keeps answering meanwhile.

// checksum_store::LookUp on the user's store, when it is whole.
void LookUpStore(ULONGLONG volumeSerial, const std::vector<SearchEntry>& entries, const std::vector<UINT>& byId,
                 const std::function<bool(UINT)>& wantsAudio, const std::function<void(UINT, const ContentKey&)>& found,
                 const std::function<void()>& between);

// checksum_store::Renew on the user's store: written beside its place and renamed there in one step, so
// that a crash, a full disk or two windows writing at once never leave half a store. A store that
// cannot be written stays as it was; the search goes on all the same.
void SaveStore(ULONGLONG volumeSerial, const std::vector<SearchEntry>& entries, const std::vector<UINT>& byId,
               const std::function<bool(UINT)>& readNow, const std::function<bool(UINT)>& isAudio,
               const std::function<void()>& between);
