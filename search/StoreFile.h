// The checksum store on disk: one file for the user, read at a search's start and written whole.
#pragma once
#include "search/ChecksumStore.h"
#include <memory>

// The store for the volume of the search root, as far as the store file holds it; null where the
// volume's file system cannot be trusted to change a file's change time with every change of it, or to
// keep its ids (only NTFS and ReFS can): its files are read as if there were no store.
std::unique_ptr<CChecksumStore> OpenChecksumStore(LPCSTR pszRoot);

// Writes the store beside its place and renames it there in one step, so that a crash, a full disk or
// two windows writing at once never leave half a store. A store that cannot be written stays as it was;
// the search goes on all the same.
void SaveChecksumStore(CChecksumStore& store, const std::vector<SearchEntry>& entries, const std::vector<UINT>& read,
                       BOOL bMp3);
