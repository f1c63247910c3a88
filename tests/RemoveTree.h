// Removes a test's temporary folder with everything below it, long paths and any names included.
#pragma once
#include <windows.h>
#include <string>

namespace test_files
{
inline std::wstring Widen(const std::string& text)
{
    std::wstring wide(text.size(), L'\0');
    wide.resize(static_cast<size_t>(::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                                          &wide[0], static_cast<int>(wide.size()))));
    return wide;
}

// folder ends in a backslash and is a \\?\ path, so no depth is too deep to reach.
inline void RemoveContents(const std::wstring& folder)
{
    WIN32_FIND_DATAW entry;
    const HANDLE hFind = ::FindFirstFileW((folder + L"*").c_str(), &entry);
    if (hFind == INVALID_HANDLE_VALUE)
        return;
    do
    {
        const std::wstring name = entry.cFileName;
        if (name == L"." || name == L"..")
            continue;
        const std::wstring path = folder + name;
        const bool isFolder = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        const bool isLink = (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
        ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (isFolder && !isLink)
            RemoveContents(path + L"\\");
        if (isFolder)
            ::RemoveDirectoryW(path.c_str());
        else
            ::DeleteFileW(path.c_str());
    } while (::FindNextFileW(hFind, &entry));
    ::FindClose(hFind);
}
}  // namespace test_files

// Deletes the folder only when it lies below the given base folder (the temporary folder when none is
// given): a wrong path must never cost anything but the test. Links below it are removed, never followed.
inline void RemoveTempTree(const std::string& folder, std::string base = std::string())
{
    if (base.empty())
    {
        char temp[MAX_PATH];
        base.assign(temp, ::GetTempPathA(MAX_PATH, temp));
    }
    if (base.empty() || folder.size() <= base.size() ||
        ::CompareStringA(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, folder.c_str(), static_cast<int>(base.size()),
                         base.c_str(), static_cast<int>(base.size())) != CSTR_EQUAL)
        return;
    std::wstring wide = L"\\\\?\\" + test_files::Widen(folder);
    if (wide.back() != L'\\')
        wide += L'\\';
    test_files::RemoveContents(wide);
    ::RemoveDirectoryW(wide.c_str());
}
